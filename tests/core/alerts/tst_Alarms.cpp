#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

#include <QSignalSpy>
#include <QTest>

using Field = MainState::Field;
using Timer = Scheduler::Timer;

namespace {

// Home with the given alarm settings, the alarms switched on, and a call open.
void armAndCall(EngineRig &rig, const QStringList &alerts)
{
    StoreFixtures::writeValues(rig.store, SettingsLayout::ProviderAlerts("Home"), alerts);
    rig.prepareHome();
    rig.profile.setAlertsOn(true);
    rig.prompter.allowMessages(); // "Log Saved!" when the alarm hangs up
    rig.connectAndOpen();
}

} // namespace

class TestAlarms : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void eachAlarmFiresOnce_data()
    {
        QTest::addColumn<int>("alarm");
        QTest::addColumn<QString>("figure"); // a stored figure that brings the alarm near
        QTest::addColumn<QStringList>("limit");
        QTest::addColumn<int>("firesAfter"); // seconds into the call (0: as it opens, -1: never)
        QTest::newRow("current call 0:01") << 1 << "Calls=0" << QStringList({"Alert H1=00", "Alert M1=01"}) << 60;
        QTest::newRow("today 1:00") << 2 << "TodayTime=0:59:30" << QStringList({"Alert H2=1", "Alert M2=00"}) << 30;
        QTest::newRow("month 2:00") << 3 << "MonthTime=1:59:50" << QStringList({"Alert H3=2", "Alert M3=00"}) << 10;
        QTest::newRow("total 3:00") << 4 << "TotTime=02:59:40" << QStringList({"Alert H4=3", "Alert M4=00"}) << 20;
        QTest::newRow("calls above 3") << 5 << "Calls=3" << QStringList({"Alert Call=3"}) << 0;
        QTest::newRow("payment above 1.00") << 6 << "Payment=90" << QStringList({"Alert Payment=1.00"}) << 0;
        QTest::newRow("hours a word") << 1 << "Calls=0" << QStringList({"Alert H1=ab", "Alert M1=01"}) << -1;
        QTest::newRow("no threshold") << 1 << "Calls=0" << QStringList({"Alert H1=", "Alert M1="}) << -1;
        QTest::newRow("minutes out of range") << 1 << "Calls=0" << QStringList({"Alert H1=00", "Alert M1=75"}) << -1;
    }
    // clang-format on
    void eachAlarmFiresOnce()
    {
        QFETCH(int, alarm);
        QFETCH(QString, figure);
        QFETCH(QStringList, limit);
        QFETCH(int, firesAfter);
        EngineRig rig;
        StoreFixtures::writeValues(rig.store, SettingsLayout::GeneralSettings(), {"AddCost=1", "AddCostTxt=50"});
        StoreFixtures::writeValues(rig.store, SettingsLayout::Provider("Home"), {figure, "TodayDate=5/3/24"});
        QSignalSpy raised(&rig.alarms, &AlarmMonitor::alarmRaised);
        armAndCall(rig, limit << QString::number(alarm) + "=1");
        if (firesAfter > 0) {
            rig.scheduler.advanceSeconds(firesAfter - 2);
            QCOMPARE(raised.count(), 0);
        }
        rig.scheduler.advanceSeconds(firesAfter < 0 ? 300 : 3);
        QCOMPARE(raised.count(), firesAfter < 0 ? 0 : 1);
        if (firesAfter < 0)
            return;
        QCOMPARE(raised.first().at(0).toInt(), alarm);
        QCOMPARE(rig.state.text(Field::Alertmsg), QString("Alarm is activated!!!"));
        QVERIFY(rig.state.isShown(MainState::Indicator::Alert));
        QVERIFY(rig.scheduler.isActive(Timer::tmrFlash));
        QVERIFY(!rig.profile.alarmOn(alarm));
        rig.scheduler.advanceSeconds(120);
        QCOMPARE(raised.count(), 1);
    }

    // The countdown (with the alarm's sound every second) hangs up at 0, unless cancelled by
    // a click on the picture, frozen by unticking Disconnect15, or gone with the alarms off.
    // clang-format off
    void countdownAndSound_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("shown");    // the alarm's picture
        QTest::addColumn<bool>("flashing");
        QTest::addColumn<int>("left");      // the countdown's last number
        QTest::addColumn<int>("sounds");
        QTest::newRow("runs out: hung up") << 0 << false << true << false << 0 << 15;
        QTest::newRow("click on the picture") << 1 << true << false << false << 10 << 5;
        QTest::newRow("Disconnect15 unticked") << 2 << true << true << true << 10 << 35;
        QTest::newRow("alarms switched off") << 3 << true << false << false << 10 << 5;
    }
    // clang-format on
    void countdownAndSound()
    {
        QFETCH(int, how);
        QFETCH(int, left);
        EngineRig rig;
        armAndCall(
            rig, {"1=1", "Alert H1=00", "Alert M1=01", "Disconnect15=1", "ChkSound=1", "AlertSound=/sounds/alarm.wav"});
        const auto countdown = [&rig] { return rig.state.text(Field::Alertmsg); };
        rig.scheduler.advanceSeconds(66); // raised at 63 s, five countdown ticks since
        QCOMPARE(countdown(), QString("Alarm is activated! Disconnecting in: 10"));
        QCOMPARE(rig.sound.played, QStringList(5, "/sounds/alarm.wav"));
        if (how == 1)
            rig.alarms.silence();
        if (how == 2)
            rig.profile.setChecked(ProviderProfile::Check::Disconnect15, false);
        if (how == 3) {
            rig.core.setAlertsOn(false);
            QVERIFY(!rig.scheduler.isActive(Timer::tmrAlarm));
        }
        rig.scheduler.advanceSeconds(30);
        QTEST(rig.dialer.IsConnected(), "connected");
        QTEST(rig.state.isShown(MainState::Indicator::Alert), "shown");
        QTEST(rig.scheduler.isActive(Timer::tmrFlash), "flashing");
        QCOMPARE(countdown(), "Alarm is activated! Disconnecting in: " + QString::number(left));
        QTEST(int(rig.sound.played.size()), "sounds");
    }
};

QTEST_GUILESS_MAIN(TestAlarms)
#include "tst_Alarms.moc"
