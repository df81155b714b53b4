#include "accounting/TariffEditor.h"

#include <QSignalSpy>
#include <QTest>

#include "settings/SettingsLayout.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompter.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Picker = TariffEditor::Picker;
using Cost = TariffEditor::Cost;

namespace {

const QString kName = "You Must Enter Tariff's Name!";
const QString kExists = "Tariff with this name already exists!";
const QString kBadCost = "The cost per minute must be a number of 0 or more!";
const char *const kPickers[] = {"FirstStart", "FirstEnd", "SecondStart", "SecondEnd", "ThirdStart", "ThirdEnds"};
const char *const kCosts[] = {"FirstCost", "SecondCost", "ThirdCost"};
const QString kFilter = "Tariff Files (*.tff)";

// An editor on its own store, filled; "Day" (08:00-20:00, 0.12/0.05) is stored unless told.
struct Rig
{
    explicit Rig(bool withDay = true, bool *warned = nullptr, QLocale locale = QLocale::c())
        : editor({store.store, prompter, clock, [this] { return connected; }, warned ? *warned : warnedHere}, {},
                 locale)
    {
        prompter.allowMessages(warned != nullptr);
        if (withDay)
            StoreFixtures::writeTariff(store.store, "Day", {});
        editor.fill();
    }
    // The six times as "HH:mm", the three costs after them.
    QString values() const
    {
        QStringList shown;
        for (int i = 0; i < int(Picker::Count_); ++i)
            shown << editor.time(Picker(i)).toString("HH:mm");
        return shown.join(' ') + " | " + editor.record().firstCost + ' ' + editor.record().secondCost + ' ' +
               editor.record().thirdCost;
    }
    QString stored(const QString &name) const
    {
        QStringList pairs;
        for (const auto &[key, value] : store.store.GetAllSettings(SettingsLayout::Tariff(name)))
            pairs << key + '=' + value;
        return pairs.join(", ");
    }
    void newTariff(const QString &name)
    {
        editor.select(int(editor.entries().size()) - 1);
        editor.setNewName(name);
    }

    TempStore store;
    FakeClock clock;
    ScriptedPrompter prompter;
    bool connected = false;
    bool warnedHere = true;
    TariffEditor editor;
};

} // namespace

class TestTariffEditor : public QObject
{
    Q_OBJECT

private slots:
    // A save writes its keys in this order; keys it does not write stay, whatever their case.
    void savesKeysByCode_data()
    {
        QTest::addColumn<QStringList>("before"); // an existing "Night" section; none: a new tariff
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("stored");
        // clang-format off
        QTest::newRow("one interval") << QStringList() << 2 << "Option=2, SavedOn=5/3/2024 12:00:00, Name=Night, FirstStart=00:00:00, FirstEnd=00:00:00, FirstCost=0.05, SecondCost=0.02";
        QTest::newRow("two intervals") << QStringList() << 0 << "Option=0, SavedOn=5/3/2024 12:00:00, Name=Night, FirstStart=08:00:00, FirstEnd=18:00:00, FirstCost=0.05, SecondCost=0.02";
        QTest::newRow("three intervals") << QStringList() << 1 << "Option=1, SavedOn=5/3/2024 12:00:00, Name=Night, FirstStart=08:00:00, FirstEnd=18:00:00, FirstCost=0.05, SecondCost=0.02, ThirdStart=22:00:00, ThirdCost=0,01";
        QTest::newRow("three saved as two") << QStringList{"Firstend=1:00", "ThirdStart=3:00", "Option=1"} << 0 << "Firstend=18:00:00, ThirdStart=3:00, Option=0, SavedOn=5/3/2024 12:00:00, Name=Night, FirstStart=08:00:00, FirstCost=0.05, SecondCost=0.02";
        // clang-format on
    }
    void savesKeysByCode()
    {
        QFETCH(QStringList, before);
        QFETCH(int, code);
        Rig rig(false);
        if (before.isEmpty()) {
            rig.newTariff("Night");
        } else {
            StoreFixtures::writeValues(rig.store.store, SettingsLayout::TariffNames(), {"Night="});
            StoreFixtures::writeValues(rig.store.store, SettingsLayout::Tariff("Night"), before);
            rig.editor.fill();
            rig.editor.select(0);
        }
        rig.editor.setTime(Picker::ThirdStart, QTime(22, 0));
        rig.editor.setTime(Picker::FirstStart, QTime(8, 0));
        rig.editor.setTime(Picker::FirstEnd, QTime(18, 0));
        rig.editor.setCode(code);
        rig.editor.setCost(Cost::First, "0.05");
        rig.editor.setCost(Cost::Second, "0.02");
        rig.editor.setCost(Cost::Third, "0,01");
        QVERIFY(rig.editor.save());
        QTEST(rig.stored("Night"), "stored");
        QCOMPARE(StoreFixtures::snapshot(rig.store.store, {SettingsLayout::TariffNames()}),
                 QStringList{SettingsLayout::TariffNames() + " | Night = "});
    }

