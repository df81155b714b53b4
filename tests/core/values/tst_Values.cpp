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
    void parsesAndFormats_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown"); // fixed and plain; empty: no amount
        QTest::newRow("comma") << "0,12" << "0.1200 0.12";
        QTest::newRow("whole") << "150" << "150.0000 150";
        QTest::newRow("blanks") << " 2.5 " << "2.5000 2.5";
        QTest::newRow("negative") << "-1.5" << "-1.5000 -1.5";
        QTest::newRow("leading point") << ".5" << "0.5000 0.5";
        QTest::newRow("round half up") << "0.00005" << "0.0001 0.0001";
        QTest::newRow("round down") << "0.00004999" << "0.0000 0";
        QTest::newRow("round negative half") << "-0.00005" << "-0.0001 -0.0001";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("point only") << "." << "";
        QTest::newRow("two points") << "1.2.3" << "";
        QTest::newRow("sign only") << "-" << "";
        QTest::newRow("zeros past 64 bits") << "1" + QString(64, '0') << "";
        QTest::newRow("largest") << "999999999999.9999" << "999999999999.9999 999999999999.9999";
        QTest::newRow("smallest") << "-000999999999999.9999" << "-999999999999.9999 -999999999999.9999";
        QTest::newRow("13 digits: times 100 would overflow") << "1000000000000" << "";
        QTest::newRow("rounded past the range") << "999999999999.99995" << "";
        QTest::newRow("exponent") << "1e3" << "";
    }
    // clang-format on
    void parsesAndFormats()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        const auto money = Money::parse(text);
        QCOMPARE(money ? money->toFixed() + ' ' + money->toPlain() : QString(), shown);
    }

    void hundredthsConvertExactly()
    {
        QCOMPARE(Money::parseOrZero(u"150").hundredthsToUnits().toFixed(), QString("1.5000"));
        QCOMPARE(Money::parseOrZero(u"0.005").hundredthsToUnits().toFixed(), QString("0.0001")); // rounded
        QCOMPARE(Money::parseOrZero(u"-0.005").hundredthsToUnits().toFixed(), QString("-0.0001"));
        QCOMPARE(Money::parseOrZero(u"12.3456").unitsToHundredths().toPlain(), QString("1234.56"));
    }

    // Sums and conversions stop at the range's edges instead of overflowing.
    void arithmeticKeepsTheRange()
    {
        const Money top = Money::fromRaw(Money::kMaxRaw);
        const Money bottom = Money::fromRaw(-Money::kMaxRaw);
        Money total = top;
        total += top;
        QCOMPARE(total, top);
        QCOMPARE(top.unitsToHundredths(), top);
        QCOMPARE(bottom - top, bottom);
        QCOMPARE(Money::fromRaw(std::numeric_limits<qint64>::min()), bottom);
        QCOMPARE(Money::parse(top.unitsToHundredths().toPlain()), top); // stored, read back
    }

    // clang-format off
    void divisionRoundsHalfToEven_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<qint64>("parts");
        QTest::addColumn<QString>("share");
        QTest::newRow("2 by 3: up") << "2" << qint64(3) << "0.6667";
        QTest::newRow("half down to even") << "0.0001" << qint64(2) << "0.0000";
        QTest::newRow("half up to even") << "0.0003" << qint64(2) << "0.0002";
        QTest::newRow("negative half to even") << "-0.0003" << qint64(2) << "-0.0002";
        QTest::newRow("negative parts") << "1" << qint64(-3) << "-0.3333";
        QTest::newRow("no parts") << "5" << qint64(0) << "0.0000";
    }
    // clang-format on
    void divisionRoundsHalfToEven()
    {
        QFETCH(QString, amount);
        QFETCH(qint64, parts);
        QTEST(Money::parseOrZero(amount).dividedBy(parts).toFixed(), "share");
    }

    // clang-format off
    void minutesRoundHalfToEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");
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
        QTest::newRow("sign before a letter") << "+x1:5:0" << 5;
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
        TimeCounter counter = TimeCounter::fromText("0:0:55");
        counter.addSeconds(10);
        QCOMPARE(counter.plainText(), QString("0:0:65"));
        counter.addSecond();
        QCOMPARE(counter.plainText(), QString("0:1:6"));

        // Hours are not a byte: 300 hours load, count on and save.
        counter = TimeCounter::fromText("300:59:59");
        counter.addSecond();
        QCOMPARE(counter.plainText() + ' ' + counter.paddedText(), QString("301:0:0 301:00:00"));
        QCOMPARE(TimeCounter::fromText("3:4:10").paddedText(), QString("03:04:10"));
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
        QTest::newRow("31/1/99") << "31/1/99" << QDate(2099, 1, 31);
        QTest::newRow("25/12/09") << "25/12/09" << QDate(2009, 12, 25);
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
        if (date.isValid() && !text.endsWith(QString::number(date.year()))) // four-digit years are only read
            QCOMPARE(FormatTodayDate(date), text);
    }

    void smallHelpers()
    {
        QCOMPARE(MonthKey(QDate(2024, 3, 31)), QString("3/2024"));
        QCOMPARE(TextBeforeNull(QString("abc") + QChar(0) + "def"), QString("abc"));
        QCOMPARE(TextBeforeNull("Home ISP"), QString("Home ISP"));
    }
};

QTEST_GUILESS_MAIN(TestValues)
#include "tst_Values.moc"
