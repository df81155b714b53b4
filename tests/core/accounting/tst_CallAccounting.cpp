#include "support/AccountingRig.h"
#include "support/StoreFixtures.h"

#include <QTest>

using Field = MainState::Field;

namespace {
LoadedTariff flatTariff(const char *cost)
{
    LoadedTariff tariff{true, "Flat", {}};
    tariff.rates.option = 2;
    tariff.rates.firstCost = Money::parseOrZero(QString::fromLatin1(cost));
    return tariff;
}
} // namespace

class TestCallAccounting : public QObject
{
    Q_OBJECT

private slots:
    // What the charge settings as stored add to a call: fee, minimum charge, time.
    // clang-format off
    void chargesStartAndEndOfCall_data()
    {
        QTest::addColumn<QString>("settings"); // stored entries
        QTest::addColumn<int>("minutes");       // charged at 0.25; no tariff without minutes
        QTest::addColumn<QString>("callCost");
        QTest::addColumn<QString>("total");     // from 12.0000
        QTest::addColumn<QString>("callTime");
        QTest::newRow("fee 150") << "AddCost=1 AddCostTxt=150" << 0 << "1.5000" << "13.5000" << "0:0:0";
        QTest::newRow("fee off") << "AddCost=0 AddCostTxt=150" << 0 << "0.0000" << "12.0000" << "0:0:0";
        QTest::newRow("fee not a number") << "AddCost=1 AddCostTxt=abc" << 0 << "0.0000" << "12.0000" << "0:0:0";
        QTest::newRow("minimum raises") << "AddMinCharge=1 AddMinChargeTxT=200" << 2 << "2.0000" << "14.0000" << "0:0:0";
        QTest::newRow("minimum below cost") << "AddMinCharge=1 AddMinChargeTxT=200" << 10 << "2.5000" << "14.5000" << "0:0:0";
        QTest::newRow("minimum off") << "AddMinCharge=0 AddMinChargeTxT=200" << 2 << "0.5000" << "12.5000" << "0:0:0";
        QTest::newRow("fee and minimum") << "AddCost=1 AddCostTxt=50 AddMinCharge=1 AddMinChargeTxT=200" << 2 << "2.0000" << "14.0000" << "0:0:0";
        QTest::newRow("time 10") << "AddTime=1 AddTimeTxT=10" << 0 << "0.0000" << "12.0000" << "0:0:10";
        QTest::newRow("time negative") << "AddTime=1 AddTimeTxT=-5" << 0 << "0.0000" << "12.0000" << "0:0:0";
        QTest::newRow("time a word") << "AddTime=1 AddTimeTxT=ten" << 0 << "0.0000" << "12.0000" << "0:0:0";
    }
    // clang-format on
    void chargesStartAndEndOfCall()
    {
        QFETCH(QString, settings);
        QFETCH(int, minutes);
        QFETCH(QString, callCost);
        QFETCH(QString, total);
        QFETCH(QString, callTime);
        AccountingRig rig;
        StoreFixtures::writeValues(rig.store, "General Settings", settings.split(' '));
        const ChargeSettings charges = ChargeSettings::read(rig.store);
        AccountingFigures figures;
        figures.totalPayment = Money::parseOrZero(u"12");
        rig.accounting.setFigures(figures);
        if (minutes > 0)
            rig.accounting.setTariff(flatTariff("0.25"));
        rig.accounting.BeginCall();
        rig.accounting.StartCallCharges(charges);
        for (int i = 0; i < minutes; ++i)
            QVERIFY(rig.accounting.ChargeMinute(true, QTime(12, i)));
        rig.accounting.ApplyMinimumCharge(charges);
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), callCost);
        QCOMPARE(rig.state.text(Field::Cost), total);
        const AccountingFigures &f = rig.accounting.figures(); // the added time counts everywhere
        QCOMPARE(QStringList({f.call.plainText(), f.today.plainText(), f.month.plainText(), f.total.plainText()}),
                 QStringList(4, callTime));
    }

    void noChargeWithoutLineOrTariff()
    {
        AccountingRig rig;
        rig.accounting.setTariff(flatTariff("0.25"));
        QVERIFY(!rig.accounting.ChargeMinute(false, QTime(12, 0)));
        rig.accounting.setTariff(LoadedTariff());
        QVERIFY(!rig.accounting.ChargeMinute(true, QTime(12, 0)));
        QCOMPARE(rig.accounting.figures().totalPayment.raw(), 0);
        QCOMPARE(rig.state.text(Field::TariffName) + '|' + rig.state.text(Field::MinuteCost),
                 QString("None|Cost per minute:  0"));

        rig.accounting.setTariff(flatTariff("0.120"));
        QCOMPARE(rig.state.text(Field::MinuteCost), QString("Cost per minute:  0.1200")); // the tariff's
        QVERIFY(rig.accounting.ChargeMinute(true, QTime(12, 0)));
        QCOMPARE(rig.state.text(Field::MinuteCost), QString("Cost per minute:  0.12")); // the minute charged
    }

    void countsAndShowsTimes()
    {
        AccountingRig rig;
        AccountingFigures figures;
        figures.total = TimeCounter::fromText("0:59:59");
        rig.accounting.setFigures(figures);
        rig.accounting.BeginCall();
        rig.accounting.CountSecond();
        QCOMPARE(rig.state.text(Field::TotTime), QString("01:00:00"));
        QCOMPARE(rig.state.text(Field::TodayTime) + ' ' + rig.state.text(Field::MonthTime),
                 QString("00:00:01 00:00:01"));
        QCOMPARE(rig.state.text(Field::CurrTime), QString("00:00:01"));
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("1"));
        // A call longer than a day shows its duration, not a time of day.
        for (int i = 0; i < 25 * 3600; ++i)
            rig.accounting.CountSecond();
        QCOMPARE(rig.state.text(Field::CurrTime), QString("25:00:01"));
    }

    // What a day closed during a call booked is not booked again when the call ends.
    void finishedCallCostsAccumulateInDayAndMonth()
    {
        CallAccounting accounting;
        accounting.setTariff(flatTariff("0.25"));
        ChargeSettings settings;
        settings.minimumCharge = true;
        settings.minimum = Money::parseOrZero(u"1");
        for (int call = 0; call < 2; ++call) {
            accounting.BeginCall();
            accounting.StartCallCharges(settings);
            accounting.ChargeMinute(true, QTime(12, 0));
            accounting.BookCallCostSoFar();
            QCOMPARE(accounting.figures().dayPayment.toFixed(), QString(call == 0 ? "0.2500" : "1.2500"));
            accounting.ApplyMinimumCharge(settings);
            accounting.CloseCallCharges();
        }
        const AccountingFigures &figures = accounting.figures();
        QCOMPARE(
            QStringList({figures.dayPayment.toFixed(), figures.monthPayment.toFixed(), figures.totalPayment.toFixed()}),
            QStringList(3, "2.0000"));
    }
};

QTEST_GUILESS_MAIN(TestCallAccounting)
#include "tst_CallAccounting.moc"
