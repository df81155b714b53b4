#include "reports/CsvExport.h"
#include "reports/PrintLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/TextTableModel.h"

namespace {

// "a|b" holds two cells.
TextTableModel table(const QString &headers, const QStringList &rows)
{
    QList<QStringList> cells;
    for (const QString &row : rows)
        cells << row.split(QLatin1Char('|'));
    return TextTableModel(headers.split(QLatin1Char('|')), cells);
}

// "T600:0+13" is the page with the title, the table at 600, rows 0 to 12; pages apart by blanks.
QString describe(const QList<PrintPage> &pages)
{
    QStringList parts;
    for (const PrintPage &page : pages)
        parts << QStringLiteral("%1%2:%3+%4")
                     .arg(page.hasTitle ? QStringLiteral("T") : QString())
                     .arg(page.tableTop)
                     .arg(page.firstRow)
                     .arg(page.rowCount);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT

private slots:
    // At 1440 units an inch the title line sits at 500; the title block, header and rows follow.
    // clang-format off
    void paginates_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("resolution");
        QTest::addColumn<int>("pageHeight");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<QString>("pages");
        QTest::newRow("first page just full") << 13 << 1440 << 2000 << 100 << "T600:0+13";
        QTest::newRow("one row more") << 14 << 1440 << 2000 << 100 << "T600:0+13 0:13+1";
        QTest::newRow("last page partial") << 56 << 1440 << 2000 << 100 << "T600:0+13 0:13+19 0:32+19 0:51+5";
        QTest::newRow("empty table") << 0 << 1440 << 2000 << 100 << "T600:0+0";
        QTest::newRow("title top rounded") << 40 << 97 << 701 << 26 << "T134:0+17 0:17+23";
        QTest::newRow("row taller than a page") << 3 << 1440 << 500 << 600 << "T600:0+1 0:1+1 0:2+1";
    }
    // clang-format on
    void paginates()
    {
        QFETCH(int, rows);
        QFETCH(int, resolution);
        QFETCH(int, pageHeight);
        QFETCH(int, rowHeight);
        QFETCH(QString, pages);
        const PrintMetrics metrics{pageHeight, resolution, 100, 100, rowHeight};
        QCOMPARE(describe(PrintLayout::Paginate(rows, metrics)), pages);
    }

    // Widths measured as 10 a character, 30 for a W, plus 5 of padding.
    // clang-format off
    void fitsColumnWidths_data()
    {
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("shorter but wider") << "H" << QStringList{"abcde", "WWWW", "abcdef"} << QList<int>{125};
        QTest::newRow("longest last of many") << "H" << QStringList{"a", "b", "c", "d", "e", "abc"} << QList<int>{35};
        QTest::newRow("each column, header widest") << "A|Header" << QStringList{"xxxx|y", "x|W"} << QList<int>{45, 65};
    }
    // clang-format on
    void fitsColumnWidths()
    {
        QFETCH(QString, headers);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, widths);
        const auto measure = [](const QString &text) {
            return static_cast<int>(text.size() * 10 + text.count(QLatin1Char('W')) * 20);
        };
        QCOMPARE(PrintLayout::FitColumnWidths(table(headers, rows), measure, 5), widths);
    }

    // clang-format off
    void formatsCsv_data()
    {
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("plain utf-8") << "Provider|Cost" << QStringList{"Müller|1 €", "|"} << 0 << QByteArray("Provider,Cost\r\nM\xC3\xBCller,1 \xE2\x82\xAC\r\n,\r\n");
        QTest::newRow("comma, quotes") << "A|B" << QStringList{"Office, 2nd|say \"hi\""} << 0 << QByteArray("A,B\r\n\"Office, 2nd\",\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line breaks") << "A|B" << QStringList{"a\nb|c\rd"} << 0 << QByteArray("A,B\r\n\"a\nb\",\"c\rd\"\r\n");
        QTest::newRow("sort markers") << ">> Date|<< Cost" << QStringList{} << 0 << QByteArray("Date,Cost\r\n");
        QTest::newRow("not a marker") << "<<Cost|a >> b" << QStringList{} << 0 << QByteArray("<<Cost,a >> b\r\n");
        QTest::newRow("mark column left out") << "Select|Provider|Day" << QStringList{"-->|Home|1"} << 1 << QByteArray("Provider,Day\r\nHome,1\r\n");
    }
    // clang-format on
    void formatsCsv()
    {
        QFETCH(QString, headers);
        QFETCH(QStringList, rows);
        QFETCH(int, firstColumn);
        QFETCH(QByteArray, csv);
        QCOMPARE(CsvExport::Format(table(headers, rows), firstColumn), csv);
    }

    void writesCsvFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table.csv"));
        const TextTableModel big(TextTableModel::numberedHeaders(3), TextTableModel::numberedRows(5000, 3));
        QString error;
        QVERIFY(CsvExport::Write(big, path, 0, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), 5001);
        QVERIFY(bytes.endsWith("\r\nr4999c0,r4999c1,r4999c2\r\n"));
        QCOMPARE(CsvExport::Format(big), bytes);

        const QString missingFolder = dir.filePath(QStringLiteral("none/table.csv"));
        QVERIFY(!CsvExport::Write(big, missingFolder, 0, &error));
        QVERIFY(error.contains(missingFolder));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("table.csv")});
    }
};

QTEST_GUILESS_MAIN(TestReportOutput)
#include "tst_ReportOutput.moc"
