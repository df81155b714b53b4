#include "reports/ReportArchives.h"

#include <QDir>
#include <QTest>

#include "support/TempHome.h"

namespace {

WriteOutcome write(const ReportArchives &archives, const QString &table, const QString &provider, const QString &symbol)
{
    if (table == ReportArchives::dayFileName())
        return archives.WriteDayArchive(provider, QDate(2024, 3, 5), "0:10:5", "1.5000", symbol);
    if (table == ReportArchives::monthFileName())
        return archives.WriteMonthArchive(provider, "3/2024", "1:0:0", "13.5000", symbol);
    return archives.WriteReportRecord(CallRecord{provider, "3", QDate(2024, 3, 5), QTime(12, 0, 0), QTime(12, 10, 5),
                                                 "00:10:05", "1.5000", "0:10:5", "1:0:0", "10:0:0", "13.5000", "Night",
                                                 symbol});
}

} // namespace

class TestReportArchives : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void writesRecords_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("report") << ReportArchives::reportFileName() << "Home" << "$"
                                << QByteArray("\"Home\",\"3\",\"5/3/2024\",\"12:00:00\",\"12:10:05\",\"00:10:05\","
                                              "\"$1.5000\",\"0:10:5\",\"1:0:0\",\"10:0:0\",\"$13.5000\"\r\n");
        QTest::newRow("day, comma in name") << ReportArchives::dayFileName() << "Home, office" << "$"
                                            << QByteArray("\"Home, office\",\"5/3/2024\",\"0:10:5\",\"$1.5000\"\r\n");
        QTest::newRow("month, quoted name") << ReportArchives::monthFileName() << "\"Home\"" << ""
                                            << QByteArray("\"'Home'\",\"3/2024\",\"1:0:0\",\"13.5000\"\r\n");
    }
    // clang-format on
    void writesRecords()
    {
        QFETCH(QString, table);
        QFETCH(QString, provider);
        QFETCH(QString, symbol);
        QFETCH(QByteArray, bytes);
        TempHome home;
        QVERIFY(QDir(home.locations().logsDir()).removeRecursively()); // created at the first write
        const ReportArchives archives(home.locations(), DateTimeFormats());
        const WriteOutcome outcome = write(archives, table, provider, symbol);
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(home.readFile("Logs/" + table), bytes);
    }

    // A last line cut short (a full disk, a crash) gets its line end before the next record.
    // clang-format off
    void repairsTheLastLineEnd_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
        QTest::newRow("cut short") << QByteArray("\"Home\",\"4/3/2024\",\"0:") << QByteArray("\r\n");
        QTest::newRow("whole line") << QByteArray("\"Home\",\"4/3/2024\",\"0:1:0\",\"$1\"\n") << QByteArray();
    }
    // clang-format on
    void repairsTheLastLineEnd()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, lineEnd);
        TempHome home;
        home.writeFile("Logs/DayArchive.ini", before);
        const ReportArchives archives(home.locations(), DateTimeFormats());
        QVERIFY(write(archives, ReportArchives::dayFileName(), "Home", "$").ok);
        QCOMPARE(home.readFile("Logs/DayArchive.ini"),
                 before + lineEnd + "\"Home\",\"5/3/2024\",\"0:10:5\",\"$1.5000\"\r\n");
    }

    void reportsFailure()
    {
        TempHome home;
        const ReportArchives archives(home.locations(), DateTimeFormats());
        for (const QString &table :
             {ReportArchives::reportFileName(), ReportArchives::dayFileName(), ReportArchives::monthFileName()}) {
            QVERIFY(QDir(home.locations().logsDir()).mkdir(table)); // root writes anywhere; a folder stops everyone
            const WriteOutcome outcome = write(archives, table, "Home", "$");
            QVERIFY(!outcome.ok);
            QVERIFY2(outcome.error.contains(archives.path(table)), qPrintable(table));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportArchives)
#include "tst_ReportArchives.moc"
