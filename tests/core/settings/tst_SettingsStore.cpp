#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString dbPath() const { return m_dir.filePath(QStringLiteral("settings.db")); }

private slots:
    void init()
    {
        QFile::remove(dbPath());
        QFile::remove(dbPath() + "-wal");
        QFile::remove(dbPath() + "-shm");
    }

    void missingValuesGiveDefaults()
    {
        SettingsStore store(dbPath());
        QVERIFY(store.isOpen());
        QCOMPARE(store.GetSetting("General Settings", "MinTray", "false"), QString("false"));
        QCOMPARE(store.GetSetting("General Settings", "MinTray"), QString());
        QVERIFY(store.GetAllSettings("No Such Section").isEmpty());
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(dbPath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
    }

    void namesMatchWithoutCase()
    {
        SettingsStore store(dbPath());
        store.SaveSetting("General Settings", "NumofEXE", "3");
        QCOMPARE(store.GetSetting("general settings", "NumOfEXE"), QString("3"));
        store.SaveSetting("GENERAL SETTINGS", "NUMOFEXE", "4");
        QCOMPARE(store.GetAllSettings("General Settings").size(), 1);
        QCOMPARE(store.GetSetting("General Settings", "NumofEXE"), QString("4"));
    }

    void blankInSectionNameIsSignificant()
    {
        SettingsStore store(dbPath());
        store.SaveSetting(SettingsLayout::Provider("A"), "Calls", "7");
        QCOMPARE(SettingsLayout::Provider("A"), QString("Providers \\A"));
        QCOMPARE(store.GetSetting("Providers\\A", "Calls", "0"), QString("0"));
        QCOMPARE(store.GetSetting("Providers \\A", "Calls", "0"), QString("7"));
    }

    void trailingBackslashNamesTheSameSection()
    {
        SettingsStore store(dbPath());
        store.SaveSetting("Tariff Profile \\Tariff Names\\", "Day", "");
        store.SaveSetting("Tariff Profile \\Tariff Names", "Night", "");
        const auto pairs = store.GetAllSettings("Tariff Profile \\Tariff Names\\");
        QCOMPARE(pairs.size(), 2);
        QCOMPARE(pairs[0].first, QString("Day"));
    }

    void listsKeepInsertionOrderOnUpdate()
    {
        SettingsStore store(dbPath());
        for (const char *key : {"zeta", "alpha", "mid"})
            store.SaveSetting("S", key, "1");
        store.SaveSetting("S", "ALPHA", "2");
        const auto pairs = store.GetAllSettings("s");
        QCOMPARE(pairs.size(), 3);
        QCOMPARE(pairs[0].first, QString("zeta"));
        QCOMPARE(pairs[1], qMakePair(QString("alpha"), QString("2")));
        QCOMPARE(pairs[2].first, QString("mid"));
    }

    void deleteSectionTakesSubsectionsOnly()
    {
        SettingsStore store(dbPath());
        store.SaveSetting("Providers \\Home", "Calls", "1");
        store.SaveSetting("Providers \\Home\\Alerts", "1", "1");
        store.SaveSetting("Providers \\Home\\E-Mail", "Host", "h");
        store.SaveSetting("Providers \\HomeOffice", "Calls", "2");
        store.SaveSetting("Providers \\Home_x", "Calls", "3");
        QVERIFY(store.DeleteSetting("providers \\home"));
        QVERIFY(store.GetAllSettings("Providers \\Home").isEmpty());
        QVERIFY(store.GetAllSettings("Providers \\Home\\Alerts").isEmpty());
        QVERIFY(store.GetAllSettings("Providers \\Home\\E-Mail").isEmpty());
        QCOMPARE(store.GetSetting("Providers \\HomeOffice", "Calls"), QString("2"));
        QCOMPARE(store.GetSetting("Providers \\Home_x", "Calls"), QString("3"));

        store.SaveSetting("S", "a", "1");
        store.SaveSetting("S", "b", "2");
        store.DeleteSetting("S", "A");
        QCOMPARE(store.GetAllSettings("S").size(), 1);
    }

    void flagsReadByOneRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << "True" << true;
        QTest::newRow("tRuE") << "tRuE" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("2") << "2" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("word") << "yes" << false;
    }
    void flagsReadByOneRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(SettingIsTrue(text), expected);
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
        QCOMPARE(store.GetSetting("Providers \\X", "Name"), QString::fromUtf8("Müller \xe2\x82\xac"));
    }

    void rowsFromAnotherToolAreFound()
    {
        // Another tool creates the table with the three columns and writes TEXT values.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(dbPath());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE settings(section TEXT NOT NULL COLLATE NOCASE, key TEXT NOT NULL COLLATE "
                           "NOCASE, value BLOB NOT NULL, PRIMARY KEY(section, key))"));
            QVERIFY(q.exec("INSERT INTO settings VALUES('Providers \\Home', 'TotTime', '1:2:3')"));
            QVERIFY(q.exec("INSERT INTO settings(section, key, value) VALUES('Providers \\Home', 'Calls', 5)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        SettingsStore store(dbPath());
        QCOMPARE(store.GetSetting("providers \\home", "tottime"), QString("1:2:3"));
        QCOMPARE(store.GetSetting("Providers \\Home", "Calls"), QString("5"));
        QCOMPARE(store.GetAllSettings("Providers \\Home").size(), 2);
    }

    // A store made by another tool in another layout is refused, and left as it was.
    void foreignLayoutIsRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("other columns") << "CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT)";
        QTest::newRow("no primary key") << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB)";
        QTest::newRow("case-blind names missing")
            << "CREATE TABLE settings(section TEXT, key TEXT, value BLOB, PRIMARY KEY(section, key))";
    }
    void foreignLayoutIsRefused()
    {
        QFETCH(QString, table);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(dbPath());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(table));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        QFile file(dbPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        {
            SettingsStore store(dbPath());
            QVERIFY(!store.isOpen());
            QVERIFY2(store.error().contains("made by another program"), qPrintable(store.error()));
            QVERIFY(!store.SaveSetting("S", "a", "1"));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
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
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
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

    void killedWriterLeavesNoHalfBatch()
    {
        // A child process writes a batch of counters in a loop and is killed mid-way;
        // every batch seen afterwards is whole (all keys hold the same generation).
        const QString self = QCoreApplication::applicationFilePath();
        for (int round = 0; round < 3; ++round) {
            QProcess child;
            child.setProgram(self);
            child.setArguments({"--writer", dbPath()});
            child.start();
            QVERIFY(child.waitForStarted());
            // Kill it at a different point of its loop each round, while it writes.
            int committed = 0;
            while (committed < 5 + 7 * round && child.waitForReadyRead(10000))
                committed += child.readAllStandardOutput().count('\n');
            QVERIFY(committed > 0);
            child.kill();
            child.waitForFinished();

            SettingsStore store(dbPath());
            const auto pairs = store.GetAllSettings("Providers \\Kill");
            QCOMPARE(pairs.size(), 12);
            for (const auto &pair : pairs)
                QCOMPARE(pair.second, pairs.first().second);
        }
    }
};

static int runWriter(const QString &path)
{
    SettingsStore store(path);
    for (int generation = 0;; ++generation) {
        SettingsStore::Batch batch(store);
        for (int key = 0; key < 12; ++key)
            store.SaveSetting("Providers \\Kill", QString::number(key), QString::number(generation));
        batch.commit();
        fputs("committed\n", stdout);
        fflush(stdout);
    }
}

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
    if (argc == 3 && qstrcmp(argv[1], "--writer") == 0) {
        QCoreApplication app(argc, argv);
        return runWriter(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SettingsStore.moc"
