#include "reports/ReportTable.h"

#include <QFileInfo>
#include <QTest>

#include "platform/TextFiles.h"
#include "support/TempHome.h"

namespace {

// One row's cells joined with "," (the mark column left out), rows joined with "|".
QString shown(const ReportTable &table)
{
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = table.hasMarkColumn() ? 1 : 0; column < table.columnCount(); ++column)
            cells.append(table.cellText(row, column));
        rows.append(cells.join(','));
    }
    return rows.join('|');
}

QString column(const ReportTable &table, int column)
{
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row)
        cells.append(table.cellText(row, column));
    return cells.join('|');
}

} // namespace

class TestReportTable : public QObject
{
    Q_OBJECT

    TempHome m_home;
    ReportTable m_table{DateTimeFormats{}};

    QString fileWith(const QByteArray &bytes)
    {
        return m_home.writeFile(QStringLiteral("Logs/%1.ini").arg(QTest::currentDataTag()), bytes);
    }

    // Fourteen days, the i-th with i hours online.
    void loadFortnight()
    {
        QByteArray bytes;
        for (int i = 0; i < 14; ++i)
            bytes += QStringLiteral("Home,%1/1/2026,%1:0:0,$1.0000\r\n").arg(i + 1).toUtf8();
        QVERIFY(m_table.load(m_home.writeFile("Logs/DayArchive.ini", bytes), ReportStyle::Daily, {}));
    }

private slots:
    // clang-format off
    void showsTheProvidersRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("rows");
        QTest::newRow("all, in file order") << QByteArray("B,2/1/2026,1:0:0,$1\r\n\r\nA,1/1/2026,0,$0\n") << "[All Providers]" << "B,2/1/2026,1:0:0,$1|A,1/1/2026,0,$0";
        QTest::newRow("exact name and case") << QByteArray("Home,1,2,3\r\nhome,4,5,6\r\nHome 2,7,8,9\r\n") << "Home" << "Home,1,2,3";
        QTest::newRow("quote as stored") << QByteArray("\"Joe's\",1,2,3\r\n\"Joe\",4,5,6\r\n") << "Joe\"s" << "Joe's,1,2,3";
        QTest::newRow("windows-1252 line") << QByteArray("\"M\xFCller\",1,2,3\r\n\"M\xC3\xBCller\",4,5,6\r\n") << QString::fromUtf8("Müller") << QString::fromUtf8("Müller,1,2,3|Müller,4,5,6");
        QTest::newRow("windows-1252 euro") << QByteArray("\x80,1,2,3\r\n") << "" << QString::fromUtf8("€,1,2,3");
        QTest::newRow("short record") << QByteArray("Home,1/1/2026\r\n") << "" << "Home,1/1/2026,,";
        QTest::newRow("none of the provider") << QByteArray("Home,1,2,3\r\n") << "Work" << "";
    }
    // clang-format on
    void showsTheProvidersRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, provider);
        QFETCH(QString, rows);
        QVERIFY(m_table.load(fileWith(bytes), ReportStyle::Daily, provider));
        QCOMPARE(shown(m_table), rows);
        QCOMPARE(m_table.headerText(1), QStringLiteral("Provider"));
    }

    void missingFileIsCreatedEmpty()
    {
        const QString path = QFileInfo(m_home.path() + "/Logs/MonthArchive.ini").filePath();
        QVERIFY(m_table.load(path, ReportStyle::Monthly, {}));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(m_table.rowCount(), 0);
        QCOMPARE(m_table.columnCount(), 5);
        QCOMPARE(m_table.headerText(2), QStringLiteral("Month Date"));
    }

    // Another provider's records come from what was read; a grown file is read again.
    void readsAgainOnlyAChangedFile()
    {
        const QString path = m_home.writeFile("Logs/DayArchive.ini", "Home,1\r\nWork,2\r\n");
        QVERIFY(m_table.load(path, ReportStyle::Daily, "Home"));
        QVERIFY(m_table.load(path, ReportStyle::Daily, "Work"));
        QCOMPARE(shown(m_table), QStringLiteral("Work,2,,"));
        QVERIFY(TextFiles::Append(path, "Work,3\r\n"));
        QVERIFY(m_table.load(path, ReportStyle::Daily, "Work"));
        QCOMPARE(shown(m_table), QStringLiteral("Work,2,,|Work,3,,"));
        QVERIFY(m_table.load(path, ReportStyle::Full, "Work"));
        QCOMPARE(m_table.cellText(0, 10), QString());
    }

    // clang-format off
    void sortsByTheColumnsOrder_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("cells"); // the clicked column's texts, in file order
        QTest::addColumn<int>("clickedColumn");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("sorted");
        QTest::addColumn<QString>("header");
        QTest::newRow("provider as text") << 2 << QStringList{"b", "B", "a"} << 1 << 1 << "B|a|b" << ">> Provider";
        QTest::newRow("date by date") << 2 << QStringList{"2/1/2026", "10/1/2026", "1/2/2025", "5/12/2025"} << 2 << 1 << "1/2/2025|5/12/2025|2/1/2026|10/1/2026" << ">> Date";
        QTest::newRow("time by seconds") << 2 << QStringList{"10:0:0", "9:59:59", "0:0:30", "0"} << 3 << 1 << "0|0:0:30|9:59:59|10:0:0" << ">> Day Time";
        QTest::newRow("descending") << 2 << QStringList{"10:0:0", "9:59:59", "0"} << 3 << 2 << "10:0:0|9:59:59|0" << "<< Day Time";
        QTest::newRow("third click ascending") << 2 << QStringList{"10:0:0", "9:59:59", "0"} << 3 << 3 << "0|9:59:59|10:0:0" << ">> Day Time";
        QTest::newRow("money without symbol") << 2 << QStringList{"$10.0000", "$9.5000", "0,0700 EUR"} << 4 << 1 << "0,0700 EUR|$9.5000|$10.0000" << ">> Day Cost";
        QTest::newRow("numbers before texts") << 2 << QStringList{"n/a", "1:0:0", "", "0:5:0"} << 3 << 1 << "0:5:0|1:0:0||n/a" << ">> Day Time";
        QTest::newRow("texts after numbers, descending") << 2 << QStringList{"n/a", "1:0:0", "0:5:0"} << 3 << 2 << "n/a|1:0:0|0:5:0" << "<< Day Time";
        QTest::newRow("mark column does nothing") << 2 << QStringList{"b", "a"} << 0 << 1 << "b|a" << "Select";
        QTest::newRow("month by month") << 3 << QStringList{"11/2026", "12/2025", "3/2026"} << 2 << 1 << "12/2025|3/2026|11/2026" << ">> Month Date";
        QTest::newRow("call number numerically") << 1 << QStringList{"100", "9", "10"} << 1 << 1 << "9|10|100" << ">> Call Num.";
        QTest::newRow("time of day") << 1 << QStringList{"1:00:00 PM", "11:00:00 AM", "12:30:00 AM"} << 3 << 1 << "12:30:00 AM|11:00:00 AM|1:00:00 PM" << ">> Start Time";
        QTest::newRow("provider of the full table") << 1 << QStringList{"b", "a"} << 0 << 1 << "b|a" << "Provider";
    }
    // clang-format on
    void sortsByTheColumnsOrder()
    {
        QFETCH(int, style);
        QFETCH(QStringList, cells);
        QFETCH(int, clickedColumn);
        QFETCH(int, clicks);
        QFETCH(QString, sorted);
        QFETCH(QString, header);
        const auto reportStyle = ReportStyle(style);
        const int field = clickedColumn - ReportColumns::FirstFieldColumn(reportStyle);
        QByteArray bytes;
        for (const QString &cell : cells) {
            QStringList fields(ReportColumns::FieldCount(reportStyle), QStringLiteral("x"));
            fields[std::max(field, 0)] = cell;
            bytes += '"' + fields.join("\",\"").toUtf8() + "\"\r\n";
        }
        QVERIFY(m_table.load(fileWith(bytes), reportStyle, {}));
        for (int i = 0; i < clicks; ++i)
            m_table.sortByColumn(clickedColumn);
        QCOMPARE(column(m_table, std::max(clickedColumn, ReportColumns::FirstFieldColumn(reportStyle))), sorted);
        QCOMPARE(m_table.headerText(clickedColumn), header);
    }

    // clang-format off
    void readsEachColumnsForm_data()
    {
        using Order = ReportColumns::Order;
        QTest::addColumn<Order>("order");
        QTest::addColumn<QString>("dateFormat");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value"); // -1: a text
        QTest::newRow("duration") << Order::Duration << "" << QByteArray(" 1:02:03\t") << 3723.0;
        QTest::newRow("duration, bare seconds") << Order::Duration << "" << QByteArray("5") << 5.0;
        QTest::newRow("duration, two parts") << Order::Duration << "" << QByteArray("1:2") << -1.0;
        QTest::newRow("time of day") << Order::ClockTime << "" << QByteArray("14:05:09") << 50709.0;
        QTest::newRow("time, afternoon") << Order::ClockTime << "" << QByteArray("2:05:09 PM") << 50709.0;
        QTest::newRow("time, after midnight") << Order::ClockTime << "" << QByteArray("12:00:01 am") << 1.0;
        QTest::newRow("time, unknown suffix") << Order::ClockTime << "" << QByteArray("9:00:00 h") << -1.0;
        QTest::newRow("number") << Order::Number << "" << QByteArray("-1.5") << -1.5;
        QTest::newRow("number, point first") << Order::Number << "" << QByteArray(".5") << 0.5;
        QTest::newRow("number, infinite") << Order::Number << "" << QByteArray("inf") << -1.0;
        QTest::newRow("number, trailing text") << Order::Number << "" << QByteArray("12abc") << -1.0;
        QTest::newRow("money, symbol first") << Order::Money << "" << QByteArray("$1,5000") << 1.5;
        QTest::newRow("money, symbol last") << Order::Money << "" << QByteArray("12.3456 EUR") << 12.3456;
        QTest::newRow("money, no amount") << Order::Money << "" << QByteArray("$") << -1.0;
        QTest::newRow("date, day first") << Order::Date << "d/M/yyyy" << QByteArray("5/12/2025") << 20251205.0;
        QTest::newRow("date, year first") << Order::Date << "yyyy-MM-dd" << QByteArray("2025-12-05") << 20251205.0;
        QTest::newRow("date, month first") << Order::Date << "MM/dd/yyyy" << QByteArray("12/05/2025") << 20251205.0;
        QTest::newRow("date, short year") << Order::Date << "dd.MM.yy" << QByteArray("05.12.25") << 19251205.0;
        QTest::newRow("date, no month") << Order::Date << "d/M/yyyy" << QByteArray("5/13/2025") << -1.0;
        QTest::newRow("date, month names") << Order::Date << "d MMM yyyy" << QByteArray("5 12 2025") << -1.0;
        QTest::newRow("month") << Order::MonthDate << "" << QByteArray("3/2001") << 200103.0;
        QTest::newRow("month out of range") << Order::MonthDate << "" << QByteArray("13/2001") << -1.0;
    }
    // clang-format on
    void readsEachColumnsForm()
    {
        QFETCH(ReportColumns::Order, order);
        QFETCH(QString, dateFormat);
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        const std::optional<double> read = ReportColumns::ReadValue(order, text, ReportColumns::DateReader(dateFormat));
        QCOMPARE(read.value_or(-1.0), value);
    }

    void anotherColumnTakesTheMarker()
    {
        loadFortnight();
        m_table.sortByColumn(3);
        m_table.sortByColumn(2);
        QCOMPARE(m_table.headerText(3), QStringLiteral("Day Time"));
        QCOMPARE(m_table.headerText(2), QStringLiteral(">> Date"));
        QCOMPARE(m_table.cellText(0, 2), QStringLiteral("1/1/2026"));
    }

    // A mark belongs to its record: it follows every sort; the counter counts marked rows.
    void marksTravelWithTheirRecords()
    {
        loadFortnight();
        QVERIFY(m_table.toggleMark(0));
        QVERIFY(!m_table.canPlot());
        QVERIFY(m_table.toggleMark(1));
        QVERIFY(!m_table.toggleMark(1)); // the second click takes the mark away
        QVERIFY(m_table.toggleMark(2));
        QCOMPARE(m_table.markedCount(), 2);
        QVERIFY(m_table.canPlot());
        m_table.sortByColumn(3);
        m_table.sortByColumn(3); // most hours first: the marked days end the table
        QCOMPARE(m_table.markedRows(), (QList<int>{11, 13}));
        QCOMPARE(m_table.cellText(11, 0), QStringLiteral("-->"));
        QCOMPARE(m_table.cellText(11, 3), QStringLiteral("3:0:0"));
        QCOMPARE(m_table.cellText(12, 0), QString());
        for (int row = 0; row < 11; ++row)
            m_table.toggleMark(row);
        QCOMPARE(m_table.markedCount(), 13);
        QCOMPARE(m_table.cellText(0, 0), QStringLiteral("-->"));
        QVERIFY(!m_table.canPlot());
        m_table.toggleMark(13);
        QVERIFY(m_table.canPlot());
        QCOMPARE(m_table.longestText(0), QStringLiteral("-->"));
        QCOMPARE(m_table.longestText(2), QStringLiteral("10/1/2026"));

        loadFortnight(); // a load clears the marks and the counter
        QCOMPARE(m_table.markedCount(), 0);
        QCOMPARE(m_table.markedRows(), QList<int>());
        QVERIFY(m_table.load(fileWith("Home,1\r\n"), ReportStyle::Full, {}));
        QVERIFY(!m_table.toggleMark(0)); // the full table keeps no marks
        QCOMPARE(m_table.markedCount(), 0);
    }

    // clang-format off
    void deletesTheShownRecords_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("one provider") << "Home" << QByteArray("\"Work\",\"2\"\r\nOffice,4\r\n\"Ho'me\",5\r\n\"M\xFC\",5\r\n");
        QTest::newRow("with a quote") << "Ho\"me" << QByteArray("Home,1\r\n\"Work\",\"2\"\r\n\"Home\",\"3\"\r\nOffice,4\r\n\"M\xFC\",5\r\n");
        QTest::newRow("windows-1252 name") << QString::fromUtf8("Mü") << QByteArray("Home,1\r\n\"Work\",\"2\"\r\n\"Home\",\"3\"\r\nOffice,4\r\n\"Ho'me\",5\r\n");
        QTest::newRow("all providers") << "[All Providers]" << QByteArray();
    }
    // clang-format on
    void deletesTheShownRecords()
    {
        QFETCH(QString, provider);
        QFETCH(QByteArray, left);
        const QString path =
            fileWith("Home,1\r\n\"Work\",\"2\"\n\"Home\",\"3\"\r\nOffice,4\r\n\"Ho'me\",5\r\n\"M\xFC\",5\r\n");
        QVERIFY(ReportTable::DeleteRecords(path, ReportStyle::Daily, provider));
        QCOMPARE(m_home.readFile(QFileInfo(path).fileName().prepend("Logs/")), left);
    }
};

QTEST_GUILESS_MAIN(TestReportTable)
#include "tst_ReportTable.moc"
