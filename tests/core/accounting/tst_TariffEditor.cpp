#include "accounting/TariffEditor.h"

#include <QTest>

#include <optional>

#include "settings/SettingsLayout.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompter.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Picker = TariffEditor::Picker;
using Cost = TariffEditor::Cost;

namespace {

const QStringList kFields{"FirstStart", "FirstEnd",  "SecondStart", "SecondEnd", "ThirdStart",
                          "ThirdEnds",  "FirstCost", "SecondCost",  "ThirdCost"};
const char *const kIcons[] = {"", "i", "?", "!", "X"};
const QString kTyped = "time ThirdStart 22:00; time FirstStart 08:00; time FirstEnd 18:00; cost 0 0.05; cost 1 0.02; "
                       "cost 2 0,01; ";
const QString kSaved = "SavedOn=5/3/2024 12:00:00, Name=Night, ";
const QString kName = "!You Must Enter Tariff's Name! | save- | Day";
const QString kCost = "!The cost per minute must be a number of 0 or more! | save- | Day";
const QString kNoTariffs = "XYou don't have any available Tariffs!";

// An editor on a store of its own (with "Day": 08:00-20:00 at 0.12, else 0.05), filled.
struct Rig
{
    Rig(bool &warned, bool withDay)
        : editor({store.store, prompter, clock, [this] { return connected; }, warned}, {}, QLocale("de_DE"))
    {
        prompter.allowMessages();
        if (withDay)
            StoreFixtures::writeTariff(store.store, "Day", {});
        editor.fill();
    }
    TempStore store;
    FakeClock clock;
    ScriptedPrompter prompter;
    bool connected = false;
    TariffEditor editor;
};

} // namespace

class TestTariffEditor : public QObject
{
    Q_OBJECT

