#include "accounting/HolidayCalendar.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "support/TempHome.h"

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

} // namespace

class TestHolidayCalendar : public QObject
{
    Q_OBJECT

    TempHome m_home;

    QString fileWith(const QByteArray &bytes)
    {
        return m_home.writeFile(QString::fromLatin1(QTest::currentDataTag()) + ".hl", bytes);
    }

private slots:
    // clang-format off
    void loads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("holiday");
        QTest::addColumn<QString>("firstName");
        QByteArray thirty;
        for (int day = 1; day <= 30; ++day)
            thirty += "\"" + QByteArray::number(day) + "/6/2024\",\"Day " + QByteArray::number(day) + "\"\r\n";
        QTest::newRow("no record limit") << thirty << 31 << QDate(2024, 6, 30) << true << "Day 1";
        QTest::newRow("blank records") << QByteArray("\"\",\"\"\r\n,\r\n\"25/12/2024\"\r\n") << 2 << QDate(2024, 12, 25) << true
                                       << QString();
        QTest::newRow("invalid both") << QByteArray("\"31/2/2024\",\"Never\"\r\n") << 2 << QDate() << false << "Never";
    }
    // clang-format on
    void loads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QDate, day);
        QFETCH(bool, holiday);
        QFETCH(QString, firstName);
        HolidayCalendar calendar(fileWith(bytes));
        QVERIFY(calendar.LoadHolidays());
        QCOMPARE(calendar.count(), count);
        QCOMPARE(calendar.isHoliday(day), holiday);
        QCOMPARE(calendar.holidays().value(0).name, firstName);
    }

    // clang-format off
    void missingOrUnreadableLeavesNoHolidays_data()
    {
        QTest::addColumn<bool>("folderInstead"); // else missing, and then created empty
        QTest::newRow("missing") << false;
        QTest::newRow("unreadable") << true;
    }
    // clang-format on
    void missingOrUnreadableLeavesNoHolidays()
    {
        QFETCH(bool, folderInstead);
        const QString path = fileWith("\"25/12/2024\",\"Christmas\"\r\n");
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QVERIFY(QFile::remove(path));
        if (folderInstead)
            QVERIFY(QDir().mkdir(path));
        QCOMPARE(calendar.LoadHolidays(), !folderInstead);
        QCOMPARE(calendar.count(), 1);
        QVERIFY(!calendar.isHoliday(QDate(2024, 12, 25)));
        if (!folderInstead)
            QVERIFY(QFileInfo(path).isFile() && QFileInfo(path).size() == 0);
    }

    // clang-format off
    void parsesDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("single digits") << "1/2/2024" << QDate(2024, 2, 1);
        QTest::newRow("leading zeros") << "01/02/2024" << QDate(2024, 2, 1);
        QTest::newRow("two-digit year") << "1/2/24" << QDate(2024, 2, 1);
        QTest::newRow("blanks around") << " 1/2/2024 " << QDate(2024, 2, 1);
        QTest::newRow("no leap day") << "29/2/2023" << QDate();
        QTest::newRow("three-digit year") << "1/2/124" << QDate();
        QTest::newRow("four parts") << "1/2/2024/5" << QDate();
        QTest::newRow("sign") << "+1/2/2024" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    // clang-format on
    void parsesDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(HolidayCalendar::parseDate(text), date);
        if (date.isValid())
            QCOMPARE(HolidayCalendar::parseDate(HolidayCalendar::formatDate(date)), date);
    }

    // clang-format off
    void saves_data()
    {
        QTest::addColumn<QStringList>("rows"); // date, name, date, name...
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no rows") << QStringList{} << QByteArray("\"1/1/2024\",\"Old\"\r\n");
        QTest::newRow("one empty row") << QStringList{"", ""} << QByteArray();
        QTest::newRow("double quote") << QStringList{"1/5/2025", "\"May\" Day", "2/5/2025", "Next"}
                                      << QByteArray("\"1/5/2025\",\"'May' Day\"\r\n\"2/5/2025\",\"Next\"\r\n");
        QTest::newRow("blank rows dropped") << QStringList{"", "", "1/5/2025", QString::fromUtf8("Fête"), "", ""}
                                            << QByteArray("\"1/5/2025\",\"F\xC3\xAAte\"\r\n");
    }
    // clang-format on
    void saves()
    {
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, bytes);
        const QString path = fileWith("\"1/1/2024\",\"Old\"\r\n");
        HolidayCalendar calendar(path);
        QVERIFY(calendar.LoadHolidays());
        QString error;
        QVERIFY2(calendar.SaveHolidays(rowsOf(rows), &error), qPrintable(error));
        QCOMPARE(m_home.readFile(QFileInfo(path).fileName()), bytes);
        HolidayCalendar reread(path); // what is in memory is what the next start reads
        QVERIFY(reread.LoadHolidays());
        QCOMPARE(flatten(calendar.holidays()), flatten(reread.holidays()));
    }

    void saveFailureKeepsHolidays()
    {
        HolidayCalendar calendar(m_home.path() + "/missing/Holiday.hl");
        QString error;
        QVERIFY(!calendar.SaveHolidays(rowsOf({"1/1/2025", "New Year"}), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!calendar.isHoliday(QDate(2025, 1, 1)));
    }
};

QTEST_GUILESS_MAIN(TestHolidayCalendar)
#include "tst_HolidayCalendar.moc"
