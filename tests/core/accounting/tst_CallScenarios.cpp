#include "settings/SettingsLayout.h"
#include "support/AccountingRig.h"
#include "support/StoreFixtures.h"

#include <QDir>
#include <QTest>

// Whole calls through the accounting core, driven the way the call engine drives it:
// Connect, connection up, one tick a second, one charge a minute, end of call, records,
// counters stored.
class TestCallScenarios : public QObject
{
    Q_OBJECT

private:
    static void prepare(AccountingRig &rig)
    {
        const QString provider = SettingsLayout::Provider("Home");
        rig.store.SaveSetting(provider, "KeepLog", "1");
        rig.store.SaveSetting(provider, "KeepReport", "1");
        for (int item = 1; item <= 11; ++item)
            rig.store.SaveSetting(SettingsLayout::LogSettings(), QString::number(item), "1");
        const QString general = SettingsLayout::GeneralSettings();
        rig.store.SaveSetting(general, "AddCost", "1");
        rig.store.SaveSetting(general, "AddCostTxt", "50");
        rig.store.SaveSetting(general, "AddTime", "1");
        rig.store.SaveSetting(general, "AddTimeTxT", "10");
        rig.store.SaveSetting(general, "AddMinCharge", "1");
        rig.store.SaveSetting(general, "AddMinChargeTxT", "200");
        StoreFixtures::writeTariff(rig.store, "Flat", {"2", "", "", "0.10", "0", {}, {}});
        StoreFixtures::assignTariff(rig.store, "Home", "Flat");
    }

    static void call(AccountingRig &rig, int seconds)
    {
        rig.accounting.BeginCall();
        const QDateTime start = rig.clock.now();
        rig.accounting.StartCallCharges(ChargeSettings::read(rig.store));
        for (int second = 1; second <= seconds; ++second) {
            rig.clock.advanceSeconds(1);
            rig.accounting.CountSecond();
            if (second % 60 == 0)
                rig.accounting.ChargeMinute(true, rig.clock.now().time());
        }
        const QTime end = rig.clock.now().time();
        rig.accounting.ApplyMinimumCharge(ChargeSettings::read(rig.store));
        rig.accounting.CloseCallCharges();
        const CallRecord record = rig.accounting.record("Home", start, end, "$");
        rig.prompter.expect("Log Saved!");
        QVERIFY(rig.recorder.WriteConnectionLog(record, rig.accounts->connection().keepLog));
        QVERIFY(rig.recorder.WriteReportRecord(record, rig.accounts->connection().keepReport));
        rig.accounts->setLastCallTimes(start.time(), end);
        QVERIFY(rig.accounts->SaveCounters());
    }

private slots:
    void failedLogWriteIsReportedNotConfirmed()
    {
        AccountingRig rig;
        prepare(rig);
        rig.accounts->LoadProvider("Home");
        QDir(rig.home.path()).mkpath("Logs/Connections.log"); // a folder where the file should be
        rig.accounting.BeginCall();
        const CallRecord record = rig.accounting.record("Home", rig.clock.now(), rig.clock.now().time(), "$");
        rig.prompter.allowMessages();
        QVERIFY(!rig.recorder.WriteConnectionLog(record, true));
        QCOMPARE(rig.prompter.shown().size(), 1);
        QVERIFY(rig.prompter.shown().first().text != "Log Saved!");
        QCOMPARE(rig.prompter.shown().first().icon, Prompt::Icon::Critical);
        // Without Logs/ at all, the folder is made and the entry written.
        QDir(rig.home.path() + "/Logs").removeRecursively();
        rig.prompter.clear();
        QVERIFY(rig.recorder.WriteConnectionLog(record, true));
        QVERIFY(rig.recorder.WriteReportRecord(record, true));
        QCOMPARE(rig.prompter.shownTexts(), QStringList({"Log Saved!"}));
        QVERIFY(rig.home.exists("Logs/Report.ini"));
    }

    void feeAppliesWithoutTariffAndChangesTakeEffectAtOnce()
    {
        AccountingRig rig;
        prepare(rig);
        rig.store.DeleteSetting(SettingsLayout::TariffAssignment("Home"));
        rig.prompter.expect("You don't have any assigned tariff for today!");
        rig.accounts->LoadProvider("Home");
        rig.store.SaveSetting(SettingsLayout::GeneralSettings(), "AddMinCharge", "0");
        rig.store.SaveSetting(SettingsLayout::GeneralSettings(), "AddCostTxt", "150"); // changed after loading
        call(rig, 130);
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), QString("1.5000"));
        QCOMPARE(rig.stored("Home", "Payment"), QString("150"));
    }
};

QTEST_GUILESS_MAIN(TestCallScenarios)
#include "tst_CallScenarios.moc"
