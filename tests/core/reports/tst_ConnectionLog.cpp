#include "reports/ConnectionLog.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <sys/stat.h>

#include "settings/SettingsLayout.h"
#include "support/AccountingRig.h"

namespace {

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
    // clang-format off
    void writesEntries_data()
    {
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("all") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                             << entry("  Provider: Home Started: 5/3/2024  12:00:00 Ended: 12:10:05"
                                      "  Current Payment: $1.5000",
                                      "  Duration: 00:10:05  Today: 0:10:5  This month: 1:0:0",
                                      "  Total Time: 10:0:0  Number of calls: 3  Total Payment: $13.5000"
                                      " Tariff Name: Night");
        QTest::newRow("none") << QList<int>{} << entry("", "", "");
        QTest::newRow("ended, no start") << QList<int>{3, 1} << entry("  Provider: Home Ended: 12:10:05", "", "");
    }
    // clang-format on
    void writesEntries()
    {
        QFETCH(QList<int>, items);
        QFETCH(QByteArray, bytes);
        TempHome home;
        QVERIFY(QDir(home.locations().logsDir()).removeRecursively()); // created at the first write
        const WriteOutcome outcome = ConnectionLog::Write(home.locations(), sampleCall(), withItems(items), {});
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(home.readFile("Logs/Connections.log"), bytes);
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(home.locations().logsDir()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        QVERIFY(ConnectionLog::Write(home.locations(), sampleCall(), withItems(items), {}).ok);
        QCOMPARE(home.readFile("Logs/Connections.log"), bytes + bytes);
    }

    // The options as stored choose the file and the items.
    // clang-format off
    void readsOptionsAndChoosesFile_data()
    {
        QTest::addColumn<QStringList>("stored"); // key, value, key, value...
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("items");
        QTest::newRow("defaults") << QStringList{} << "Home" << "Logs/Connections.log" << QList<int>{};
        QTest::newRow("neither") << QStringList{"1 Log", "0"} << "Home" << "Logs/Connections.log" << QList<int>{};
        QTest::newRow("per provider") << QStringList{"1 Log", "0", "2 LOG", "True"} << "Home" << "Logs/Home.log" << QList<int>{};
        QTest::newRow("per provider wins") << QStringList{"2 Log", "1"} << "Home" << "Logs/Home.log" << QList<int>{};
        QTest::newRow("parent folder") << QStringList{"2 Log", "1"} << "../evil" << "Logs/_._evil.log" << QList<int>{};
        QTest::newRow("truth rule") << QStringList{"1", "true", "2", "-1", "3", "yes", "10", "0", "11", "2"} << "Home"
                                    << "Logs/Connections.log" << QList<int>{1, 2, 11};
    }
    // clang-format on
    void readsOptionsAndChoosesFile()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, provider);
        QFETCH(QString, file);
        QFETCH(QList<int>, items);
        AccountingRig rig;
        for (qsizetype i = 0; i + 1 < stored.size(); i += 2)
            QVERIFY(rig.store.SaveSetting(SettingsLayout::LogSettings(), stored.at(i), stored.at(i + 1)));
        const LogOptions options = LogOptions::read(rig.store);
        QCOMPARE(options.items, withItems(items).items);
        const WriteOutcome outcome = ConnectionLog::Write(rig.home.locations(), sampleCall(provider), options, {});
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.path, QDir(rig.home.path()).filePath(file));
        QVERIFY(rig.home.readFile(file).startsWith('"'));
    }

    // The locale's own forms (the row's name); a short date that is not numeric (the C
    // locale's "14 Mar 2026") gives way to a numeric one.
    // clang-format off
    void systemFormats_data()
    {
        QTest::addColumn<QString>("dateAndTime");
        QTest::newRow("C") << "14/3/2026 13:05:09";
        QTest::newRow("en_US") << "3/14/26 1:05:09 PM";
        QTest::newRow("bg_BG") << QString::fromUtf8("14.03.26 г. 13:05:09 ч."); // quoted literals kept
    }
    // clang-format on
    void systemFormats()
    {
        QFETCH(QString, dateAndTime);
        const QLocale before;
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        QLocale::setDefault(QLocale(QString::fromLatin1(QTest::currentDataTag())));
        const DateTimeFormats formats = DateTimeFormats::fromSystem();
        QCOMPARE(formats.date(QDate(2026, 3, 14)) + u' ' + formats.time(QTime(13, 5, 9)), dateAndTime);
    }

    // The recorder shows why, with the critical icon, and claims no "Log Saved!".
    void reportsFailure()
    {
        AccountingRig rig;
        // Root writes anywhere; a folder in the way stops everyone.
        QVERIFY(QDir(rig.home.path()).mkpath("Logs/Connections.log"));
        const WriteOutcome outcome = ConnectionLog::Write(rig.home.locations(), sampleCall(), withItems({1}), {});
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.error.contains(outcome.path));
        rig.prompter.allowMessages();
        QVERIFY(!rig.recorder.recordCall(sampleCall(), true, false));
        QCOMPARE(rig.prompter.shownTexts(), QStringList(outcome.error));
        QCOMPARE(rig.prompter.shown().first().icon, Prompt::Icon::Critical);
    }
};

QTEST_GUILESS_MAIN(TestConnectionLog)
#include "tst_ConnectionLog.moc"
