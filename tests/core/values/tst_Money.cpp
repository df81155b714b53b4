#include "values/Money.h"

#include <QTest>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
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
        QTest::newRow("word") << "abc" << false << qint64(0);
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

    void formats_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << qint64(0) << "0.0000" << "0";
        QTest::newRow("0.12") << qint64(1200) << "0.1200" << "0.12";
        QTest::newRow("1350") << qint64(13500000) << "1350.0000" << "1350";
        QTest::newRow("tiny") << qint64(1) << "0.0001" << "0.0001";
        QTest::newRow("negative") << qint64(-15000) << "-1.5000" << "-1.5";
    }
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
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_Money.moc"
