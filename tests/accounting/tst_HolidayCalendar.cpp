#include "accounting/HolidayCalendar.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// date, name, date, name...: easy to write in a table and to compare.
QStringList flatten(const QList<Holiday> &holidays)
{
    QStringList cells;
    for (const Holiday &holiday : holidays)
        cells << holiday.dateText << holiday.name;
    return cells;
}

QList<Holiday> rowsOf(const QStringList &cells)
{
    QList<Holiday> rows;
    for (qsizetype i = 0; i + 1 < cells.size(); i += 2)
        rows.append({cells.at(i), cells.at(i + 1)});
    return rows;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray thirtyHolidays()
{
    QByteArray bytes;
    for (int day = 1; day <= 30; ++day)
        bytes += "\"" + QByteArray::number(day) + "/6/2024\",\"Day " + QByteArray::number(day) + "\"\r\n";
    return bytes;
}

} // namespace

class TestHolidayCalendar : public QObject
{
    Q_OBJECT

private slots:
    void loads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("holiday");
        QTest::addColumn<QString>("firstName");
        const QDate christmas(2024, 12, 25);
        QTest::newRow("empty file") << QByteArray() << 1 << christmas << false << QString();
        QTest::newRow("one record") << QByteArray("\"25/12/2024\",\"Christmas\"\r\n") << 2 << christmas << true
                                    << "Christmas";
        QTest::newRow("no record limit") << thirtyHolidays() << 31 << QDate(2024, 6, 30) << true << "Day 1";
        QTest::newRow("other day") << QByteArray("\"25/12/2024\",\"Christmas\"\r\n") << 2 << QDate(2024, 12, 26)
                                   << false << "Christmas";
        QTest::newRow("columns swapped never match")
            << QByteArray("\"Christmas\",\"25/12/2024\"\r\n") << 2 << christmas << false << "25/12/2024";
        QTest::newRow("two-digit year and zeros")
            << QByteArray("\"01/05/25\",\"May Day\"\n") << 2 << QDate(2025, 5, 1) << true << "May Day";
        QTest::newRow("blank records skipped") << QByteArray("\"\",\"\"\r\n,\r\n\"25/12/2024\",\"Christmas\"\r\n") << 2
                                               << christmas << true << "Christmas";
        QTest::newRow("date without name") << QByteArray("\"25/12/2024\"\r\n") << 2 << christmas << true << QString();
        QTest::newRow("windows-1252 name") << QByteArray("\"14/7/2024\",\"F\xEAte nationale\"\r\n") << 2
                                           << QDate(2024, 7, 14) << true << QString::fromUtf8("Fête nationale");
        QTest::newRow("invalid day asked")
            << QByteArray("\"31/2/2024\",\"Never\"\r\n") << 2 << QDate() << false << "Never";
    }
    void loads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QDate, day);
        QFETCH(bool, holiday);
        QFETCH(QString, firstName);
        QTemporaryDir dir;
        const QString path = dir.filePath("Holiday.hl");
        QVERIFY(writeBytes(path, bytes));
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QCOMPARE(calendar.count(), count);
        QCOMPARE(calendar.isHoliday(day), holiday);
        if (!calendar.holidays().isEmpty())
            QCOMPARE(calendar.holidays().front().name, firstName);
    }

    void missingFileIsCreatedEmpty()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Holiday.hl");
        QVERIFY(writeBytes(path, "\"25/12/2024\",\"Christmas\"\r\n\"26/12/2024\",\"Boxing Day\"\r\n"));
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QVERIFY(QFile::remove(path));

        QVERIFY(calendar.LoadHolidays());
        QCOMPARE(calendar.count(), 3);
        QVERIFY(calendar.isHoliday(QDate(2024, 12, 26)));
        QVERIFY(QFile::exists(path));
        QCOMPARE(readBytes(path), QByteArray());
    }

    void unreadableFileKeepsHolidays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Holiday.hl");
        QVERIFY(writeBytes(path, "\"25/12/2024\",\"Christmas\"\r\n"));
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));

        QVERIFY(!calendar.LoadHolidays());
        QCOMPARE(calendar.count(), 2);
        QVERIFY(calendar.isHoliday(QDate(2024, 12, 25)));
    }

    void parsesDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("d/m/yyyy") << "25/12/2024" << QDate(2024, 12, 25);
        QTest::newRow("single digits") << "1/2/2024" << QDate(2024, 2, 1);
        QTest::newRow("leading zeros") << "01/02/2024" << QDate(2024, 2, 1);
        QTest::newRow("two-digit year") << "1/2/24" << QDate(2024, 2, 1);
        QTest::newRow("blanks around") << " 1/2/2024 " << QDate(2024, 2, 1);
        QTest::newRow("leap day") << "29/2/2024" << QDate(2024, 2, 29);
        QTest::newRow("no leap day") << "29/2/2023" << QDate();
        QTest::newRow("month 13") << "1/13/2024" << QDate();
        QTest::newRow("three-digit year") << "1/2/124" << QDate();
        QTest::newRow("iso") << "2024-12-25" << QDate();
        QTest::newRow("two parts") << "25/12" << QDate();
        QTest::newRow("four parts") << "1/2/2024/5" << QDate();
        QTest::newRow("sign") << "+1/2/2024" << QDate();
        QTest::newRow("blank inside") << "1/ 2/2024" << QDate();
        QTest::newRow("words") << "Christmas" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void parsesDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(HolidayCalendar::parseDate(text), date);
    }

    void formatsDates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("no zeros") << QDate(2024, 3, 5) << "5/3/2024";
        QTest::newRow("two digits") << QDate(2024, 12, 25) << "25/12/2024";
        QTest::newRow("invalid") << QDate() << "";
    }
    void formatsDates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(HolidayCalendar::formatDate(date), text);
        if (date.isValid())
            QCOMPARE(HolidayCalendar::parseDate(text), date);
    }

    void saves_data()
    {
        QTest::addColumn<QStringList>("rows"); // date, name, date, name...
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("holidays");
        const QByteArray before("\"1/1/2024\",\"Old\"\r\n");
        QTest::newRow("no rows leave the file") << QStringList{} << before << QStringList{"1/1/2024", "Old"};
        QTest::newRow("one empty row empties it") << QStringList{"", ""} << QByteArray() << QStringList{};
        QTest::newRow("records in order") << QStringList{"25/12/2024", "Christmas", "1/1/2025", "New Year"}
                                          << QByteArray("\"25/12/2024\",\"Christmas\"\r\n\"1/1/2025\",\"New Year\"\r\n")
                                          << QStringList{"25/12/2024", "Christmas", "1/1/2025", "New Year"};
        QTest::newRow("comma in name") << QStringList{"1/5/2025", "Labour, May Day"}
                                       << QByteArray("\"1/5/2025\",\"Labour, May Day\"\r\n")
                                       << QStringList{"1/5/2025", "Labour, May Day"};
        QTest::newRow("double quote in name") << QStringList{"1/5/2025", "\"May\" Day", "2/5/2025", "Next"}
                                              << QByteArray("\"1/5/2025\",\"'May' Day\"\r\n\"2/5/2025\",\"Next\"\r\n")
                                              << QStringList{"1/5/2025", "'May' Day", "2/5/2025", "Next"};
        QTest::newRow("blank rows dropped")
            << QStringList{"", "", "1/5/2025", "May Day", "", ""} << QByteArray("\"1/5/2025\",\"May Day\"\r\n")
            << QStringList{"1/5/2025", "May Day"};
        QTest::newRow("utf-8 name") << QStringList{"14/7/2024", QString::fromUtf8("Fête")}
                                    << QByteArray("\"14/7/2024\",\"F\xC3\xAAte\"\r\n")
                                    << QStringList{"14/7/2024", QString::fromUtf8("Fête")};
    }
    void saves()
    {
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, holidays);
        QTemporaryDir dir;
        const QString path = dir.filePath("Holiday.hl");
        QVERIFY(writeBytes(path, "\"1/1/2024\",\"Old\"\r\n"));
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());

        QString error;
        QVERIFY2(calendar.SaveHolidays(rowsOf(rows), &error), qPrintable(error));
        QCOMPARE(readBytes(path), bytes);
        QCOMPARE(flatten(calendar.holidays()), holidays);

        // What is in memory is what the next start reads.
        HolidayCalendar reread(path);
        QVERIFY(reread.LoadHolidays());
        QCOMPARE(flatten(reread.holidays()), holidays);
        QCOMPARE(reread.count(), calendar.count());
    }

    void saveFailureKeepsHolidays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Holiday.hl");
        QVERIFY(writeBytes(path, "\"25/12/2024\",\"Christmas\"\r\n"));
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));

        QString error;
        QVERIFY(!calendar.SaveHolidays(rowsOf({"1/1/2025", "New Year"}), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(calendar.isHoliday(QDate(2024, 12, 25)));
        QVERIFY(!calendar.isHoliday(QDate(2025, 1, 1)));
    }
};

QTEST_GUILESS_MAIN(TestHolidayCalendar)
#include "tst_HolidayCalendar.moc"
