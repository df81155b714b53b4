#include "reports/ReportArchives.h"

#include <QDir>
#include <QTest>

#include "reports/RecordFile.h"
#include "support/TempHome.h"

namespace {

CallRecord sampleCall(const QString &provider, const QString &symbol)
{
    CallRecord call;
    call.provider = provider;
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
    call.currencySymbol = symbol;
    return call;
}

WriteOutcome write(const ReportArchives &archives, const QString &table, const QString &provider, const QString &symbol)
{
    if (table == ReportArchives::dayFileName())
        return archives.WriteDayArchive(provider, QDate(2024, 3, 5), QStringLiteral("0:10:5"), QStringLiteral("1.5000"),
                                        symbol);
    if (table == ReportArchives::monthFileName())
        return archives.WriteMonthArchive(provider, QStringLiteral("3/2024"), QStringLiteral("1:0:0"),
                                          QStringLiteral("13.5000"), symbol);
    return archives.WriteReportRecord(sampleCall(provider, symbol));
}

int fieldCount(const QString &table)
{
    return table == ReportArchives::reportFileName() ? 11 : 4;
}

} // namespace

class TestReportArchives : public QObject
{
    Q_OBJECT

private slots:
    void writesRecords_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("providerReadBack");
        const QString report = ReportArchives::reportFileName();
        const QString day = ReportArchives::dayFileName();
        const QString month = ReportArchives::monthFileName();
        QTest::newRow("report") << report << "Home"
                                << "$"
                                << QByteArray(R"("Home","3","5/3/2024","12:00:00","12:10:05","00:10:05","$1.5000",)"
                                              R"("0:10:5","1:0:0","10:0:0","$13.5000")"
                                              "\r\n")
                                << "Home";
        QTest::newRow("report without symbol")
            << report << "Home"
            << ""
            << QByteArray(R"("Home","3","5/3/2024","12:00:00","12:10:05","00:10:05","1.5000",)"
                          R"("0:10:5","1:0:0","10:0:0","13.5000")"
                          "\r\n")
            << "Home";
        QTest::newRow("report utf-8") << report << QString::fromUtf8("Müller") << QString::fromUtf8("€")
                                      << QByteArray("\"M\xC3\xBCller\",\"3\",\"5/3/2024\",\"12:00:00\",\"12:10:05\","
                                                    "\"00:10:05\",\"\xE2\x82\xAC"
                                                    "1.5000\",\"0:10:5\",\"1:0:0\",\"10:0:0\",\"\xE2\x82\xAC"
                                                    "13.5000\"\r\n")
                                      << QString::fromUtf8("Müller");
        QTest::newRow("report quote in name")
            << report << "Bob \"B\" Net"
            << "$"
            << QByteArray(R"("Bob 'B' Net","3","5/3/2024","12:00:00","12:10:05","00:10:05","$1.5000",)"
                          R"("0:10:5","1:0:0","10:0:0","$13.5000")"
                          "\r\n")
            << "Bob 'B' Net";
        QTest::newRow("day") << day << "Home"
                             << "$" << QByteArray("\"Home\",\"5/3/2024\",\"0:10:5\",\"$1.5000\"\r\n") << "Home";
        QTest::newRow("day comma in name")
            << day << "Home, office"
            << "" << QByteArray("\"Home, office\",\"5/3/2024\",\"0:10:5\",\"1.5000\"\r\n") << "Home, office";
        QTest::newRow("month") << month << "Home"
                               << "$" << QByteArray("\"Home\",\"3/2024\",\"1:0:0\",\"$13.5000\"\r\n") << "Home";
        QTest::newRow("month quote in name")
            << month << "\"Home\""
            << "$" << QByteArray("\"'Home'\",\"3/2024\",\"1:0:0\",\"$13.5000\"\r\n") << "'Home'";
    }
    void writesRecords()
    {
        QFETCH(QString, table);
        QFETCH(QString, provider);
        QFETCH(QString, symbol);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, providerReadBack);
        TempHome home;
        const ReportArchives archives(home.locations(), DateTimeFormats());
        const WriteOutcome outcome = write(archives, table, provider, symbol);
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.path, archives.path(table));
        QCOMPARE(home.readFile("Logs/" + table), bytes);

        // A second record lands on its own line and both read back whole.
        QVERIFY(write(archives, table, provider, symbol).ok);
        const RecordFile::ReadResult read = RecordFile::ReadRecords(archives.path(table), fieldCount(table));
        QVERIFY(read.ok);
        QCOMPARE(read.records.size(), 2);
        QCOMPARE(read.records.at(0), read.records.at(1));
        QCOMPARE(read.records.at(0).front(), providerReadBack);
        // The record has no more fields than the table: nothing was shifted.
        QCOMPARE(RecordFile::ParseLine(QString::fromUtf8(bytes.trimmed()), fieldCount(table) + 1).back(), QString());
    }

    void readsBackTheReport()
    {
        TempHome home;
        const ReportArchives archives(home.locations(), DateTimeFormats());
        QVERIFY(archives.WriteReportRecord(sampleCall("Home", "$")).ok);
        QVERIFY(archives.WriteReportRecord(sampleCall("Work", "")).ok);
        const RecordFile::ReadResult read =
            RecordFile::ReadRecords(archives.path(ReportArchives::reportFileName()), 11);
        QVERIFY(read.ok);
        QCOMPARE(read.records, (QList<QStringList>{
                                   {"Home", "3", "5/3/2024", "12:00:00", "12:10:05", "00:10:05", "$1.5000", "0:10:5",
                                    "1:0:0", "10:0:0", "$13.5000"},
                                   {"Work", "3", "5/3/2024", "12:00:00", "12:10:05", "00:10:05", "1.5000", "0:10:5",
                                    "1:0:0", "10:0:0", "13.5000"},
                               }));
    }

    void usesTheGivenFormats()
    {
        TempHome home;
        DateTimeFormats formats;
        formats.shortDate = QStringLiteral("dd.MM.yy");
        formats.timeWithSeconds = QStringLiteral("h:mm:ss AP");
        const ReportArchives archives(home.locations(), formats);
        QVERIFY(archives.WriteReportRecord(sampleCall("Home", "$")).ok);
        QVERIFY(home.readFile("Logs/Report.ini").startsWith(R"("Home","3","05.03.24","12:00:00 PM","12:10:05 PM",)"));
    }

    void keepsACutShortRecordApart()
    {
        TempHome home;
        home.writeFile("Logs/DayArchive.ini", "\"Home\",\"4/3/2024\",\"0:");
        const ReportArchives archives(home.locations(), DateTimeFormats());
        QVERIFY(archives.WriteDayArchive("Home", QDate(2024, 3, 5), "0:10:5", "1.5000", "$").ok);
        const RecordFile::ReadResult read = RecordFile::ReadRecords(archives.path(ReportArchives::dayFileName()), 4);
        QCOMPARE(read.records.size(), 2);
        QCOMPARE(read.records.at(1), (QStringList{"Home", "5/3/2024", "0:10:5", "$1.5000"}));
    }

    void createsTheFolder()
    {
        TempHome home;
        QVERIFY(QDir(home.locations().logsDir()).removeRecursively());
        const ReportArchives archives(home.locations(), DateTimeFormats());
        QVERIFY(archives.WriteMonthArchive("Home", "3/2024", "1:0:0", "13.5000", "$").ok);
        QVERIFY(home.readFile("Logs/MonthArchive.ini").startsWith("\"Home\""));
    }

    void reportsFailure_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("report") << ReportArchives::reportFileName();
        QTest::newRow("day") << ReportArchives::dayFileName();
        QTest::newRow("month") << ReportArchives::monthFileName();
    }
    void reportsFailure()
    {
        QFETCH(QString, table);
        TempHome home;
        // Root may write anywhere; a folder in the file's place stops everyone.
        QVERIFY(QDir(home.locations().logsDir()).mkdir(table));
        const ReportArchives archives(home.locations(), DateTimeFormats());
        const WriteOutcome outcome = write(archives, table, "Home", "$");
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.path, archives.path(table));
        QVERIFY(outcome.error.contains(outcome.path));
    }
};

QTEST_GUILESS_MAIN(TestReportArchives)
#include "tst_ReportArchives.moc"
