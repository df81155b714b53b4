#include "accounting/CallAccounting.h"
#include "presentation/MainPresenter.h"
#include "presentation/MainState.h"
#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTest>

using Field = MainState::Field;

namespace {
Money money(const char *text)
{
    return Money::parseOrZero(QString::fromLatin1(text));
}

LoadedTariff flatTariff(const char *cost)
{
    LoadedTariff tariff;
    tariff.TariffAssigned = true;
    tariff.name = "Flat";
    tariff.rates.option = 2;
    tariff.rates.firstCost = money(cost);
    return tariff;
}

// The accounting with the texts the main window shows of it.
struct Shown
{
    Shown() { presenter.observe(accounting); }
    FakeClock clock;
    MainState state;
    MainPresenter presenter{state, clock, DateTimeFormats()};
    CallAccounting accounting;
};
} // namespace

class TestCallAccounting : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void chargesFeeAndMinimum_data()
    {
        QTest::addColumn<bool>("feeOn");
        QTest::addColumn<QString>("fee");       // hundredths
        QTest::addColumn<int>("minutes");       // charged at 0.25; no tariff without minutes
        QTest::addColumn<bool>("minimumOn");
        QTest::addColumn<QString>("minimum");   // hundredths
        QTest::addColumn<QString>("callCost");
        QTest::addColumn<QString>("total");     // from 12.0000
        QTest::newRow("fee 150") << true << "150" << 0 << false << "0" << "1.5000" << "13.5000";
        QTest::newRow("fee off") << false << "150" << 0 << false << "0" << "0.0000" << "12.0000";
        QTest::newRow("minimum raises") << false << "0" << 2 << true << "200" << "2.0000" << "14.0000";
        QTest::newRow("minimum below cost") << false << "0" << 10 << true << "200" << "2.5000" << "14.5000";
        QTest::newRow("minimum off") << false << "0" << 2 << false << "200" << "0.5000" << "12.5000";
        QTest::newRow("fee and minimum") << true << "50" << 2 << true << "200" << "2.0000" << "14.0000";
        QTest::newRow("fee not a number") << true << "abc" << 0 << false << "0" << "0.0000" << "12.0000";
    }
    // clang-format on
    void chargesFeeAndMinimum()
    {
        QFETCH(bool, feeOn);
        QFETCH(QString, fee);
        QFETCH(int, minutes);
        QFETCH(bool, minimumOn);
        QFETCH(QString, minimum);
        QFETCH(QString, callCost);
        QFETCH(QString, total);

        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        StoreFixtures::writeValues(store, "General Settings",
                                   {feeOn ? "AddCost=1" : "AddCost=0", "AddCostTxt=" + fee,
                                    minimumOn ? "AddMinCharge=1" : "AddMinCharge=0", "AddMinChargeTxT=" + minimum});
        const ChargeSettings settings = ChargeSettings::read(store);

        Shown shown;
        const MainState &state = shown.state;
        CallAccounting &accounting = shown.accounting;
        AccountingFigures figures;
        figures.totalPayment = money("12");
        accounting.setFigures(figures);
        if (minutes > 0)
            accounting.setTariff(flatTariff("0.25"));
        accounting.BeginCall();
        accounting.StartCallCharges(settings);
        for (int i = 0; i < minutes; ++i)
            QVERIFY(accounting.ChargeMinute(true, QTime(12, i)));
        accounting.ApplyMinimumCharge(settings);
        QCOMPARE(accounting.figures().callCost.toFixed(), callCost);
        QCOMPARE(state.text(Field::Cost), total);
    }

    // clang-format off
    void addedTimeOnlyWhenItIsANumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("10") << "10" << 10;
        QTest::newRow("negative") << "-5" << 0;
        QTest::newRow("word") << "ten" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    // clang-format on
    void addedTimeOnlyWhenItIsANumber()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        StoreFixtures::writeValues(store, "General Settings", {"AddTime=1", "AddTimeTxT=" + text});
        CallAccounting accounting;
        accounting.BeginCall();
        accounting.StartCallCharges(ChargeSettings::read(store));
        QCOMPARE(accounting.figures().call.plainText(), QString("0:0:%1").arg(seconds));
    }

    void noChargeWithoutLineOrTariff()
    {
        Shown shown;
        const MainState &state = shown.state;
        CallAccounting &accounting = shown.accounting;
        accounting.setTariff(flatTariff("0.25"));
        QSignalSpy charged(&accounting, &CallAccounting::minuteCharged);
        QVERIFY(!accounting.ChargeMinute(false, QTime(12, 0)));
        accounting.setTariff(LoadedTariff());
        QVERIFY(!accounting.ChargeMinute(true, QTime(12, 0)));
        QCOMPARE(charged.count(), 0);
        QCOMPARE(accounting.figures().totalPayment.raw(), 0);

        accounting.setTariff(flatTariff("0.120"));
        QVERIFY(accounting.ChargeMinute(true, QTime(12, 0)));
        QCOMPARE(state.text(Field::MinuteCost), QString("Cost per minute:  0.12"));
    }

    void countsAndShowsTimes()
    {
        Shown shown;
        const MainState &state = shown.state;
        CallAccounting &accounting = shown.accounting;
        AccountingFigures figures;
        figures.total = TimeCounter::fromText("0:59:59");
        figures.today = TimeCounter::fromText("0:0:55");
        accounting.setFigures(figures);
        accounting.BeginCall();
        ChargeSettings settings;
        settings.addTime = true;
        settings.addSeconds = 10;
        accounting.StartCallCharges(settings);
        QCOMPARE(accounting.figures().today.plainText(), QString("0:0:65"));
        accounting.CountSecond();
        QCOMPARE(accounting.figures().today.plainText(), QString("0:1:6"));
        QCOMPARE(accounting.figures().total.plainText(), QString("1:0:10"));
        QCOMPARE(state.text(Field::TotTime), QString("01:00:10"));
        QCOMPARE(state.text(Field::CurrTime), QString("00:00:11"));
        QCOMPARE(state.text(Field::CallsNumber), QString("1"));
        // A call longer than a day shows its duration, not a time of day.
        for (int i = 0; i < 25 * 3600; ++i)
            accounting.CountSecond();
        QCOMPARE(state.text(Field::CurrTime), QString("25:00:11"));
    }

    void finishedCallCostsAccumulateInDayAndMonth()
    {
        CallAccounting accounting;
        accounting.setTariff(flatTariff("0.25"));
        ChargeSettings settings;
        settings.minimumCharge = true;
        settings.minimum = money("1");
        for (int call = 0; call < 2; ++call) {
            accounting.BeginCall();
            accounting.StartCallCharges(settings);
            accounting.ChargeMinute(true, QTime(12, 0));
            accounting.ApplyMinimumCharge(settings);
            accounting.CloseCallCharges();
        }
        QCOMPARE(accounting.figures().dayPayment.toFixed(), QString("2.0000"));
        QCOMPARE(accounting.figures().monthPayment.toFixed(), QString("2.0000"));
        QCOMPARE(accounting.figures().totalPayment.toFixed(), QString("2.0000"));
    }
};

QTEST_GUILESS_MAIN(TestCallAccounting)
#include "tst_CallAccounting.moc"
