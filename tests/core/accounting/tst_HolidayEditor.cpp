#include "accounting/HolidayEditor.h"

#include <QDir>
#include <QTest>

#include <unistd.h>

#include "support/FakeClock.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

namespace {

const char *const kIcons[] = {"", "i", "?", "!", "X"};
const QByteArray kOne = "\"1/1/2025\",\"New Year\"\r\n";
const QByteArray kTwo = kOne + "\"25/12/2025\",\"Christmas\"\r\n";
const QByteArray kThree = kTwo + "\"26/12/2025\",\"Boxing Day\"\r\n";
const QByteArray kFolder = "<folder>"; // Holiday.hl is a folder: it exists but cannot be read
const QString kAsk = "Are you sure to delete this Holiday?";

} // namespace

class TestHolidayEditor : public QObject
{
    Q_OBJECT

private slots:
    // The file before; user steps ("; " between them); the prompts ("?" question, "!"
    // exclamation, "X" critical, up to the file's path) and results of the steps, then the rows;
    // the file after.
    // clang-format off
    void scenario_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty file, two added") << QByteArray() << "add 5/3/2002 Fête, 1er mai; add 31/12/2025 Holiday's Name; save" << "add+ | add+ | save+ | 5/3/2002=Fête, 1er mai, 31/12/2025=Holiday's Name" << QByteArray("\"5/3/2002\",\"F\xC3\xAAte, 1er mai\"\r\n\"31/12/2025\",\"Holiday's Name\"\r\n");
        QTest::newRow("no name") << kOne << "add 1/5/2025 ; save" << "!You Must Enter Holiday's Name! | add- | save+ | 1/1/2025=New Year" << kOne;
        QTest::newRow("remove, no") << kTwo << "remove 0 no; save" << "?" + kAsk + " | remove- | save+ | 1/1/2025=New Year, 25/12/2025=Christmas" << kTwo;
        QTest::newRow("remove the middle") << kThree << "remove 1 yes; save" << "?" + kAsk + " | remove+ | save+ | 1/1/2025=New Year, 26/12/2025=Boxing Day" << kOne + "\"26/12/2025\",\"Boxing Day\"\r\n";
        QTest::newRow("remove the only one") << kOne << "remove 0 yes; save" << "?" + kAsk + " | remove+ | save+ | =" << QByteArray();
        QTest::newRow("then add") << kOne << "remove 0 yes; add 1/5/2025 May Day; save" << "?" + kAsk + " | remove+ | add+ | save+ | =, 1/5/2025=May Day" << QByteArray("\"1/5/2025\",\"May Day\"\r\n");
        QTest::newRow("no holiday row") << QByteArray() << "remove 0; remove -1; save" << "remove- | remove- | save+ | " << QByteArray();
        QTest::newRow("no current row") << kOne << "remove -1; remove 1" << "remove- | remove- | 1/1/2025=New Year" << kOne;
        QTest::newRow("unreadable") << kFolder << "add 1/5/2025 May Day; save" << "XThe file | add+ | save- | 1/5/2025=May Day" << QByteArray();
        QTest::newRow("read-only folder") << kTwo << "add 1/5/2025 May Day; read-only save" << "add+ | XThe holiday calendar could not be saved to | save- | 1/1/2025=New Year, 25/12/2025=Christmas, 1/5/2025=May Day" << kTwo;
    }
    // clang-format on
    void scenario()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QFETCH(QByteArray, after);
        TempHome home;
        const QString path = before == kFolder && QDir().mkdir(home.path() + "/Holiday.hl")
                                 ? home.path() + "/Holiday.hl"
                                 : home.writeFile("Holiday.hl", before);
        FakeClock clock;
        ScriptedPrompter prompter;
        prompter.allowMessages();
        HolidayEditor editor(path, prompter, clock);
        QStringList out;
        for (const QString &step : script.split("; ")) {
            const QStringList args = step.split(' ');
            bool done = false;
            if (args[0] == "add") {
                done = editor.add(QDate::fromString(args[1], "d/M/yyyy"), args.mid(2).join(' '));
            } else if (args[0] == "remove") {
                if (args.size() > 2)
                    prompter.expect(kAsk, args[2] == "yes" ? Prompt::Answer::Yes : Prompt::Answer::No);
                done = editor.remove(args[1].toInt());
            } else if (args[0] == "save") {
                done = editor.save();
            } else if (args[0] == "read-only") { // root may write anything: the save runs as "nobody"
                QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ExeOther);
                const bool nobody = geteuid() == 0 && setegid(65534) == 0 && seteuid(65534) == 0;
                done = editor.save();
                QVERIFY(!nobody || (seteuid(0) == 0 && setegid(0) == 0));
                QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
            for (const Prompt &p : prompter.shown())
                out << kIcons[int(p.icon)] + p.text.section(path, 0, 0).trimmed();
            prompter.clear();
            out << args.value(args[0] == "read-only" ? 1 : 0) + (done ? "+" : "-");
        }
        QStringList rows;
        for (const Holiday &row : editor.rows())
            rows << row.dateText + '=' + row.name;
        QCOMPARE(out.join(" | ") + " | " + rows.join(", "), shown);
        QCOMPARE(home.readFile("Holiday.hl"), after);
    }
};

QTEST_GUILESS_MAIN(TestHolidayEditor)
#include "tst_HolidayEditor.moc"