    TempHome m_files;

private slots:
    // A script of user steps ("; " between them); what the steps show and the prompts they
    // raise, in order. Prompts: "!" exclamation, "X" critical (up to its ": "), "?" question;
    // a file dialog as its title and filter.
    // clang-format off
    void scenario_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::newRow("keys, one") << "new Night; " + kTyped + "code 2; save; stored Night; names" << "save+ | Option=2, " + kSaved + "FirstStart=00:00:00, FirstEnd=00:00:00, FirstCost=0.05, SecondCost=0.02 | Day, Night";
        QTest::newRow("keys, two") << "new Night; " + kTyped + "code 0; save; stored Night" << "save+ | Option=0, " + kSaved + "FirstStart=08:00:00, FirstEnd=18:00:00, FirstCost=0.05, SecondCost=0.02";
        QTest::newRow("keys, three") << "new Night; " + kTyped + "code 1; save; stored Night" << "save+ | Option=1, " + kSaved + "FirstStart=08:00:00, FirstEnd=18:00:00, FirstCost=0.05, SecondCost=0.02, ThirdStart=22:00:00, ThirdCost=0,01";
        QTest::newRow("keys kept") << "write Night 1; fill; select 1; " + kTyped + "code 0; save; stored Night" << "save+ | Option=0, FirstStart=08:00:00, FirstEnd=18:00:00, FirstCost=0.05, SecondCost=0.02, ThirdStart=22:00, ThirdCost=0.02, Name=Night, SavedOn=5/3/2024 12:00:00";
        QTest::newRow("link first end") << "code 2; time FirstEnd 10:00; times" << "00:00 10:00 10:00 00:00 00:00 00:00";
        QTest::newRow("link second start") << "time SecondStart 10:00; times" << "00:00 10:00 10:00 00:00 00:00 00:00";
        QTest::newRow("link third start, two") << "time ThirdStart 10:00; times" << "10:00 00:00 00:00 10:00 10:00 00:00";
        QTest::newRow("link third start, three") << "code 1; time ThirdStart 10:00; times" << "00:00 00:00 00:00 10:00 10:00 00:00";
        QTest::newRow("link second end, one") << "code 2; time SecondEnd 10:00; times" << "00:00 00:00 00:00 10:00 00:00 00:00";
        QTest::newRow("link second end, two") << "time SecondEnd 10:00; times" << "10:00 00:00 00:00 10:00 00:00 00:00";
        QTest::newRow("link second end, three") << "code 1; time SecondEnd 10:00; times" << "00:00 00:00 00:00 10:00 10:00 00:00";
        QTest::newRow("link first start, one") << "code 2; time FirstStart 10:00; times" << "10:00 00:00 00:00 00:00 00:00 00:00";
        QTest::newRow("link first start, two") << "time FirstStart 10:00; times" << "10:00 00:00 00:00 10:00 00:00 00:00";
        QTest::newRow("link first start, three") << "code 1; time FirstStart 10:00; times" << "10:00 00:00 00:00 00:00 00:00 10:00";
        QTest::newRow("link third ends, two") << "time ThirdEnds 10:00; times" << "00:00 00:00 00:00 00:00 00:00 10:00";
        QTest::newRow("link third ends, three") << "code 1; time ThirdEnds 10:00; times" << "10:00 00:00 00:00 00:00 00:00 10:00";
        QTest::newRow("mode one") << "code 1; time FirstEnd 10:00; code 2; enabled; times" << "FirstCost | 00:00 00:00 00:00 00:00 00:00 00:00";
        QTest::newRow("mode two") << "code 1; time FirstEnd 10:00; code 0; enabled; times" << "FirstStart FirstEnd SecondStart SecondEnd FirstCost SecondCost | 00:00 10:00 10:00 00:00 00:00 00:00";
        QTest::newRow("mode three, then none") << "code 1; code 3; enabled" << "FirstStart FirstEnd SecondStart SecondEnd ThirdStart ThirdEnds FirstCost SecondCost ThirdCost";
        QTest::newRow("format") << "cost 1 0.05; format 1; costs" << "0.0000 0,0500 0.0000";
        QTest::newRow("format no number") << "cost 1 5 ct; format 1; costs" << "0.0000 5 ct 0.0000";
        QTest::newRow("no name") << "new; save; names" << kName;
        QTest::newRow("blank name") << "new  \t; save; names" << kName;
        QTest::newRow("name [New Tariff]") << "new [New Tariff]; save; names" << kName;
        QTest::newRow("name [Empty]") << "new [Empty]; save; names" << kName;
        QTest::newRow("name Select Tariff") << "new Select Tariff; save; names" << kName;
        QTest::newRow("name with \\") << "new Day\\Night; save; names" << kName;
        QTest::newRow("name with /") << "new Day/Night; save; names" << kName;
        QTest::newRow("name with line break") << "new Day\nNight; save; names" << kName;
        QTest::newRow("name taken") << "new Day; cost 0 1; save; stored Day" << "!Tariff with this name already exists! | save- | Option=0, FirstStart=08:00, FirstEnd=20:00, FirstCost=0.12, SecondCost=0.05, Name=Day";
        QTest::newRow("name taken, other case") << "new DAY; save; names" << "!Tariff with this name already exists! | save- | Day";
        QTest::newRow("negative cost") << "new Night; code 2; cost 0 -0.01; save; names" << kCost;
        QTest::newRow("second cost no number") << "new Night; cost 1 1 ct; save; names" << kCost;
        QTest::newRow("third cost empty") << "new Night; code 1; cost 2 ; save; names" << kCost;
        QTest::newRow("unused costs") << "new  Night; code 2; cost 1 x; cost 2 -1; save; state" << "save+ | 1 ' Night' Day, Night,[New Tariff] DE";
        QTest::newRow("reconnect") << "connect; select 0; save" << "You have to restart you connection | save+";
        QTest::newRow("store held, save") << "new Night; lock; save; state" << "XThe tariff \"Night\" could not be saved | save- | 1 '' Day,[New Tariff] EN";
        QTest::newRow("store held, remove") << "select 0; lock; remove yes; state" << "?Are you sure to delete Day tariff? | XThe tariff \"Day\" could not be deleted | remove- | 0 'Day' Day,[New Tariff] DE";
        QTest::newRow("own name kept") << "select 0; new Typed; state; select 0; state; cost 0 0.30; save; names; costs" << "1 'Day' Day,[New Tariff] EN | 0 'Day' Day,[New Tariff] DE | save+ | Day | 0.30 0.05 0.0000";
        QTest::newRow("remove") << "write Night 0; fill; select 0; remove yes; state; names; times; costs; remove" << "?Are you sure to delete Day tariff? | remove+ | -1 '' Night,[New Tariff]  | Night | 00:00 00:00 00:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000 | remove-";
        QTest::newRow("remove, no") << "select 0; remove no; state; names" << "?Are you sure to delete Day tariff? | remove- | 0 'Day' Day,[New Tariff] DE | Day";
        QTest::newRow("nothing chosen") << "select 2; select -1; state; save; remove; export; import" << "-1 '' Day,[New Tariff]  | save- | remove- | export- | import-";
        QTest::newRow("load bad start") << "write T 0 8am; fill; select 1; times" << "00:00 20:00 20:00 00:00 00:00 00:00";
        QTest::newRow("load no option") << "write T -; fill; select 1; times" << "08:00 20:00 20:00 08:00 00:00 00:00";
        QTest::newRow("load unknown code") << "write T 7; fill; select 1; times; costs" << "00:00 00:00 00:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000";
        QTest::newRow("carry two") << "write T 0; fill; select 1; times; export t.tff; fresh; new; import t.tff; times; costs" << "08:00 20:00 20:00 08:00 00:00 00:00 | Export to a File: Tariff Files (*.tff) | export+ | " + kNoTariffs + " | Import from a File: Tariff Files (*.tff) | import+ | 08:00 20:00 20:00 08:00 00:00 00:00 | 0.12 0.05 0.0000";
        QTest::newRow("carry three") << "write T 1; fill; select 1; times; export t.tff; fresh; new; import t.tff; times; costs" << "08:00 20:00 20:00 22:00 22:00 08:00 | Export to a File: Tariff Files (*.tff) | export+ | " + kNoTariffs + " | Import from a File: Tariff Files (*.tff) | import+ | 08:00 20:00 20:00 22:00 22:00 08:00 | 0.12 0.05 0.02";
        QTest::newRow("carry one") << "write T 2; fill; code 1; time FirstEnd 10:00; select 1; times; export t.tff; fresh; new; code 1; time FirstEnd 10:00; import t.tff; times; costs" << "00:00 00:00 00:00 00:00 00:00 00:00 | Export to a File: Tariff Files (*.tff) | export+ | " + kNoTariffs + " | Import from a File: Tariff Files (*.tff) | import+ | 00:00 00:00 00:00 00:00 00:00 00:00 | 0.12 0.0000 0.0000";
        QTest::newRow("import bad file") << "select 0; import bad.tff; times" << "Import from a File: Tariff Files (*.tff) | !bad.tff is not a tariff file. | import- | 08:00 20:00 20:00 08:00 00:00 00:00";
        QTest::newRow("import cancelled") << "select 0; import -; times" << "Import from a File: Tariff Files (*.tff) | import- | 08:00 20:00 20:00 08:00 00:00 00:00";
        QTest::newRow("export cancelled") << "select 0; export -" << "Export to a File: Tariff Files (*.tff) | export-";
        QTest::newRow("export into a file") << "select 0; export bad.tff/t.tff" << "Export to a File: Tariff Files (*.tff) | XThe tariff could not be exported to ~/bad.tff/t.tff | export-";
        QTest::newRow("export without name") << "new; export" << "!You Must Enter Tariff's Name! | export-";
        QTest::newRow("no tariffs: told once") << "fresh; fresh; state" << kNoTariffs + " | -1 '' [New Tariff] ";
    }
    // clang-format on
    void scenario()
    {
        QFETCH(QString, script);
        m_files.writeFile("bad.tff", "\"Day\",0,\"08:00\"\r\n");
        bool warned = false;
        std::optional<Rig> rig(std::in_place, warned, true);
        std::optional<StoreFixtures::WriteLock> lock;
        QStringList out;
        qsizetype told = 0;
        auto flush = [&] {
            for (; told < rig->prompter.shown().size(); ++told) {
                const Prompt &p = rig->prompter.shown().at(told);
                const QString text = QString(p.text).replace(m_files.path(), "~").section(": ", 0, 0);
                out << (p.title == ProgramName() ? "" : p.title + ": ") + kIcons[int(p.icon)] + text;
            }
        };
        for (const QString &step : script.split("; ")) {
            const QString command = step.section(' ', 0, 0), arg = step.section(' ', 1);
            const QStringList args = arg.split(' ');
            TariffEditor &editor = rig->editor;
            QStringList shown;
            std::optional<bool> done;
            if (command == "fresh") {
                flush();
                rig.emplace(warned, false);
                told = 0;
            } else if (command == "write") {
                StoreFixtures::writeTariff(
                    rig->store.store, args[0],
                    {args[1] == "-" ? "" : args[1], args.value(2, "8:00"), "20:00", "0.12", "0.05", "22:00", "0.02"});
            } else if (command == "fill") {
                editor.fill();
            } else if (command == "new") {
                editor.select(int(editor.entries().size()) - 1);
                editor.setNewName(arg);
            } else if (command == "select") {
                editor.select(arg.toInt());
            } else if (command == "code") {
                editor.setCode(arg.toInt());
            } else if (command == "time") {
                editor.setTime(Picker(kFields.indexOf(args[0])), QTime::fromString(args[1], "HH:mm"));
            } else if (command == "cost") {
                editor.setCost(Cost(args[0].toInt()), args.mid(1).join(' '));
            } else if (command == "format") {
                editor.formatCost(Cost(arg.toInt()));
            } else if (command == "connect") {
                rig->connected = true;
            } else if (command == "lock") {
                lock.emplace(rig->store.home.locations().settingsDatabase());
            } else if (command == "save") {
                done = editor.save();
            } else if (command == "remove") {
                if (!arg.isEmpty())
                    rig->prompter.expect("Are you sure to delete Day tariff?",
                                         arg == "yes" ? Prompt::Answer::Yes : Prompt::Answer::No);
                done = editor.remove();
            } else if (command == "export" || command == "import") {
                if (!arg.isEmpty())
                    rig->prompter.expectFile(command == "export" ? "Export to a File" : "Import from a File",
                                             arg == "-" ? QString() : m_files.path() + '/' + arg);
                done = command == "export" ? editor.exportFile() : editor.importFile();
            } else if (command == "times") {
                for (int i = 0; i < 6; ++i)
                    shown << editor.time(Picker(i)).toString("HH:mm");
            } else if (command == "costs") {
                shown << editor.cost(Cost::First) << editor.cost(Cost::Second) << editor.cost(Cost::Third);
            } else if (command == "enabled") {
                for (int i = 0; i < kFields.size(); ++i) {
                    if (i < 6 ? editor.isEnabled(Picker(i)) : editor.isEnabled(Cost(i - 6)))
                        shown << kFields[i];
                }
            } else if (command == "state") {
                shown << QString::number(editor.selectedIndex()) << "'" + editor.currentName() + "'"
                      << editor.entries().join(',')
                      << QString(editor.canDelete() ? "D" : "") +
                             (editor.canExport() && editor.canImport() ? "E" : "") +
                             (editor.isNameBoxShown() ? "N" : "");
            } else if (command == "stored" || command == "names") {
                const QString section =
                    command == "names" ? SettingsLayout::TariffNames() : SettingsLayout::Tariff(arg);
                QStringList pairs;
                for (const auto &[key, value] : rig->store.store.GetAllSettings(section))
                    pairs << (command == "names" ? key : key + '=' + value);
                shown << pairs.join(", ");
            } else {
                QFAIL(qPrintable("no such step: " + step));
            }
            flush();
            if (done)
                out << command + (*done ? "+" : "-");
            else if (!shown.isEmpty())
                out << shown.join(' ');
        }
        QTEST(out.join(" | "), "shown");
    }
};

QTEST_GUILESS_MAIN(TestTariffEditor)
#include "tst_TariffEditor.moc"
