#include "accounting/HolidayEditor.h"

#include <QDir>
#include <QFileInfo>
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
const QString kAsk = "?Are you sure to delete this Holiday?";

// The folder may not be written while this lives. Root may write anything: the process then
// acts as "nobody", to whom the folder is read-only too.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        m_switched = geteuid() == 0 && setegid(65534) == 0 && seteuid(65534) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("could not become root again");
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QString m_path;
    bool m_switched = false;
};

} // namespace

class TestHolidayEditor : public QObject
{
    Q_OBJECT

private slots:
    // The file before, a script of user steps ("; " between them); the prompts they raise and
    // what they show, in order; the file after. Prompts: "!" exclamation, "?" question, "X"
    // critical (up to the file's path).
    // clang-format off
    void scenario_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty file, one added") << QByteArray() << "rows; add 5/3/2002 Fête du Travail, 1er mai; save" << "- | add+ | save+" << QByteArray("\"5/3/2002\",\"F\xC3\xAAte du Travail, 1er mai\"\r\n");
        QTest::newRow("read in order, added last") << kTwo << "add 31/12/2025 Holiday's Name; rows; save" << "add+ | 1/1/2025=New Year, 25/12/2025=Christmas, 31/12/2025=Holiday's Name | save+" << kTwo + "\"31/12/2025\",\"Holiday's Name\"\r\n";
        QTest::newRow("no name") << kOne << "add 1/5/2025 ; rows; save" << "!You Must Enter Holiday's Name! | add- | 1/1/2025=New Year | save+" << kOne;
        QTest::newRow("remove, no") << kTwo << "remove 0 no; rows; save" << kAsk + " | remove- | 1/1/2025=New Year, 25/12/2025=Christmas | save+" << kTwo;
        QTest::newRow("remove the middle") << kThree << "remove 1 yes; save" << kAsk + " | remove+ | save+" << kOne + "\"26/12/2025\",\"Boxing Day\"\r\n";
        QTest::newRow("remove the last") << kTwo << "remove 1 yes; save" << kAsk + " | remove+ | save+" << kOne;
        QTest::newRow("remove the only one") << kOne << "remove 0 yes; rows; save" << kAsk + " | remove+ | = | save+" << QByteArray();
        QTest::newRow("then add") << kOne << "remove 0 yes; add 1/5/2025 May Day; rows; save" << kAsk + " | remove+ | add+ | =, 1/5/2025=May Day | save+" << QByteArray("\"1/5/2025\",\"May Day\"\r\n");
        QTest::newRow("no holiday row") << QByteArray() << "remove 0; remove -1; save" << "remove- | remove- | save+" << QByteArray();
        QTest::newRow("no current row") << kOne << "remove -1; remove 1; rows" << "remove- | remove- | 1/1/2025=New Year" << kOne;
        QTest::newRow("unreadable") << kFolder << "rows; add 1/5/2025 May Day; save" << "XThe file | - | add+ | save-" << kFolder;
    }
    // clang-format on
    void scenario()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QFETCH(QByteArray, after);
        TempHome home;
        const QString path = home.path() + "/Holiday.hl";
        if (before == kFolder)
            QVERIFY(QDir().mkdir(path));
        else
            home.writeFile("Holiday.hl", before);
        FakeClock clock;
        ScriptedPrompter prompter;
        prompter.allowMessages();
        HolidayEditor editor(path, prompter, clock);
        QCOMPARE(editor.canSave(), before != kFolder);
        QStringList out;
        auto told = [&] {
            for (const Prompt &p : prompter.shown())
                out << kIcons[int(p.icon)] + p.text.section(path, 0, 0).trimmed();
            prompter.clear();
        };
        told();
        for (const QString &step : script.split("; ")) {
            const QString command = step.section(' ', 0, 0);
            const QStringList args = step.section(' ', 1).split(' ');
            if (command == "add") {
                const bool added = editor.add(QDate::fromString(args[0], "d/M/yyyy"), args.mid(1).join(' '));
                told();
                out << QString("add") + (added ? "+" : "-");
            } else if (command == "remove") {
                if (args.size() > 1)
                    prompter.expect(kAsk.mid(1), args[1] == "yes" ? Prompt::Answer::Yes : Prompt::Answer::No);
                const bool removed = editor.remove(args[0].toInt());
                told();
                out << QString("remove") + (removed ? "+" : "-");
            } else if (command == "save") {
                const bool saved = editor.save();
                told();
                out << QString("save") + (saved ? "+" : "-");
            } else if (command == "rows") {
                QStringList rows;
                for (const Holiday &row : editor.rows())
                    rows << row.dateText + '=' + row.name;
                out << (rows.isEmpty() ? "-" : rows.join(", "));
            }
        }
        QCOMPARE(out.join(" | "), shown);
        QCOMPARE(prompter.pendingExpectations(), 0);
        if (before == kFolder)
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(home.readFile("Holiday.hl"), after);
    }

    // A save into a folder that may not be written is told with the file and the reason; the
    // old file stays whole and the edits stay, so a later save can still write them.
    void saveFailureKeepsFileAndEdits()
    {
        TempHome home;
        const QString path = home.writeFile("Holiday.hl", kTwo);
        FakeClock clock;
        ScriptedPrompter prompter;
        prompter.allowMessages();
        HolidayEditor editor(path, prompter, clock);
        int saves = 0;
        connect(&editor, &HolidayEditor::saved, this, [&] { ++saves; });
        QVERIFY(editor.add(QDate(2025, 5, 1), "May Day"));
        {
            ReadOnlyFolder folder(home.path());
            QVERIFY(!editor.save());
        }
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown().first().icon, Prompt::Icon::Critical);
        QVERIFY2(prompter.shown().first().text.contains(path), qPrintable(prompter.shown().first().text));
        QCOMPARE(home.readFile("Holiday.hl"), kTwo);
        QCOMPARE(QDir(home.path()).entryList(QDir::Files), QStringList{"Holiday.hl"});
        QCOMPARE(saves, 0);
        QVERIFY(editor.save());
        QCOMPARE(home.readFile("Holiday.hl"), kTwo + "\"1/5/2025\",\"May Day\"\r\n");
        QCOMPARE(saves, 1);
    }
};

QTEST_GUILESS_MAIN(TestHolidayEditor)
#include "tst_HolidayEditor.moc"
