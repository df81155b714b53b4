#include "mainwindow/AppCore.h"
#include "mainwindow/MainWindow.h"
#include "settings/SettingsLayout.h"
#include "support/EngineRig.h"
#include "support/FakeTrayIcon.h"
#include "support/ManualScheduler.h"
#include "support/StoreFixtures.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using Field = MainState::Field;

namespace {
const QString kExitQuestion = "You still have an internet connection!\n Do you want to disconnect on exit?";
}

// The window on the headless core: fake clock, manual scheduler, scripted prompts,
// the simulated line and a fake tray.
struct WindowRig
{
    WindowRig()
        : scheduler(clock), core(home.locations(), std::make_unique<SimulatedLine>(home.locations().simulatedPhonebook(), clock),
                                 AppSeams{clock, scheduler, prompter, sound, launcher}, DateTimeFormats()),
          window(core, &tray)
    {
        core.store.SaveSetting(SettingsLayout::GeneralSettings(), "MinTray", "True");
    }

    void start()
    {
        core.start();
        window.applyStartSettings();
        window.show();
    }
    QString label(const char *name) { return window.findChild<QLabel *>(name)->text(); }
    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    void pick(const QString &provider)
    {
        auto *combo = window.findChild<QComboBox *>("Combo1");
        combo->setCurrentIndex(combo->findText(provider));
        emit combo->textActivated(provider);
    }

    TempHome home;
    FakeClock clock{QDateTime(QDate(2024, 3, 5), QTime(12, 0))};
    ManualScheduler scheduler;
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    RecordingLauncher launcher;
    FakeTrayIcon tray;
    AppCore core;
    MainWindow window;
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsCarryTheirNames()
    {
        WindowRig rig;
        rig.start();
        for (const char *name : {"Form1", "Combo1", "Toolbar1", "lblStatus", "lblCurrTime", "lblTodayTime",
                                 "lblMonthTime", "lblTotTime", "lblCallsNumber", "lblSym", "lblCost", "lblMinuteCost",
                                 "lblTariffName", "lblTime", "lblDate", "Frame1", "lblConnectionSpeed",
                                 "lblBytesRcved", "lblBytesXmited", "imgShowDUNStats", "imgAlert", "lblAlertmsg",
                                 "imgEmail", "mnuMail", "mnuTray", "lblLineKind"})
            QVERIFY2(rig.window.findChild<QObject *>(name) || rig.window.objectName() == name, name);
        for (const char *key : {"Connect", "Disconnect", "ProvSett", "GenSett", "Report", "About", "Help", "Exit",
                                "mnuCheckMail", "mnuMailEnable", "mnuMailConfigure", "mnuTrayRestore", "mnuTrayMove",
                                "mnuTrayMinimize", "mnuTrayClose"})
            QVERIFY2(rig.action(key), key);
        QCOMPARE(rig.action("Connect")->text(), QString("DialUP"));
        QCOMPARE(rig.action("Exit")->toolTip(), QString("Exit and Disconnect"));
        auto *combo = rig.window.findChild<QComboBox *>("Combo1");
        QCOMPARE(combo->itemText(combo->count() - 1), QString("[Create New DialUp Connection]"));
        QVERIFY(rig.label("lblLineKind").startsWith("Simulated line"));
        QVERIFY(rig.tray.isAdded());
    }

    void wholeCallThroughTheButtons()
    {
        WindowRig rig;
        rig.start();
        rig.prompter.allowMessages();
        rig.pick("Demo ISP (simulated)");
        rig.prompter.allowMessages(false);
        rig.action("Connect")->trigger();
        QVERIFY(!rig.window.findChild<QComboBox *>("Combo1")->isEnabled());
        rig.scheduler.advanceSeconds(5);
        QCOMPARE(rig.label("lblStatus"), QString("Connected"));
        rig.scheduler.advanceSeconds(60);
        QCOMPARE(rig.label("lblCurrTime"), QString("00:01:00"));
        QCOMPARE(rig.label("lblCallsNumber"), QString("1"));
        QVERIFY(!rig.label("lblBytesRcved").isEmpty());
        QVERIFY(rig.tray.calls().contains("tip:00:01:00"));
        rig.action("Disconnect")->trigger();
        rig.scheduler.advanceSeconds(2);
        QCOMPARE(rig.label("lblStatus"), QString("Ready..."));
        QVERIFY(rig.window.findChild<QComboBox *>("Combo1")->isEnabled());
        QCOMPARE(rig.core.store.GetSetting("Providers \\Demo ISP (simulated)", "TotTime"), QString("00:01:00"));
    }

    void simulatedDemoProvidersArePricedOnFirstStart()
    {
        WindowRig rig;
        QVERIFY(rig.core.line->RasCreatePhonebookEntry({"My ISP", {}, 115200, "555-0123", {}}, nullptr));
        rig.start();
        rig.pick("Demo ISP (simulated)"); // no "no tariff" message
        QCOMPARE(rig.label("lblTariffName"), QString("Demo Tariff"));
        QCOMPARE(rig.label("lblMinuteCost"), QString("Cost per minute:  0.0500"));
        // A provider the user set up gets no tariff of ours.
        QVERIFY(rig.core.store.GetAllSettings(SettingsLayout::TariffAssignment("My ISP")).isEmpty());
    }

    void refusalsAndPlaceholders()
    {
        WindowRig rig;
        rig.start();
        rig.prompter.expect("Select Provider!");
        rig.action("ProvSett")->trigger();
        rig.prompter.expect("Select Provider");
        rig.action("Connect")->trigger();
        rig.prompter.expect("Help file is not available in this version!");
        rig.action("Help")->trigger();
        QCOMPARE(rig.prompter.pendingExpectations(), 0);
    }

