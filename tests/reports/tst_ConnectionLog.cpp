#include "reports/ConnectionLog.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

namespace {

CallRecord sampleCall()
{
    CallRecord call;
    call.provider = QStringLiteral("Home");
    call.callsNumber = QStringLiteral("3");
    call.startDate = QDate(2024, 3, 5);
    call.startTime = QTime(12, 0, 0);
    call.endTime = QTime(12, 10, 5);
    call.duration = QStringLiteral("00:10:05");
    call.callCost = QStringLiteral("1.5000");
    call.todayTime = QStringLiteral("0:10:5");
    call.monthTime = QStringLiteral("1:0:0");
    call.totalTime = QStringLiteral("10:0:0");
    call.totalCost = QStringLiteral("13.5000");
    call.tariffName = QStringLiteral("Night");
    call.currencySymbol = QStringLiteral("$");
    return call;
}

LogOptions withItems(const QList<int> &numbers)
{
    LogOptions options;
    for (int number : numbers)
        options.items[std::size_t(number - 1)] = true;
    return options;
}

QByteArray entry(const QByteArray &line1, const QByteArray &line2, const QByteArray &line3)
{
    const QByteArray rule(87, '_');
    return '"' + rule + "\r\n" + line1 + "\r\n" + line2 + "\r\n" + line3 + "\r\n" + rule + "\"\r\n";
}

} // namespace

class TestConnectionLog : public QObject
{
    Q_OBJECT

private slots:
    void writesEntries_data()
    {
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("all items") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                                   << entry("  Provider: Home Started: 5/3/2024  12:00:00 Ended: 12:10:05"
                                            "  Current Payment: $1.5000",
                                            "  Duration: 00:10:05  Today: 0:10:5  This month: 1:0:0",
                                            "  Total Time: 10:0:0  Number of calls: 3  Total Payment: $13.5000"
                                            " Tariff Name: Night");
        QTest::newRow("no items") << QList<int>{}
                                  << QByteArray("\"" + QByteArray(87, '_') + "\r\n\r\n\r\n\r\n" + QByteArray(87, '_') +
                                                "\"\r\n");
        QTest::newRow("current payment only") << QList<int>{10} << entry("  Current Payment: $1.5000", "", "");
        QTest::newRow("tariff after total payment")
            << QList<int>{11, 9} << entry("", "", "  Total Payment: $13.5000 Tariff Name: Night");
        QTest::newRow("ended without started") << QList<int>{3, 1} << entry("  Provider: Home Ended: 12:10:05", "", "");
        QTest::newRow("month time alone") << QList<int>{6} << entry("", "  This month: 1:0:0", "");
    }
    void writesEntries()
    {
        QFETCH(QList<int>, items);
        QFETCH(QByteArray, bytes);
        TempHome home;
        const WriteOutcome outcome =
            ConnectionLog::Write(home.locations(), sampleCall(), withItems(items), DateTimeFormats());
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(home.readFile("Logs/Connections.log"), bytes);
    }

    void writesNamesAsUtf8()
    {
        TempHome home;
        CallRecord call = sampleCall();
        call.provider = QString::fromUtf8("Müller");
        call.currencySymbol = QString::fromUtf8("€");
        QVERIFY(ConnectionLog::Write(home.locations(), call, withItems({1, 10}), DateTimeFormats()).ok);
        QCOMPARE(home.readFile("Logs/Connections.log"), entry("  Provider: M\xC3\xBCller  Current Payment: \xE2\x82\xAC"
                                                              "1.5000",
                                                              "", ""));
    }

