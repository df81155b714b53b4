#include "settings/EntryName.h"
#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <numeric>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "support/StoreFixtures.h"
#include "support/TempHome.h"

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    std::optional<TempHome> m_home;
    QString dbPath() const { return m_home->locations().settingsDatabase(); }

private slots:
    void init() { m_home.emplace(); }

    // A new store file is private; its values keep any bytes.
    void newFileIsPrivateAndKeepsBytes()
    {
        SettingsStore store(dbPath());
        QVERIFY(store.isOpen());
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(dbPath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QByteArray all(256, Qt::Uninitialized);
        std::iota(all.begin(), all.end(), char(0));
        QVERIFY(store.SaveSettingBytes("S", "Password", all));
        QCOMPARE(store.GetSettingBytes("s", "password"), all);
    }

    // Names match without letter case and without trailing backslashes; the blank in "Providers \" is
    // part of the name. A section lists its values in the order they were first written.
    // Columns: the writes in order ("section|key=value"; "-section" deletes a section with its
    // subsections, "-section|key" one value), the sections read and what they hold.
    // clang-format off
    void writesAndReads_data()
    {
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("letter case") << QStringList{"General Settings|NumofEXE=1", "GENERAL SETTINGS|NumOfEXE=2"} << QStringList{"general settings"} << QStringList{"general settings | NumofEXE = 2"};
        QTest::newRow("trailing backslash") << QStringList{"T \\N\\|Day=1", "T \\N|Night=2"} << QStringList{"T \\N\\\\"} << QStringList{"T \\N\\\\ | Day = 1", "T \\N\\\\ | Night = 2"};
        QTest::newRow("blank is significant") << QStringList{"Providers \\A|Calls=1", "Providers\\A|Calls=2"} << QStringList{"Providers \\A"} << QStringList{"Providers \\A | Calls = 1"};
        QTest::newRow("order kept on update") << QStringList{"S|zeta=1", "S|alpha=1", "S|mid=1", "S|ALPHA=2"} << QStringList{"s"} << QStringList{"s | zeta = 1", "s | alpha = 2", "s | mid = 1"};
        QTest::newRow("delete subsections only") << QStringList{"P \\H|a=1", "P \\H\\E|a=1", "P \\HomeO|a=1", "P \\H_x|a=1", "-p \\h"} << QStringList{"P \\H", "P \\H\\E", "P \\HomeO", "P \\H_x"} << QStringList{"P \\HomeO | a = 1", "P \\H_x | a = 1"};
        QTest::newRow("text in UTF-8") << QStringList{"S|Name=Müller \xe2\x82\xac"} << QStringList{"S"} << QStringList{"S | Name = Müller \xe2\x82\xac"};
        QTest::newRow("delete one value") << QStringList{"S|a=1", "S|b=2", "-s|A"} << QStringList{"S"} << QStringList{"S | b = 2"};
        QTest::newRow("move with subsections") << QStringList{"P \\Old|a=1", "P \\Old\\E|b=2", "P \\Older|c=3", ">p \\old>P \\New"} << QStringList{"P \\Old", "P \\Old\\E", "P \\Older", "P \\New", "P \\New\\E"} << QStringList{"P \\Older | c = 3", "P \\New | a = 1", "P \\New\\E | b = 2"};
        QTest::newRow("move replaces the target") << QStringList{"P \\A|a=1", "P \\B|b=2", "P \\B\\S|c=3", ">P \\A>P \\B"} << QStringList{"P \\A", "P \\B", "P \\B\\S"} << QStringList{"P \\B | a = 1"};
        QTest::newRow("move to another case") << QStringList{"P \\a|a=1", "P \\a\\E|b=2", ">P \\a>P \\A"} << QStringList{"P \\A", "P \\A\\E"} << QStringList{"P \\A | a = 1", "P \\A\\E | b = 2"};
        QTest::newRow("move into itself refused") << QStringList{"P \\A|a=1", "!>P \\A>P \\A\\B"} << QStringList{"P \\A", "P \\A\\B"} << QStringList{"P \\A | a = 1"};
    }
    // clang-format on
    void writesAndReads()
    {
        QFETCH(QStringList, writes);
        QFETCH(QStringList, sections);
        SettingsStore store(dbPath());
        for (QString write : writes) {
            const bool refused = write.startsWith('!'); // the write must fail
            write = write.mid(refused);
            const QStringList parts = write.mid(write.startsWith('-')).split(QRegularExpression("[|=]"));
            const QStringList move = write.split('>');
            QCOMPARE(write.startsWith('>')    ? store.MoveSection(move[1], move[2])
                     : !write.startsWith('-') ? store.SaveSetting(parts[0], parts[1], parts[2])
                     : parts.size() == 1      ? store.DeleteSetting(parts[0])
                                              : store.DeleteSetting(parts[0], parts[1]),
                     !refused);
        }
        QTEST(StoreFixtures::snapshot(store, sections), "found");
    }

    // A provider or tariff name becomes one component of a section path.
    // clang-format off
    void entryNamesAreOneComponent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("letters of any script") << "M\u00fcller-Net (2)" << "";
        QTest::newRow("backslash") << "Home\\E-Mail" << "The connection name \"Home\\E-Mail\" must not contain \"\\\" or \"/\".";
        QTest::newRow("slash") << "a/b" << "The connection name \"a/b\" must not contain \"\\\" or \"/\".";
        QTest::newRow("empty") << "" << "Please enter a name for the connection.";
        QTest::newRow("blanks") << "   " << "Please enter a name for the connection.";
        QTest::newRow("line break") << "a\nb" << "The connection name must not contain line breaks, tabs or other control characters.";
    }
    // clang-format on
    void entryNamesAreOneComponent()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QCOMPARE(EntryName::Refusal(name).value_or(QString()), refusal);
        QCOMPARE(EntryName::IsSectionName(name), refusal.isEmpty());
    }

    // clang-format off
    void flagsReadByOneRule_data()
    {
        QTest::addColumn<bool>("expected"); // the text read is the row's name
        QTest::newRow("tRuE") << true;
        QTest::newRow("False") << false;
        QTest::newRow("0") << false;
        QTest::newRow("-1") << true;
        QTest::newRow(" 2 ") << true;
        QTest::newRow("yes") << false;
    }
    // clang-format on
    void flagsReadByOneRule() { QTEST(SettingIsTrue(QTest::currentDataTag()), "expected"); }

    // clang-format off
    void scramblesWithKeyFromSecondCharacter_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("scrambled");
        // Key "5827": characters used are '8','2','7','5','8',... (codes 56, 50, 55, 53).
        QTest::newRow("abcde") << QByteArray("abcde") << QByteArray("5827") << QByteArray("\x99\x94\x9A\x99\x9D");
        QTest::newRow("wraps past 255") << QByteArray("\xF0\xFF") << QByteArray("5827") << QByteArray("\x28\x31");
        QTest::newRow("lower-case key = upper-case key") << QByteArray("a") << QByteArray("ab") << QByteArray(1, char('a' + 'B'));
        QTest::newRow("empty key leaves text") << QByteArray("secret") << QByteArray() << QByteArray("secret");
        QTest::newRow("empty text") << QByteArray() << QByteArray("5827") << QByteArray();
        QTest::newRow("gives NUL") << QByteArray(1, char(256 - 56)) << QByteArray("5827") << QByteArray(1, '\0');
    }
    // clang-format on
    void scramblesWithKeyFromSecondCharacter()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, scrambled);
        QCOMPARE(EncryptPassword(plain, key), scrambled);
        QCOMPARE(DecryptPassword(scrambled, key), plain);
    }

    // A file made by another tool is read when it has our layout (its TEXT values too);
    // in another layout it is refused and left as it was.
    // clang-format off
    void anotherToolsFile_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("opens");
        QTest::newRow("our layout") << "CREATE TABLE settings(section TEXT NOT NULL COLLATE NOCASE, key TEXT NOT NULL COLLATE NOCASE, value BLOB NOT NULL, PRIMARY KEY(section, key))" << true;
        QTest::newRow("other columns") << "CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT)" << false;
        QTest::newRow("no primary key") << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB)" << false;
        QTest::newRow("case-blind names missing") << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB, PRIMARY KEY(section, key))" << false;
    }
    // clang-format on
    void anotherToolsFile()
    {
        QFETCH(QString, table);
        QFETCH(bool, opens);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(dbPath());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(table));
            QVERIFY(!opens || q.exec("INSERT INTO settings VALUES('Providers \\Home', 'TotTime', '1:2:3'), "
                                     "('Providers \\Home', 'Calls', 5)"));
        }
        QSqlDatabase::removeDatabase("foreign");
        const QByteArray before = m_home->readFile("settings.db");
        SettingsStore store(dbPath());
        QCOMPARE(store.isOpen(), opens);
        if (opens) {
            QCOMPARE(StoreFixtures::snapshot(store, {"providers \\home"}),
                     (QStringList{"providers \\home | TotTime = 1:2:3", "providers \\home | Calls = 5"}));
            return;
        }
        QVERIFY2(store.error().contains("made by another program"), qPrintable(store.error()));
        // No write of a store that is not open may report success.
        QVERIFY(!store.SaveSetting("S", "a", "1") && !store.DeleteSetting("S") && !store.DeleteSetting("S", "a"));
        QCOMPARE(m_home->readFile("settings.db"), before);
        QVERIFY(!QFile::exists(dbPath() + "-wal"));
    }

    // A store file the user may read but not write is refused at start: every save would fail.
    void unwritableFileIsRefused()
    {
        QVERIFY(SettingsStore(dbPath()).SaveSetting("S", "a", "1"));
        QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QFile::setPermissions(m_home->path(), QFileDevice::Permissions(0x7777));
        QProcess child; // run as another user when the tests run as root, who may write anything
        child.start(QCoreApplication::applicationFilePath(), {"--open", dbPath()});
        QVERIFY(child.waitForFinished());
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(out.startsWith("refused: the file cannot be written (attempt to write a readonly database)"),
                 qPrintable(out));
    }

    void batchCommitsOrRollsBack()
    {
        SettingsStore store(dbPath());
        {
            SettingsStore::Batch outer(store);
            store.SaveSetting("S", "a", "1");
            SettingsStore::Batch{store}; // an inner batch dropped without commit: the whole batch fails
            QVERIFY(!store.SaveSetting("S", "b", "2") && !outer.commit());
        }
        QCOMPARE(store.GetSetting("S", "a", "none"), QString("none"));
        {
            SettingsStore::Batch outer(store);
            store.SaveSetting("S", "a", "1");
            {
                SettingsStore::Batch inner(store);
                store.SaveSetting("S", "b", "2");
                QVERIFY(inner.commit());
            }
            QVERIFY(outer.commit());
        }
        SettingsStore other(dbPath());
        QCOMPARE(StoreFixtures::snapshot(other, {"S"}), (QStringList{"S | a = 1", "S | b = 2"}));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0) { // the child of unwritableFileIsRefused
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 2;
        SettingsStore store(QString::fromLocal8Bit(argv[2]));
        fputs(store.isOpen() ? "open\n" : qPrintable("refused: " + store.error() + "\n"), stdout);
        return 0;
    }
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SettingsStore.moc"