    // Configure never shows (or saves) another provider's settings.
    void configureFollowsTheSelectedProvider()
    {
        WindowRig rig;
        rig.core.store.SaveSetting("Providers \\Busy Demo ISP (simulated)", "Login", "bob");
        rig.start();
        rig.prompter.allowMessages();
        rig.pick("Demo ISP (simulated)");
        rig.core.profile.setText(ProviderProfile::Text::LoginName, "edited");
        rig.pick("Busy Demo ISP (simulated)");
        rig.core.profile.load(rig.core.store, "Demo ISP (simulated)"); // a stale profile
        rig.action("mnuMailConfigure")->trigger();
        QCOMPARE(rig.core.profile.provider(), QString("Busy Demo ISP (simulated)"));
        QCOMPARE(rig.core.profile.text(ProviderProfile::Text::LoginName), QString("bob"));
    }

    void exitDuringCall_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("Yes: hang up") << true;
        QTest::newRow("No: line stays up") << false;
    }
    void exitDuringCall()
    {
        QFETCH(bool, hangUp);
        WindowRig rig;
        rig.core.store.SaveSetting("Providers \\Demo ISP (simulated)", "KeepReport", "1");
        rig.start();
        rig.prompter.allowMessages();
        rig.pick("Demo ISP (simulated)");
        rig.action("Connect")->trigger();
        rig.scheduler.advanceSeconds(30);
        rig.prompter.allowMessages(false);
        rig.prompter.expect(kExitQuestion, hangUp ? Prompt::Answer::Yes : Prompt::Answer::No);
        rig.action("Exit")->trigger();
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(rig.core.dialer.IsConnected(), !hangUp);
        QVERIFY(!rig.scheduler.isActive(Scheduler::Timer::Timer1));
        const QByteArray report = rig.home.readFile("Logs/Report.ini");
        QCOMPARE(report.count('\n'), 1); // once, whatever runs afterwards
        QVERIFY2(report.contains("\"12:00:04\",\"12:00:30\""), report.constData()); // the end is the exit
        QVERIFY(rig.tray.calls().contains("remove"));
        rig.scheduler.advanceSeconds(30);
        QCOMPARE(rig.home.readFile("Logs/Report.ini"), report);
        QVERIFY(!rig.core.store.GetSetting("General Settings", "PosTop").isEmpty());
    }

    void exitNeverRedials()
    {
        WindowRig rig;
        rig.start();
        rig.prompter.allowMessages();
        rig.core.store.SaveSetting("Providers \\Busy Demo ISP (simulated)", "Redial", "1");
        rig.pick("Busy Demo ISP (simulated)");
        rig.action("Connect")->trigger();
        rig.scheduler.advanceSeconds(3);
        QVERIFY(rig.core.monitor.redialPending());
        rig.window.close();
        QVERIFY(!rig.core.monitor.redialPending());
        rig.scheduler.advanceSeconds(10);
        QCOMPARE(rig.core.line->RasEnumConnections(), RasHandle(0));
    }

    void trayClicksAndMenu()
    {
        WindowRig rig;
        rig.start();
        rig.action("mnuTrayMinimize")->trigger();
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.action("mnuTrayMinimize")->isEnabled());
        rig.tray.click();
        QVERIFY(rig.window.isVisible());
        QVERIFY(rig.action("mnuTrayMinimize")->isEnabled());
        // Mouse movement over the window is no tray click.
        rig.action("mnuTrayMinimize")->trigger();
        QTest::mouseMove(&rig.window, QPoint(10, 10));
        QVERIFY(!rig.window.isVisible());
    }

    void alarmWhileHiddenTellsThroughTheTray()
    {
        WindowRig rig;
        rig.start();
        rig.action("mnuTrayMinimize")->trigger();
        emit rig.core.alarms.alarmRaised(1, "The current call has reached its time limit.");
        QVERIFY(rig.tray.calls().contains("message:Alarm is activated!!!|The current call has reached its time limit."));
    }

    void positionRoundTrip()
    {
        WindowRig rig;
        const QString section = "General Settings";
        rig.core.store.SaveSetting(section, "SavePos", "1");
        const int dpi = rig.window.logicalDpiX();
        rig.core.store.SaveSetting(section, "PosLeft", QString::number(100 * 1440 / dpi));
        rig.core.store.SaveSetting(section, "PosTop", QString::number(80 * 1440 / dpi));
        rig.start();
        QCOMPARE(rig.window.pos(), QPoint(100, 80));
        rig.window.close();
        QCOMPARE(rig.core.store.GetSetting(section, "PosLeft"), QString::number(100 * 1440 / dpi));
        QCOMPARE(rig.core.store.GetSetting(section, "PosTop"), QString::number(80 * 1440 / dpi));
    }

    void statisticsPanelFolds()
    {
        WindowRig rig;
        rig.start();
        auto *toggle = rig.window.findChild<QToolButton *>("imgShowDUNStats");
        QCOMPARE(toggle->property("tag").toString(), QString("Min"));
        toggle->click();
        QCOMPARE(toggle->property("tag").toString(), QString("Max"));
        QVERIFY(rig.window.findChild<QWidget *>("Frame1")->isVisibleTo(&rig.window));
        toggle->click();
        QCOMPARE(toggle->property("tag").toString(), QString("Min"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
