#include "values/Money.h"
#include "values/TimeCounter.h"
#include "values/TimeText.h"

#include <QTest>

// Money and the time texts: the figures and texts every file and window holds.
class TestValues : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void parses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("0.12") << "0.12" << true << qint64(1200);
        QTest::newRow("comma") << "0,12" << true << qint64(1200);
        QTest::newRow("whole") << "150" << true << qint64(1500000);
        QTest::newRow("blanks") << " 2.5 " << true << qint64(25000);
        QTest::newRow("negative") << "-1.5" << true << qint64(-15000);
        QTest::newRow("leading point") << ".5" << true << qint64(5000);
        QTest::newRow("round half up") << "0.00005" << true << qint64(1);
        QTest::newRow("round down") << "0.00004999" << true << qint64(0);
        QTest::newRow("round negative half") << "-0.00005" << true << qint64(-1);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("point only") << "." << false << qint64(0);
        QTest::newRow("two points") << "1.2.3" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("too big") << "99999999999999999999" << false << qint64(0);
        QTest::newRow("too big, zeros") << "100000000000000000000" << false << qint64(0);
        QTest::newRow("largest") << "999999999999.9999" << true << qint64(9999999999999999);
        QTest::newRow("smallest") << "-000999999999999.9999" << true << qint64(-9999999999999999);
        QTest::newRow("13 digits: times 100 would overflow") << "1000000000000" << false << qint64(0);
        QTest::newRow("rounded past the range") << "999999999999.99995" << false << qint64(0);
        QTest::newRow("exponent") << "1e3" << false << qint64(0);
    }
    // clang-format on
    void parses()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, raw);
        const auto money = Money::parse(text);
        QCOMPARE(money.has_value(), valid);
        if (valid)
            QCOMPARE(money->raw(), raw);
    }

    // clang-format off
    void formats_data()
    {
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << "0.0000" << qint64(0) << "0";
        QTest::newRow("0.12") << "0.1200" << qint64(1200) << "0.12";
        QTest::newRow("1350") << "1350.0000" << qint64(13500000) << "1350";
        QTest::newRow("tiny") << "0.0001" << qint64(1) << "0.0001";
        QTest::newRow("negative") << "-1.5000" << qint64(-15000) << "-1.5";
    }
    // clang-format on
    void formats()
    {
        QFETCH(qint64, raw);
        QFETCH(QString, fixed);
        QFETCH(QString, plain);
        QCOMPARE(Money::fromRaw(raw).toFixed(), fixed);
        QCOMPARE(Money::fromRaw(raw).toPlain(), plain);
    }

    void hundredthsConvertExactly()
    {
        QCOMPARE(Money::parseOrZero(u"150").hundredthsToUnits().toFixed(), QString("1.5000"));
        QCOMPARE(Money::parseOrZero(u"1").hundredthsToUnits().toFixed(), QString("0.0100"));
        QCOMPARE(Money::parseOrZero(u"0.005").hundredthsToUnits().toFixed(), QString("0.0001")); // rounded
        QCOMPARE(Money::parseOrZero(u"-0.005").hundredthsToUnits().toFixed(), QString("-0.0001"));
        QCOMPARE(Money::parseOrZero(u"12.3456").unitsToHundredths().toPlain(), QString("1234.56"));
        // Adding a cost of 0.1 ten times is exactly 1, unlike a double.
        Money total;
        for (int i = 0; i < 10; ++i)
            total += Money::parseOrZero(u"0.1");
        QCOMPARE(total.toFixed(), QString("1.0000"));
    }

    // Sums and conversions stop at the range's edges instead of overflowing.
    void arithmeticKeepsTheRange()
    {
        const Money top = Money::fromRaw(Money::kMaxRaw);
        const Money bottom = Money::fromRaw(-Money::kMaxRaw);
        Money total = top;
        for (int minute = 0; minute < 366 * 24 * 60; ++minute)
            total += top;
        QCOMPARE(total, top);
        QCOMPARE(top.unitsToHundredths(), top);
        QCOMPARE(bottom - top, bottom);
        QCOMPARE(Money::fromRaw(std::numeric_limits<qint64>::min()), bottom);
        QCOMPARE(Money::parse(top.unitsToHundredths().toPlain()), top); // stored, read back
    }

    // clang-format off
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
        QTest::newRow("no hours") << ":5:9" << 5;
        QTest::newRow("beyond 16 bits") << "600:0:0" << 36000;
        QTest::newRow("garbage part") << "x:10:0" << 10;
        QTest::newRow("negative part") << "-5:10:0" << 10;
        QTest::newRow("64-bit hours") << "9223372036854775807:0:0" << std::numeric_limits<int>::max();
        QTest::newRow("hours beyond 64 bits") << "99999999999999999999:0:0" << std::numeric_limits<int>::max();
        QTest::newRow("signed, beyond 64 bits") << "+10000000000000000000:0:0" << std::numeric_limits<int>::max();
        QTest::newRow("64-bit seconds") << "0:0:9223372036854775807" << 35791394;
    }
    // clang-format on
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
        QCOMPARE(TimeCounter::fromText("00:00:00"), TimeCounter()); // a reset counter's text
        QCOMPARE(TimeCounter::fromText("-1:x:5"), (TimeCounter{0, 0, 5}));

        // A full counter stops rather than wrapping to zero.
        counter = TimeCounter::fromText("4294967295:59:4294967290");
        counter.addSeconds(3600);
        QCOMPARE(counter.seconds, 4294967295u);
        counter = TimeCounter::fromText("4294967295:59:59");
        counter.addSecond();
        QCOMPARE(counter.hours, 4294967295u);
    }

    // clang-format off
    void todayDateReadsTwoDigitYearsIn2000s_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("5/3/24") << "5/3/24" << QDate(2024, 3, 5);
        QTest::newRow("31/1/99") << "31/1/99" << QDate(2099, 1, 31);
        QTest::newRow("1/2/2023") << "1/2/2023" << QDate(2023, 2, 1);
        QTest::newRow("zero") << "0" << QDate();
        QTest::newRow("not a date") << "31/2/24" << QDate();
    }
    // clang-format on
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

QTEST_GUILESS_MAIN(TestValues)
#include "tst_Values.moc"
