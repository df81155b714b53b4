#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

#include <QSignalSpy>
#include <QTest>

using Field = MainState::Field;
using Timer = Scheduler::Timer;

namespace {

void alert(SettingsStore &store, const QString &key, const QString &value)
{
    store.SaveSetting(SettingsLayout::ProviderAlerts("Home"), key, value);
}

// Home with alarm n on, its threshold, the alarms switched on, and a call open.
void armAndCall(EngineRig &rig, int n, const QString &hours, const QString &minutes, bool disconnect = false)
{
    alert(rig.store, QString::number(n), "1");
    if (n <= 4) {
        alert(rig.store, QStringLiteral("Alert H%1").arg(n), hours);
        alert(rig.store, QStringLiteral("Alert M%1").arg(n), minutes);
    }
    alert(rig.store, "Disconnect15", disconnect ? "1" : "0");
    rig.prepareHome();
    rig.profile.setAlertsOn(true);
    rig.connectAndOpen();
    rig.prompter.allowMessages(); // "Log Saved!" when the alarm hangs up
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
        QTest::addColumn<QString>("key");   // a stored figure that brings the alarm near
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<int>("firesAfter"); // seconds into the call (0: as it opens)
        QTest::newRow("current call 0:01") << 1 << "" << "" << "01" << 60;
        QTest::newRow("today 1:00") << 2 << "TodayTime" << "0:59:30" << "00" << 30;
        QTest::newRow("month 2:00") << 3 << "MonthTime" << "1:59:50" << "00" << 10;
        QTest::newRow("total 3:00") << 4 << "TotTime" << "02:59:40" << "00" << 20;
        QTest::newRow("calls above 3") << 5 << "Calls" << "3" << "3" << 0;
        QTest::newRow("payment above 1.00") << 6 << "Payment" << "90" << "1.00" << 0;
    }
    // clang-format on
    void eachAlarmFiresOnce()
    {
        QFETCH(int, alarm);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, threshold);
        QFETCH(int, firesAfter);
        EngineRig rig;
        StoreFixtures::writeValues(rig.store, SettingsLayout::GeneralSettings(), {"AddCost=1", "AddCostTxt=50"});
        if (!key.isEmpty()) {
            rig.store.SaveSetting(SettingsLayout::Provider("Home"), key, value);
            rig.store.SaveSetting(SettingsLayout::Provider("Home"), "TodayDate", "5/3/24");
        }
        if (alarm == 5)
            alert(rig.store, "Alert Call", threshold);
        if (alarm == 6)
            alert(rig.store, "Alert Payment", threshold);
        QSignalSpy raised(&rig.alarms, &AlarmMonitor::alarmRaised);
        rig.prompter.allowMessages();
        armAndCall(rig, alarm, alarm == 1 ? "00" : alarm <= 4 ? QString::number(alarm - 1) : "", threshold);
        if (firesAfter > 0) {
            rig.scheduler.advanceSeconds(firesAfter - 2);
            QCOMPARE(raised.count(), 0);
        }
        rig.scheduler.advanceSeconds(3);
        QCOMPARE(raised.count(), 1);
        QCOMPARE(raised.first().at(0).toInt(), alarm);
        QCOMPARE(rig.state.text(Field::Alertmsg), QString("Alarm is activated!!!").left(21));
        QVERIFY(rig.state.isShown(MainState::Indicator::Alert));
        QVERIFY(rig.scheduler.isActive(Timer::tmrFlash));
        QVERIFY(!rig.profile.alarmOn(alarm));
        rig.scheduler.advanceSeconds(120);
        QCOMPARE(raised.count(), 1);
    }

    void countdownHangsUp()
    {
        EngineRig rig;
        rig.prompter.allowMessages();
        armAndCall(rig, 1, "00", "01", true);
        rig.scheduler.advanceSeconds(61); // the call counter shows 0:01 at 62.7 s
        QVERIFY(rig.state.isShown(MainState::Indicator::Alert));
        QStringList messages;
        for (int i = 0; i < 16; ++i) {
            rig.scheduler.advanceSeconds(1);
            if (messages.isEmpty() || messages.last() != rig.state.text(Field::Alertmsg))
                messages.append(rig.state.text(Field::Alertmsg));
        }
        QCOMPARE(messages.first(), QString("Alarm is activated! Disconnecting in: 14"));
        QCOMPARE(messages.last(), QString("Alarm is activated! Disconnecting in: 0"));
        QCOMPARE(messages.size(), 15);
        QVERIFY(!rig.dialer.IsConnected());
        QVERIFY(!rig.scheduler.isActive(Timer::tmrAlarm));
        QVERIFY(!rig.scheduler.isActive(Timer::tmrFlash));
        QVERIFY(rig.state.isShown(MainState::Indicator::Alert)); // stays until clicked
    }

    // The countdown ends without a hang-up: cancelled by a click on the picture, frozen by
    // unticking Disconnect15, or gone with the alarms switched off.
    // clang-format off
    void countdownStopped_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("shown"); // the alarm's picture afterwards
        QTest::newRow("click on the picture") << 0 << false;
        QTest::newRow("Disconnect15 unticked") << 1 << true;
        QTest::newRow("alarms switched off") << 2 << false;
    }
    // clang-format on
    void countdownStopped()
    {
        QFETCH(int, how);
        QFETCH(bool, shown);
        EngineRig rig;
        rig.prompter.allowMessages();
        armAndCall(rig, 1, "00", "01", true);
        rig.scheduler.advanceSeconds(66); // raised at 63 s, five countdown ticks since
        QCOMPARE(rig.state.text(Field::Alertmsg), QString("Alarm is activated! Disconnecting in: 10"));
        if (how == 0) {
            rig.alarms.silence();
        } else if (how == 1) {
            rig.profile.setChecked(ProviderProfile::Check::Disconnect15, false);
        } else {
            rig.core.setAlertsOn(false);
            QVERIFY(!rig.scheduler.isActive(Timer::tmrAlarm) && !rig.scheduler.isActive(Timer::tmrFlash));
        }
        rig.scheduler.advanceSeconds(30);
        QVERIFY(rig.dialer.IsConnected());
        QCOMPARE(rig.state.isShown(MainState::Indicator::Alert), shown);
        QCOMPARE(rig.state.text(Field::Alertmsg), QString("Alarm is activated! Disconnecting in: 10"));
    }

    void soundEverySecondUntilSilenced()
    {
        EngineRig rig;
        alert(rig.store, "ChkSound", "1");
        alert(rig.store, "AlertSound", "/sounds/alarm.wav");
        rig.prompter.allowMessages();
        armAndCall(rig, 1, "00", "01");
        rig.scheduler.advanceSeconds(64);
        const int played = int(rig.sound.played.count("/sounds/alarm.wav"));
        QVERIFY(played >= 3 && played <= 5);
        rig.alarms.silence();
        rig.scheduler.advanceSeconds(10);
        QCOMPARE(int(rig.sound.played.count("/sounds/alarm.wav")), played);
    }

    // clang-format off
    void thresholdThatIsNoNumberNeverFires_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("word") << "ab" << "01";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("minutes out of range") << "00" << "75";
    }
    // clang-format on
    void thresholdThatIsNoNumberNeverFires()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        EngineRig rig;
        rig.prompter.allowMessages();
        QSignalSpy raised(&rig.alarms, &AlarmMonitor::alarmRaised);
        armAndCall(rig, 1, hours, minutes);
        rig.scheduler.advanceSeconds(300);
        QCOMPARE(raised.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAlarms)
#include "tst_Alarms.moc"