    void readsOptions_data()
    {
        QTest::addColumn<QStringList>("stored"); // key, value, key, value...
        QTest::addColumn<bool>("sharedFile");
        QTest::addColumn<bool>("perProviderFile");
        QTest::addColumn<QList<int>>("items");
        QTest::newRow("defaults") << QStringList{} << true << false << QList<int>{};
        QTest::newRow("per provider") << QStringList{"1 Log", "0", "2 Log", "1"} << false << true << QList<int>{};
        QTest::newRow("truth rule") << QStringList{"1", "True", "2", "-1", "3", "yes", "10", "0", "11", "2"} << true
                                    << false << QList<int>{1, 2, 11};
        QTest::newRow("key case") << QStringList{"1 LOG", "false", "2 log", "TRUE"} << false << true << QList<int>{};
    }
    void readsOptions()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, sharedFile);
        QFETCH(bool, perProviderFile);
        QFETCH(QList<int>, items);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        QVERIFY(store.isOpen());
        for (qsizetype i = 0; i + 1 < stored.size(); i += 2)
            QVERIFY(store.SaveSetting(SettingsLayout::LogSettings(), stored.at(i), stored.at(i + 1)));
        const LogOptions options = LogOptions::read(store);
        QCOMPARE(options.sharedFile, sharedFile);
        QCOMPARE(options.perProviderFile, perProviderFile);
        QCOMPARE(options.items, withItems(items).items);
    }

    void choosesFile_data()
    {
        QTest::addColumn<bool>("sharedFile");
        QTest::addColumn<bool>("perProviderFile");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("shared") << true << false << "Home"
                                << "Logs/Connections.log";
        QTest::newRow("per provider") << false << true << "Home"
                                      << "Logs/Home.log";
        QTest::newRow("per provider wins") << true << true << "Home"
                                           << "Logs/Home.log";
        QTest::newRow("neither") << false << false << "Home"
                                 << "Logs/Connections.log";
        QTest::newRow("parent folder") << false << true << "../evil"
                                       << "Logs/_._evil.log";
        QTest::newRow("absolute") << false << true << "/etc/passwd"
                                  << "Logs/_etc_passwd.log";
        QTest::newRow("hidden") << false << true << ".profile"
                                << "Logs/_profile.log";
    }
    void choosesFile()
    {
        QFETCH(bool, sharedFile);
        QFETCH(bool, perProviderFile);
        QFETCH(QString, provider);
        QFETCH(QString, relativePath);
        TempHome home;
        LogOptions options = withItems({1});
        options.sharedFile = sharedFile;
        options.perProviderFile = perProviderFile;
        CallRecord call = sampleCall();
        call.provider = provider;

        const WriteOutcome outcome = ConnectionLog::Write(home.locations(), call, options, DateTimeFormats());
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.path, QDir(home.path()).filePath(relativePath));
        QCOMPARE(QFileInfo(outcome.path).absolutePath(), home.locations().logsDir());
        QVERIFY(home.readFile(relativePath).startsWith('"'));
    }

    void createsFolderAndAppends()
    {
        TempHome home;
        QVERIFY(QDir(home.locations().logsDir()).removeRecursively());
        const LogOptions options = withItems({1});
        QVERIFY(ConnectionLog::Write(home.locations(), sampleCall(), options, DateTimeFormats()).ok);
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(home.locations().logsDir()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        const QByteArray once = home.readFile("Logs/Connections.log");
        QCOMPARE(once.front(), '"');
        QVERIFY(ConnectionLog::Write(home.locations(), sampleCall(), options, DateTimeFormats()).ok);
        QCOMPARE(home.readFile("Logs/Connections.log"), once + once);
    }

    void reportsFailure_data()
    {
        QTest::addColumn<QString>("blocker"); // a folder where the file should be, or a file where Logs/ should be
        QTest::addColumn<bool>("blockerIsFolder");
        QTest::newRow("log file is a folder") << "Logs/Connections.log" << true;
        QTest::newRow("Logs is a file") << "Logs" << false;
    }
    void reportsFailure()
    {
        QFETCH(QString, blocker);
        QFETCH(bool, blockerIsFolder);
        TempHome home;
        QVERIFY(QDir(home.locations().logsDir()).removeRecursively());
        if (blockerIsFolder)
            QVERIFY(QDir(home.path()).mkpath(blocker));
        else
            home.writeFile(blocker, "x");
        const WriteOutcome outcome =
            ConnectionLog::Write(home.locations(), sampleCall(), withItems({1}), DateTimeFormats());
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.error.contains(outcome.path));
    }
};

QTEST_GUILESS_MAIN(TestConnectionLog)
#include "tst_ConnectionLog.moc"
