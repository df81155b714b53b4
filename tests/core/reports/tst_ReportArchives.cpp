#include "reports/ReportArchives.h"

#include <QDir>
#include <QTest>

#include "support/AccountingRig.h"

namespace {

WriteOutcome write(const AccountingRig &rig, const QString &table, const QString &provider, const QString &symbol)
{
    const ReportArchives &archives = rig.archives;
    if (table == ReportArchives::dayFileName())
        return archives.WriteDayArchive(provider, QDate(2024, 3, 5), "0:10:5", "1.5000", symbol);
    if (table == ReportArchives::monthFileName())
        return archives.WriteMonthArchive(provider, "3/2024", "1:0:0", "13.5000", symbol);
    return archives.WriteReportRecord(sampleCall(provider, symbol));
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
        AccountingRig rig;
        QVERIFY(QDir(rig.home.locations().logsDir()).removeRecursively()); // created at the first write
        const WriteOutcome outcome = write(rig, table, provider, symbol);
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(rig.home.readFile("Logs/" + table), bytes);
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
        AccountingRig rig;
        rig.home.writeFile("Logs/DayArchive.ini", before);
        QVERIFY(write(rig, ReportArchives::dayFileName(), "Home", "$").ok);
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"),
                 before + lineEnd + "\"Home\",\"5/3/2024\",\"0:10:5\",\"$1.5000\"\r\n");
    }

    void reportsFailure()
    {
        AccountingRig rig;
        for (const QString &table :
             {ReportArchives::reportFileName(), ReportArchives::dayFileName(), ReportArchives::monthFileName()}) {
            QVERIFY(QDir(rig.home.locations().logsDir()).mkdir(table)); // root writes anywhere; a folder stops everyone
            const WriteOutcome outcome = write(rig, table, "Home", "$");
            QVERIFY(!outcome.ok);
            QVERIFY2(outcome.error.contains(rig.archives.path(table)), qPrintable(table));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportArchives)
#include "tst_ReportArchives.moc"
