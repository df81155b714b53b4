#include "accounting/CostCalculator.h"

#include <QTest>

class TestCostCalculator : public QObject
{
    Q_OBJECT

private slots:
    // Steps on a fresh calculator: c, h or m for the cost, hours or minutes of frame 0 or 1,
    // "=" and the text typed; "!" after a time says the calculator refuses it. Then the two
    // per-minute figures and the total.
    // clang-format off
    void stepsGiveFigures_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("figures");
        QTest::newRow("12 for 1 h 30, 0.05 added") << "c0=12 h0=1 m0=30 c1=0.05 m1=1" << "0.1333 0.0500 0.1833";
        QTest::newRow("1 for 3 minutes") << "c0=1 m0=3" << "0.3333 0.0000 0.3333";
        QTest::newRow("hours alone recalculate") << "c0=69 m0=9 h0=1" << "1.0000 0.0000 1.0000";
        QTest::newRow("cost 0 resets, total follows") << "c0=6 m0=3 c1=1 m1=1 c0=0" << "0.0000 1.0000 1.0000";
        QTest::newRow("negative cost resets") << "c1=2 m1=1 c1=-1" << "0.0000 0.0000 0.0000";
        QTest::newRow("no minutes: nothing changes") << "c0=6 m0=3 m0=0 c0=9" << "2.0000 0.0000 2.0000";
        QTest::newRow("no amount: nothing changes") << "c0=6 m0=3 c0=1e3 m0=2 c0=0x8" << "2.0000 0.0000 2.0000";
        QTest::newRow("no whole number refused") << "c1=6 m1=3 h1=1.5! m1=2.0! h1=-1! m1=! c1=9" << "0.0000 3.0000 3.0000";
        QTest::newRow("32767 minutes") << "h0=546 m0=7 c0=32767 m1=32767 c1=32767" << "1.0000 1.0000 2.0000";
        QTest::newRow("one minute more refused") << "m0=8 h0=546! m0=7 h0=546 m0=8! c0=65534" << "2.0000 0.0000 2.0000";
        QTest::newRow("past 32 bits refused") << "m1=4294967297! c1=1" << "0.0000 0.0000 0.0000";
    }
    // clang-format on
    void stepsGiveFigures()
    {
        QFETCH(QString, steps);
        CostCalculator calculator;
        for (const QString &step : steps.split(' ')) {
            const int frame = step.at(1).digitValue();
            QString text = step.mid(3);
            const bool refused = text.endsWith('!');
            text.chop(refused ? 1 : 0);
            if (step.startsWith('c'))
                calculator.setCost(frame, text);
            else
                QCOMPARE((step.startsWith('h') ? calculator.setHours(frame, text) : calculator.setMinutes(frame, text)),
                         !refused);
        }
        QTEST(calculator.perMinute(0).toFixed() + ' ' + calculator.perMinute(1).toFixed() + ' ' +
                  calculator.total().toFixed(),
              "figures");
    }
};

QTEST_GUILESS_MAIN(TestCostCalculator)
#include "tst_CostCalculator.moc"
