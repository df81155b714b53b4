#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include "support/StoreFixtures.h"
#include "support/TempHome.h"

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    TempHome m_home;
    QString dbPath() const { return m_home.locations().settingsDatabase(); }

private slots:
    void init()
    {
        QFile::remove(dbPath());
        QFile::remove(dbPath() + "-wal");
        QFile::remove(dbPath() + "-shm");
    }

    void newFileIsPrivate()
    {
        SettingsStore store(dbPath());
        QVERIFY(store.isOpen());
        QVERIFY(store.GetAllSettings("No Such Section").isEmpty());
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(dbPath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
    }

    void layoutKeepsTheBlanks()
    {
        QCOMPARE(SettingsLayout::ProviderMail("A"), QString("Providers \\A\\E-Mail"));
        QCOMPARE(SettingsLayout::Tariff("T"), QString("Tariff Profile \\Tariff Names\\T"));
    }

    // Names match without letter case and without trailing backslashes; the blank in
    // "Providers \" is part of the name. Columns: "section|key".
    // clang-format off
    void namesMatch_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::addColumn<bool>("found");
        QTest::newRow("letter case") << "General Settings|NumofEXE"
                                     << "GENERAL SETTINGS|NumOfEXE" << true;
        QTest::newRow("trailing backslash") << "Tariff Profile \\Tariff Names\\|Day"
                                            << "Tariff Profile \\Tariff Names|Day" << true;
        QTest::newRow("blank is significant") << "Providers \\A|Calls"
                                              << "Providers\\A|Calls" << false;
        QTest::newRow("other key") << "S|a"
                                   << "S|b" << false;
    }
    // clang-format on
    void namesMatch()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        QFETCH(bool, found);
        const QStringList w = written.split('|'), r = read.split('|');
        SettingsStore store(dbPath());
        QVERIFY(store.SaveSetting(w[0], w[1], "1"));
        QCOMPARE(store.GetSetting(r[0], r[1], "none"), QString(found ? "1" : "none"));
        QCOMPARE(store.GetSetting(r[0], r[1]), QString(found ? "1" : ""));
        QVERIFY(store.SaveSetting(r[0], r[1], "2"));
        QCOMPARE(store.GetSetting(w[0], w[1]), QString(found ? "2" : "1"));
        QCOMPARE(store.GetAllSettings(w[0]).size(), found || w[0] != r[0] ? 1 : 2);
    }

    void listsKeepInsertionOrderOnUpdate()
    {
        SettingsStore store(dbPath());
        StoreFixtures::writeValues(store, "S", {"zeta=1", "alpha=1", "mid=1", "ALPHA=2"});
        QCOMPARE(StoreFixtures::snapshot(store, {"s"}), (QStringList{"s | zeta = 1", "s | alpha = 2", "s | mid = 1"}));
    }

    void deleteSectionTakesSubsectionsOnly()
    {
        SettingsStore store(dbPath());
        const QStringList sections{"Providers \\Home", "Providers \\Home\\Alerts", "Providers \\Home\\E-Mail",
                                   "Providers \\HomeOffice", "Providers \\Home_x"};
        for (const QString &section : sections)
            StoreFixtures::writeValues(store, section, {"a=1", "b=2"});
        QVERIFY(store.DeleteSetting("providers \\home"));
        QVERIFY(store.DeleteSetting("Providers \\HomeOffice", "A"));
        QCOMPARE(StoreFixtures::snapshot(store, sections),
                 (QStringList{"Providers \\HomeOffice | b = 2", "Providers \\Home_x | a = 1",
                              "Providers \\Home_x | b = 2"}));
    }

    // clang-format off
    void flagsReadByOneRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("tRuE") << "tRuE" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow(" 2 ") << " 2 " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("word") << "yes" << false;
    }
    // clang-format on
    void flagsReadByOneRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(SettingIsTrue(text), expected);
    }

    // clang-format off
    void scramblesWithKeyFromSecondCharacter_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("scrambled");
        // Key "5827": characters used are '8','2','7','5','8',... (codes 56, 50, 55, 53).
        QTest::newRow("abcde") << QByteArray("abcde") << QByteArray("5827") << QByteArray("\x99\x94\x9A\x99\x9D");
        QTest::newRow("wraps past 255") << QByteArray("\xF0\xFF") << QByteArray("5827") << QByteArray("\x28\x31");
        QTest::newRow("lower-case key = upper-case key")
            << QByteArray("a") << QByteArray("ab") << QByteArray(1, char('a' + 'B'));
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

    void bytesSurviveByteForByte()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        {
            SettingsStore store(dbPath());
            store.SaveSettingBytes("Providers \\X", "Password", all);
            store.SaveSetting("Providers \\X", "Name", QString::fromUtf8("Müller \xe2\x82\xac"));
        }
        SettingsStore store(dbPath());
        QCOMPARE(store.GetSettingBytes("Providers \\X", "password"), all);
        QCOMPARE(DecryptPassword(EncryptPassword(all, kPasswordKey), kPasswordKey), all);
        QCOMPARE(store.GetSetting("Providers \\X", "Name"), QString::fromUtf8("Müller \xe2\x82\xac"));
    }

    // A file made by another tool is read when it has our layout (its TEXT values too);
    // in another layout it is refused and left as it was.
    // clang-format off
    void anotherToolsFile_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("opens");
        QTest::newRow("our layout") << "CREATE TABLE settings(section TEXT NOT NULL COLLATE NOCASE, key TEXT NOT NULL "
                                       "COLLATE NOCASE, value BLOB NOT NULL, PRIMARY KEY(section, key))"
                                    << true;
        QTest::newRow("other columns") << "CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT)" << false;
        QTest::newRow("no primary key") << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB)" << false;
        QTest::newRow("case-blind names missing")
            << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB, PRIMARY KEY(section, key))" << false;
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
            QVERIFY(!opens || q.exec("INSERT INTO settings VALUES('Providers \\Home', 'TotTime', '1:2:3')"));
            QVERIFY(!opens || q.exec("INSERT INTO settings VALUES('Providers \\Home', 'Calls', 5)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        const QByteArray before = m_home.readFile("settings.db");
        SettingsStore store(dbPath());
        QCOMPARE(store.isOpen(), opens);
        if (opens) {
            QCOMPARE(store.GetSetting("providers \\home", "tottime"), QString("1:2:3"));
            QCOMPARE(store.GetSetting("Providers \\Home", "Calls"), QString("5"));
            QCOMPARE(store.GetAllSettings("Providers \\Home").size(), 2);
            return;
        }
        QVERIFY2(store.error().contains("made by another program"), qPrintable(store.error()));
        QVERIFY(!store.SaveSetting("S", "a", "1"));
        QCOMPARE(m_home.readFile("settings.db"), before);
        QVERIFY(!QFile::exists(dbPath() + "-wal"));
    }

    // A store file the user may read but not write is refused at start: every save would fail.
    void unwritableFileIsRefused()
    {
        {
            SettingsStore store(dbPath());
            QVERIFY(store.SaveSetting("S", "a", "1"));
        }
        QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QFile::setPermissions(m_home.path(), QFileDevice::Permissions(0x7777));
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
            SettingsStore::Batch batch(store);
            store.SaveSetting("S", "a", "1");
            // dropped without commit
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
        QCOMPARE(other.GetSetting("S", "a"), QString("1"));
        QCOMPARE(other.GetSetting("S", "b"), QString("2"));
    }
};

static int openAsUser(const QString &path)
{
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return 2;
    SettingsStore store(path);
    fputs(store.isOpen() ? "open\n" : qPrintable("refused: " + store.error() + "\n"), stdout);
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0) {
        QCoreApplication app(argc, argv);
        return openAsUser(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SettingsStore.moc"