    // clang-format off
    void linksPartners_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("picker");
        QTest::addColumn<QString>("moved"); // the pickers at 10:00 afterwards
        QTest::newRow("first end") << 2 << int(Picker::FirstEnd) << "FirstEnd SecondStart";
        QTest::newRow("second start") << 0 << int(Picker::SecondStart) << "FirstEnd SecondStart";
        QTest::newRow("third start, two") << 0 << int(Picker::ThirdStart) << "FirstStart SecondEnd ThirdStart";
        QTest::newRow("third start, three") << 1 << int(Picker::ThirdStart) << "SecondEnd ThirdStart";
        QTest::newRow("second end, one") << 2 << int(Picker::SecondEnd) << "SecondEnd";
        QTest::newRow("second end, two") << 0 << int(Picker::SecondEnd) << "FirstStart SecondEnd";
        QTest::newRow("second end, three") << 1 << int(Picker::SecondEnd) << "SecondEnd ThirdStart";
        QTest::newRow("first start, one") << 2 << int(Picker::FirstStart) << "FirstStart";
        QTest::newRow("first start, two") << 0 << int(Picker::FirstStart) << "FirstStart SecondEnd";
        QTest::newRow("first start, three") << 1 << int(Picker::FirstStart) << "FirstStart ThirdEnds";
        QTest::newRow("third ends, two") << 0 << int(Picker::ThirdEnds) << "ThirdEnds";
        QTest::newRow("third ends, three") << 1 << int(Picker::ThirdEnds) << "FirstStart ThirdEnds";
    }
    // clang-format on
    void linksPartners()
    {
        QFETCH(int, code);
        QFETCH(int, picker);
        Rig rig;
        rig.editor.setCode(code);
        rig.editor.setTime(Picker(picker), QTime(10, 0));
        QStringList moved;
        for (int i = 0; i < int(Picker::Count_); ++i) {
            if (rig.editor.time(Picker(i)) == QTime(10, 0))
                moved << kPickers[i];
        }
        QTEST(moved.join(' '), "moved");
    }

    // clang-format off
    void codeEnablesFields_data()
    {
        QTest::addColumn<int>("code"); // set after three intervals and FirstEnd at 10:00
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("values");
        QTest::newRow("one") << 2 << "FirstCost" << "00:00 00:00 00:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000";
        QTest::newRow("two") << 0 << "FirstStart FirstEnd SecondStart SecondEnd FirstCost SecondCost" << "00:00 10:00 10:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000";
        QTest::newRow("no such code") << 3 << "FirstStart FirstEnd SecondStart SecondEnd ThirdStart ThirdEnds FirstCost SecondCost ThirdCost" << "00:00 10:00 10:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000";
    }
    // clang-format on
    void codeEnablesFields()
    {
        QFETCH(int, code);
        Rig rig;
        rig.editor.setCode(TariffEditor::ThreeIntervals);
        rig.editor.setTime(Picker::FirstEnd, QTime(10, 0));
        rig.editor.setCode(code);
        QStringList enabled;
        for (int i = 0; i < int(Picker::Count_); ++i) {
            if (rig.editor.isEnabled(Picker(i)))
                enabled << kPickers[i];
        }
        for (int i = 0; i < int(Cost::Count_); ++i) {
            if (rig.editor.isEnabled(Cost(i)))
                enabled << kCosts[i];
        }
        QTEST(enabled.join(' '), "enabled");
        QTEST(rig.values(), "values");
    }

    // clang-format off
    void formatsCostOnLeaving_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("C") << "C" << "0.05" << "0.0500";
        QTest::newRow("C, comma typed") << "C" << " 0,05 " << "0.0500";
        QTest::newRow("German") << "de_DE" << "0.05" << "0,0500";
        QTest::newRow("rounded") << "de_DE" << "1,23456" << "1,2346";
        QTest::newRow("not a number") << "de_DE" << "5 ct" << "5 ct";
    }
    // clang-format on
    void formatsCostOnLeaving()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        Rig rig(true, nullptr, QLocale(locale));
        rig.editor.setCost(Cost::Second, typed);
        rig.editor.formatCost(Cost::Second);
        QTEST(rig.editor.cost(Cost::Second), "shown");
    }

    // clang-format off
    void saveRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("costs");
        QTest::addColumn<QString>("message"); // none: saved
        QTest::newRow("empty") << "" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("blank") << " \t" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("list entry") << "[New Tariff]" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("empty entry") << "[Empty]" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("list text") << "Select Tariff" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("backslash") << "Day\\Night" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("slash") << "Day/Night" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("line break") << "Day\nNight" << 0 << QStringList{"1", "1", "1"} << kName;
        QTest::newRow("existing") << "Day" << 0 << QStringList{"1", "1", "1"} << kExists;
        QTest::newRow("existing, other case") << "DAY" << 0 << QStringList{"1", "1", "1"} << kExists;
        QTest::newRow("negative first") << "Night" << 2 << QStringList{"-0.01", "1", "1"} << kBadCost;
        QTest::newRow("second not a number") << "Night" << 0 << QStringList{"1", "1 ct", "1"} << kBadCost;
        QTest::newRow("third empty") << "Night" << 1 << QStringList{"1", "1", ""} << kBadCost;
        QTest::newRow("unused costs") << " Night" << 2 << QStringList{"0", "x", "-1"} << "";
        QTest::newRow("two ignores third") << "Night" << 0 << QStringList{"1", "0,5", ""} << "";
    }
    // clang-format on
    void saveRefusals()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(QStringList, costs);
        QFETCH(QString, message);
        Rig rig;
        const QStringList sections{SettingsLayout::TariffNames(), SettingsLayout::Tariff("Day")};
        const QStringList before = StoreFixtures::snapshot(rig.store.store, sections);
        rig.newTariff(name);
        rig.editor.setCode(code);
        for (int i = 0; i < 3; ++i)
            rig.editor.setCost(Cost(i), costs[i]);
        QSignalSpy written(&rig.editor, &TariffEditor::tariffsChanged);
        if (!message.isEmpty())
            rig.prompter.expect(message);
        QCOMPARE(rig.editor.save(), message.isEmpty());
        QCOMPARE(written.count(), message.isEmpty() ? 1 : 0);
        if (!message.isEmpty()) {
            QCOMPARE(StoreFixtures::snapshot(rig.store.store, sections), before);
            return;
        }
        QCOMPARE(rig.editor.entries(), QStringList({"Day", name, "[New Tariff]"}));
        QCOMPARE(rig.editor.selectedIndex(), 1);
        QCOMPARE(rig.editor.currentName(), name);
        QVERIFY(rig.editor.canDelete());
        QCOMPARE(rig.store.store.GetSetting(SettingsLayout::Tariff(name), "FirstCost"), costs[0]);
    }

    void reconnectIsAskedForWhileConnected_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("offline") << false << QStringList();
        QTest::newRow("connected") << true << QStringList{"You have to restart you connection"};
    }
    void reconnectIsAskedForWhileConnected()
    {
        QFETCH(bool, connected);
        Rig rig;
        rig.connected = connected;
        rig.prompter.allowMessages();
        rig.editor.select(0);
        QVERIFY(rig.editor.save());
        QTEST(rig.prompter.shownTexts(), "shown");
    }

    // Another program holding the store: the failure is told and the list stays as it was.
    void storeFailureIsTold_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::newRow("save") << false;
        QTest::newRow("remove") << true;
    }
    void storeFailureIsTold()
    {
        QFETCH(bool, remove);
        Rig rig;
        remove ? rig.editor.select(0) : rig.newTariff("Night");
        const int selected = rig.editor.selectedIndex();
        StoreFixtures::WriteLock lock(rig.store.home.locations().settingsDatabase());
        rig.prompter.allowMessages();
        if (remove)
            rig.prompter.expect("Are you sure to delete Day tariff?", Prompt::Answer::Yes);
        QVERIFY(!(remove ? rig.editor.remove() : rig.editor.save()));
        QCOMPARE(rig.prompter.shown().last().icon, Prompt::Icon::Critical);
        lock.release();
        QCOMPARE(rig.editor.entries(), QStringList({"Day", "[New Tariff]"}));
        QCOMPARE(rig.editor.selectedIndex(), selected);
        QCOMPARE(StoreFixtures::snapshot(rig.store.store, {SettingsLayout::TariffNames()}).size(), 1);
    }

    // An existing tariff is saved under its own name, whatever the name box held before.
    void existingTariffKeepsItsName()
    {
        Rig rig;
        rig.editor.select(0);
        rig.newTariff("Typed");
        QVERIFY(!rig.editor.canDelete() && rig.editor.isNameBoxShown());
        QCOMPARE(rig.editor.currentName(), QString("Day"));
        rig.editor.select(0);
        QCOMPARE(rig.editor.newName(), QString());
        rig.editor.setNewName("Typed again");
        rig.editor.setCost(Cost::First, "0.30");
        QVERIFY(rig.editor.save());
        QCOMPARE(rig.store.store.GetSetting(SettingsLayout::Tariff("Day"), "FirstCost"), QString("0.30"));
        QCOMPARE(rig.editor.entries(), QStringList({"Day", "[New Tariff]"}));
        QCOMPARE(StoreFixtures::snapshot(rig.store.store, {SettingsLayout::TariffNames()}).size(), 1);
    }

    void removeReturnsToNoSelection_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("yes") << int(Prompt::Answer::Yes) << QStringList{"Night", "[New Tariff]"};
        QTest::newRow("no") << int(Prompt::Answer::No) << QStringList{"Day", "Night", "[New Tariff]"};
    }
    void removeReturnsToNoSelection()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, entries);
        Rig rig;
        StoreFixtures::writeTariff(rig.store.store, "Night", {});
        StoreFixtures::assignTariff(rig.store.store, "Home", "Day", {1});
        rig.editor.fill();
        rig.editor.select(0);
        rig.prompter.expect("Are you sure to delete Day tariff?", Prompt::Answer(answer));
        const bool yes = Prompt::Answer(answer) == Prompt::Answer::Yes;
        QCOMPARE(rig.editor.remove(), yes);
        QCOMPARE(rig.editor.entries(), entries);
        QCOMPARE(StoreFixtures::snapshot(rig.store.store, {SettingsLayout::TariffNames()}).size(), entries.size() - 1);
        QCOMPARE(rig.stored("Day").isEmpty(), yes);
        QVERIFY(!rig.stored("Night").isEmpty());
        QCOMPARE(rig.store.store.GetSetting(SettingsLayout::TariffAssignment("Home"), "1"), QString("Day"));
        QCOMPARE(rig.editor.selectedIndex(), yes ? -1 : 0);
        QCOMPARE(rig.editor.currentName(), yes ? QString() : QString("Day"));
        QCOMPARE(rig.values(), yes ? "00:00 00:00 00:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000"
                                   : "08:00 20:00 20:00 08:00 00:00 00:00 | 0.12 0.05 0.0000");
        QCOMPARE(rig.editor.canDelete() || rig.editor.canExport() || rig.editor.canImport(), !yes);
        if (yes)
            QVERIFY(!rig.editor.remove()); // nothing selected: nothing asked, nothing done
    }

    // A stored tariff is loaded by its code; exported and imported into another store it
    // gives the same values.
    // clang-format off
    void loadsAndCarriesTariffs_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("firstStart");
        QTest::addColumn<QString>("values");
        QTest::newRow("two") << "0" << "8:00" << "08:00 20:00 20:00 08:00 00:00 00:00 | 0.12 0.05 0.0000";
        QTest::newRow("three") << "1" << "8:00" << "08:00 20:00 20:00 22:00 22:00 08:00 | 0.12 0.05 0.02";
        QTest::newRow("one") << "2" << "8:00" << "00:00 00:00 00:00 00:00 00:00 00:00 | 0.12 0.0000 0.0000";
        QTest::newRow("bad start") << "0" << "8 am" << "00:00 20:00 20:00 00:00 00:00 00:00 | 0.12 0.05 0.0000";
        QTest::newRow("empty option") << "" << "8:00" << "08:00 20:00 20:00 08:00 00:00 00:00 | 0.12 0.05 0.0000";
        QTest::newRow("unknown code") << "7" << "8:00" << "00:00 00:00 00:00 00:00 00:00 00:00 | 0.0000 0.0000 0.0000";
    }
    // clang-format on
    void loadsAndCarriesTariffs()
    {
        QFETCH(QString, option);
        QFETCH(QString, firstStart);
        Rig from(false), to;
        StoreFixtures::writeTariff(from.store.store, "T",
                                   {option, firstStart, "20:00", "0.12", "0.05", "22:00", "0.02"});
        from.editor.fill();
        from.editor.select(0);
        QTEST(from.values(), "values");
        const QString path = from.store.home.path() + "/t.tff";
        from.prompter.expectFile("Export to a File", path);
        QVERIFY(from.editor.exportFile());
        to.editor.select(1);
        to.prompter.expectFile("Import from a File", path);
        QVERIFY(to.editor.importFile());
        QTEST(to.values(), "values");
        QCOMPARE(to.editor.code(), from.editor.code());
        QCOMPARE(to.editor.entries(), QStringList({"Day", "[New Tariff]"}));
    }

    // clang-format off
    void fileFailuresChangeNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("file"); // under the temp home, where bad.tff is no tariff file
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("import bad file") << "import" << 0 << "bad.tff" << QStringList{kFilter, "bad.tff is not a tariff file."};
        QTest::newRow("import cancelled") << "import" << 0 << "" << QStringList{kFilter};
        QTest::newRow("export cancelled") << "export" << 0 << "" << QStringList{kFilter};
        QTest::newRow("export into a file") << "export" << 0 << "bad.tff/t.tff" << QStringList{kFilter, "<failed>"};
        QTest::newRow("export without name") << "export" << 1 << "" << QStringList{kName};
    }
    // clang-format on
    void fileFailuresChangeNothing()
    {
        QFETCH(QString, action);
        QFETCH(int, selected);
        QFETCH(QString, file);
        Rig rig;
        rig.store.home.writeFile("bad.tff", "\"Day\",0,\"08:00\"\r\n");
        const QString path = file.isEmpty() ? QString() : rig.store.home.path() + '/' + file;
        rig.editor.select(selected);
        const QString before = rig.values();
        rig.prompter.allowMessages();
        if (selected == 0)
            rig.prompter.expectFile(action == "import" ? "Import from a File" : "Export to a File", path);
        QVERIFY(!(action == "import" ? rig.editor.importFile() : rig.editor.exportFile()));
        QStringList shown = rig.prompter.shownTexts();
        if (rig.prompter.shown().last().icon == Prompt::Icon::Critical && shown.last().contains(path))
            shown.last() = "<failed>";
        QTEST(shown, "shown");
        QCOMPARE(rig.values(), before);
    }

    // The warning about no tariffs is shown once a run, however many editors are filled.
    void noTariffWarningOnce()
    {
        bool warned = false;
        Rig first(false, &warned), second(false, &warned);
        QCOMPARE(first.prompter.shownTexts(), QStringList{"You don't have any available Tariffs!"});
        QCOMPARE(first.prompter.shown().first().icon, Prompt::Icon::Critical);
        second.editor.select(1); // no such entry
        second.editor.select(-1);
        QCOMPARE(second.editor.entries(), QStringList{"[New Tariff]"});
        QCOMPARE(second.editor.selectedIndex(), -1);
        QVERIFY(!second.editor.canDelete() && !second.editor.canExport() && !second.editor.canImport());
        QVERIFY(!second.editor.save() && !second.editor.remove() && !second.editor.exportFile());
        QVERIFY(!second.editor.importFile());
        QVERIFY(second.prompter.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTariffEditor)
#include "tst_TariffEditor.moc"
