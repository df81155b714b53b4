#include "values/TimeCounter.h"
#include "values/TimeText.h"

#include <QTest>

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void minutesRoundHalfToEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");
        QTest::newRow("1:30:0") << "1:30:0" << 90;
        QTest::newRow("0:0:30") << "0:0:30" << 0;
        QTest::newRow("0:1:30") << "0:1:30" << 2;
        QTest::newRow("0:2:30") << "0:2:30" << 2;
        QTest::newRow("0:2:31") << "0:2:31" << 3;
        QTest::newRow("no colons") << "15" << 0;
        QTest::newRow("padded") << "01:05:09" << 65;
        QTest::newRow("beyond 16 bits") << "600:0:0" << 36000;
        QTest::newRow("garbage part") << "x:10:0" << 10;
        QTest::newRow("negative part") << "-5:10:0" << 10;
        QTest::newRow("64-bit hours") << "9223372036854775807:0:0" << std::numeric_limits<int>::max();
        QTest::newRow("hours beyond 64 bits") << "99999999999999999999:0:0" << std::numeric_limits<int>::max();
        QTest::newRow("64-bit seconds") << "0:0:9223372036854775807" << 35791394;
    }
    void minutesRoundHalfToEven()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        QCOMPARE(TimeTextToMinutes(text), minutes);
    }

    void counterTextsAndCarry()
    {
        TimeCounter counter = TimeCounter::fromText("0:59:59");
        counter.addSecond();
        QCOMPARE(counter.plainText(), QString("1:0:0"));
        QCOMPARE(counter.paddedText(), QString("01:00:00"));

        counter = TimeCounter::fromText("0:0:55");
        counter.addSeconds(10);
        QCOMPARE(counter.plainText(), QString("0:0:65"));
        counter.addSecond();
        QCOMPARE(counter.plainText(), QString("0:1:6"));

        // Hours are not a byte: 300 hours load, count on and save.
        counter = TimeCounter::fromText("300:59:59");
        counter.addSecond();
        QCOMPARE(counter.plainText(), QString("301:0:0"));
        QCOMPARE(TimeCounter::fromText("123:04:05").paddedText(), QString("123:04:05"));
        QCOMPARE(TimeCounter::fromText("15"), TimeCounter());
        QCOMPARE(TimeCounter::fromText("-1:x:5"), (TimeCounter{0, 0, 5}));

        // A full counter stops rather than wrapping to zero.
        counter = TimeCounter::fromText("4294967295:59:4294967290");
        counter.addSeconds(3600);
        QCOMPARE(counter.seconds, 4294967295u);
        counter = TimeCounter::fromText("4294967295:59:59");
        counter.addSecond();
        QCOMPARE(counter.hours, 4294967295u);
    }

    void todayDateReadsTwoDigitYearsIn2000s_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("5/3/24") << "5/3/24" << QDate(2024, 3, 5);
        QTest::newRow("31/1/99") << "31/1/99" << QDate(2099, 1, 31);
        QTest::newRow("1/2/2023") << "1/2/2023" << QDate(2023, 2, 1);
        QTest::newRow("zero") << "0" << QDate();
        QTest::newRow("not a date") << "31/2/24" << QDate();
        QTest::newRow("word") << "today" << QDate();
    }
    void todayDateReadsTwoDigitYearsIn2000s()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(ParseTodayDate(text), date);
        if (date.isValid())
            QCOMPARE(ParseTodayDate(FormatTodayDate(date)), date);
    }

    void smallHelpers()
    {
        QCOMPARE(FormatTodayDate(QDate(2024, 3, 5)), QString("5/3/24"));
        QCOMPARE(FormatTodayDate(QDate(2009, 12, 25)), QString("25/12/09"));
        QCOMPARE(MonthKey(QDate(2024, 3, 31)), QString("3/2024"));
        QCOMPARE(TextBeforeNull(QString("abc") + QChar(0) + "def"), QString("abc"));
        QCOMPARE(TextBeforeNull(QString(QChar(0)) + "x"), QString());
        QCOMPARE(TextBeforeNull("Home ISP"), QString("Home ISP"));
        const TimeParts parts = SplitTimeText("12:5:0");
        QCOMPARE(parts.hours + "|" + parts.minutes + "|" + parts.seconds, QString("12|5|0"));
    }
};

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_TimeText.moc"
