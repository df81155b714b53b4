#include "info/AboutWindow.h"
#include "mail/NotifyWindow.h"
#include "mainwindow/MainWindow.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/FakeTrayIcon.h"
#include "support/ManualScheduler.h"
#include "support/StoreFixtures.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using Field = MainState::Field;

// The window on the headless core (the shared rig) with a fake tray.
struct WindowRig : CoreRig
{
    WindowRig() { store.SaveSetting(SettingsLayout::GeneralSettings(), "MinTray", "True"); }

    void start()
    {
        core.start();
        window.applyStartSettings();
        window.showAtStart();
    }
    // Started, messages allowed, the provider picked in the list (and dialed).
    void startOn(const QString &provider, bool dial = false)
    {
        start();
        prompter.allowMessages();
        pick(provider);
        if (dial)
            action("Connect")->trigger();
    }
    QString label(const char *name) { return window.findChild<QLabel *>(name)->text(); }
    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    QComboBox *combo() { return window.findChild<QComboBox *>("Combo1"); }
    void pick(const QString &provider)
    {
        combo()->setCurrentIndex(combo()->findText(provider));
        emit combo()->textActivated(provider);
    }

    FakeTrayIcon tray;
    MainWindow window{core, &tray};
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // The start shows the provider list, the kind of line (in the title too) and the tray icon;
    // the provider settings need a provider picked first.
    void startShowsTheListAndTheLine()
    {
        WindowRig rig;
        rig.start();
        QCOMPARE(rig.combo()->itemText(rig.combo()->count() - 1), QString("[Create New DialUp Connection]"));
        QVERIFY(rig.label("lblLineKind").startsWith("Simulated line"));
        QCOMPARE(rig.window.windowTitle(), QString("LineMinder (simulated line)"));
        QVERIFY(rig.tray.isAdded());
        rig.prompter.expect("Select Provider!");
        rig.action("ProvSett")->trigger();
        QCOMPARE(rig.prompter.pendingExpectations(), 0);
    }

    // A call through the buttons; every label with a text shows it (its grab inside the
    // window is not one colour), the traffic panel included, during the call and after it.
    void callThroughTheButtonsAndLabelsShown()
    {
        WindowRig rig;
        rig.startOn("Demo ISP (simulated)", true);
        rig.window.setStatisticsShown(true);
        for (const bool after : {false, true}) {
            rig.scheduler.advanceSeconds(after ? 2 : 60);
            QCOMPARE(rig.label("lblConnectionSpeed") == "Not Connected", after);
            QCOMPARE(rig.label("lblStatus"), QString(after ? "Ready..." : "Connected"));
            QCOMPARE(rig.combo()->isEnabled(), after);
            QVERIFY(after || (rig.label("lblCurrTime") == "00:00:55" && rig.tray.calls().contains("tip:00:00:55")));
            const QImage window = rig.window.grab().toImage();
            int checked = 0;
            for (QLabel *label : rig.window.findChildren<QLabel *>()) {
                // A field may carry a text from outside: it must never be read as markup.
                if (label->objectName().startsWith(QLatin1String("lbl")))
                    QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
                if (label->text().isEmpty() || !label->isVisibleTo(&rig.window))
                    continue;
                // Shown: its grab inside the window is not one colour.
                const QImage shown = window.copy(QRect(label->mapTo(&rig.window, QPoint()), label->size()));
                QImage oneColour(shown.size(), shown.format());
                oneColour.fill(shown.pixelColor(0, 0));
                QVERIFY2(shown != oneColour, qPrintable(QString("%1: \"%2\"").arg(label->objectName(), label->text())));
                ++checked;
            }
            QVERIFY(checked > 20);
            rig.action("Disconnect")->trigger();
        }
    }

    void simulatedDemoProvidersArePricedOnFirstStart()
    {
        WindowRig rig;
        QVERIFY(rig.line.RasCreatePhonebookEntry({"My ISP", {}, 115200, "555-0123", {}}, nullptr));
        rig.start();
        rig.pick("Demo ISP (simulated)"); // no "no tariff" message
        QCOMPARE(rig.label("lblTariffName"), QString("Demo Tariff"));
        QCOMPARE(rig.label("lblMinuteCost"), QString("Cost per minute:  0.0500"));
        // A provider the user set up gets no tariff of ours.
        QVERIFY(rig.store.GetAllSettings(SettingsLayout::TariffAssignment("My ISP")).isEmpty());
    }

    // Configure never shows (or saves) another provider's settings.
    void configureFollowsTheSelectedProvider()
    {
        WindowRig rig;
        rig.store.SaveSetting("Providers \\Busy Demo ISP (simulated)", "Login", "bob");
        rig.startOn("Demo ISP (simulated)");
        rig.profile.setText(ProviderProfile::Text::LoginName, "edited");
        rig.pick("Busy Demo ISP (simulated)");
        rig.profile.load(rig.store, "Demo ISP (simulated)"); // a stale profile
        rig.action("mnuMailConfigure")->trigger();
        QCOMPARE(rig.profile.provider() + " " + rig.profile.text(ProviderProfile::Text::LoginName),
                 QString("Busy Demo ISP (simulated) bob"));
    }

    // clang-format off
    void exitDuringCall_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("Yes: hang up") << true;
        QTest::newRow("No: line stays up") << false;
    }
    // clang-format on
    void exitDuringCall()
    {
        QFETCH(bool, hangUp);
        WindowRig rig;
        rig.store.SaveSetting("Providers \\Demo ISP (simulated)", "KeepReport", "1");
        rig.startOn("Demo ISP (simulated)", true);
        rig.scheduler.advanceSeconds(30);
        rig.prompter.allowMessages(false);
        rig.prompter.expect("You still have an internet connection!\n Do you want to disconnect on exit?",
                            hangUp ? Prompt::Answer::Yes : Prompt::Answer::No);
        rig.action("Exit")->trigger();
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(rig.dialer.IsConnected(), !hangUp);
        QVERIFY(!rig.scheduler.isActive(Scheduler::Timer::Timer1));
        const QByteArray report = rig.home.readFile("Logs/Report.ini");
        QCOMPARE(report.count('\n'), 1);                                            // once, whatever runs afterwards
        QVERIFY2(report.contains("\"12:00:04\",\"12:00:30\""), report.constData()); // the end is the exit
        QVERIFY(rig.tray.calls().contains("remove"));
        rig.scheduler.advanceSeconds(30);
        QCOMPARE(rig.home.readFile("Logs/Report.ini"), report);
        QVERIFY(!rig.store.GetSetting("General Settings", "PosTop").isEmpty());
    }

    void exitNeverRedials()
    {
        WindowRig rig;
        rig.store.SaveSetting("Providers \\Busy Demo ISP (simulated)", "Redial", "1");
        rig.startOn("Busy Demo ISP (simulated)", true);
        rig.scheduler.advanceSeconds(3);
        QVERIFY(rig.monitor.redialPending());
        rig.window.close();
        QVERIFY(!rig.monitor.redialPending());
        rig.scheduler.advanceSeconds(10);
        QCOMPARE(rig.line.RasEnumConnections(), RasHandle(0));
    }

    // Start minimized, minimize on connect and the tray menu's Minimize, in tray mode: hidden in
    // the tray, its menu's Minimize disabled, the caption the call time (still marked
    // simulated), an alarm told through the tray; mouse movement over the window is no click.
    // clang-format off
    void minimizedIntoTheTray_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("start minimized") << "StartMini";
        QTest::newRow("minimize on connect") << "Minimize Conn";
        QTest::newRow("tray menu") << "";
    }
    // clang-format on
    void minimizedIntoTheTray()
    {
        QFETCH(QString, key);
        WindowRig rig;
        if (!key.isEmpty())
            rig.store.SaveSetting(SettingsLayout::GeneralSettings(), key, "1");
        rig.startOn("Demo ISP (simulated)", true);
        if (key.isEmpty())
            rig.action("mnuTrayMinimize")->trigger();
        rig.scheduler.advanceSeconds(10);
        QVERIFY(rig.session.CallActive && !rig.window.isVisible());
        QVERIFY(!rig.action("mnuTrayMinimize")->isEnabled());
        QCOMPARE(rig.window.windowTitle(), rig.label("lblCurrTime") + " (simulated line)");
        QTest::mouseMove(&rig.window, QPoint(10, 10));
        QVERIFY(!rig.window.isVisible());
        emit rig.alarms.alarmRaised(1, "The current call has reached its time limit.");
        QVERIFY(
            rig.tray.calls().contains("message:Alarm is activated!!!|The current call has reached its time limit."));
        rig.tray.click();
        QVERIFY(rig.window.isVisible() && rig.action("mnuTrayMinimize")->isEnabled());
    }

    // A failed call restores a minimized window; one hidden in the tray stays there and
    // the tray tells the failure.
    // clang-format off
    void failedCallAndTheWindow_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::newRow("minimized") << false;
        QTest::newRow("hidden in the tray") << true;
    }
    // clang-format on
    void failedCallAndTheWindow()
    {
        QFETCH(bool, tray);
        WindowRig rig;
        rig.store.SaveSetting(SettingsLayout::GeneralSettings(), "MinTray", tray ? "True" : "False");
        rig.startOn("Busy Demo ISP (simulated)");
        rig.window.setWindowState(Qt::WindowMinimized); // as the window manager does
        QCOMPARE(rig.window.isVisible(), !tray);
        rig.tray.clearCalls();
        rig.action("Connect")->trigger();
        rig.scheduler.advanceSeconds(3);
        QVERIFY(!rig.session.dialing);
        QCOMPARE(rig.window.isVisible(), !tray);
        QVERIFY(tray || !rig.window.isMinimized());
        const QStringList messages = rig.tray.calls().filter("message:");
        QCOMPARE(messages.filter(QRegularExpression("^message:LineMinder\\|The line is busy")), messages);
        QCOMPARE(messages.size(), tray ? 1 : 0);
    }

    // While a message box waits for its answer, the toolbar and the tray menu do nothing.
    void commandsWaitForAnOpenBox()
    {
        WindowRig rig;
        rig.startOn("Demo ISP (simulated)");
        QDialog box(&rig.window);
        box.setModal(true);
        QTimer::singleShot(0, &box, [&] {
            for (const char *name : {"Connect", "Exit", "mnuTrayMinimize", "mnuTrayClose"})
                rig.action(name)->trigger();
            rig.tray.rightClick(QPoint(5, 5));
            QVERIFY(!rig.window.findChild<QMenu *>("mnuTray")->isVisible());
            box.accept();
        });
        box.exec();
        QVERIFY(!rig.session.dialing && rig.window.isVisible());
        QVERIFY(rig.action("mnuTrayMinimize")->isEnabled() && rig.scheduler.isActive(Scheduler::Timer::Timer1));
        rig.action("Connect")->trigger();
        QVERIFY(rig.session.dialing);
    }

    // An open notification window shows the count of the latest check, whatever it is.
    void notificationFollowsEveryCount()
    {
        WindowRig rig;
        rig.start();
        emit rig.mail.notificationReady("You have 2 new messages", "5/3/2024 12:00:00");
        auto *notify = rig.window.findChild<NotifyWindow *>("frmNotify");
        QVERIFY(notify && notify->isVisible());
        emit rig.mail.countRead("You have 0 new messages", "5/3/2024 12:15:00");
        QCOMPARE(notify->findChild<QLabel *>("lblMsg0")->text() + " " + notify->findChild<QLabel *>("lblMsg1")->text(),
                 QString("You have 0 new messages 5/3/2024 12:15:00"));
        notify->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        emit rig.mail.countRead("You have 1 new messages", "5/3/2024 12:30:00"); // closed: stays closed
        QVERIFY(!rig.window.findChild<NotifyWindow *>("frmNotify"));
    }

    // The about box opens once; asked again, the open one stays the only one.
    void aboutBoxOnce()
    {
        WindowRig rig;
        rig.start();
        rig.action("About")->trigger();
        rig.action("About")->trigger();
        QCOMPARE(rig.window.findChildren<AboutWindow *>().size(), 1);
        QVERIFY(rig.window.findChild<AboutWindow *>("frmAbout")->isVisible());
    }

    void positionRoundTrip()
    {
        WindowRig rig;
        const int dpi = rig.window.logicalDpiX();
        const QString section = SettingsLayout::GeneralSettings();
        const QStringList place = {"PosLeft=" + QString::number(100 * 1440 / dpi),
                                   "PosTop=" + QString::number(80 * 1440 / dpi)};
        StoreFixtures::writeValues(rig.store, section, place + QStringList({"SavePos=1"}));
        rig.start();
        QCOMPARE(rig.window.pos(), QPoint(100, 80));
        StoreFixtures::writeValues(rig.store, section, {"PosLeft=0", "PosTop=0"});
        rig.window.close();
        const auto saved = [&](const QString &key) { return key + "=" + rig.store.GetSetting(section, key); };
        QCOMPARE(QStringList({saved("PosLeft"), saved("PosTop")}), place);
    }

    void statisticsPanelFolds()
    {
        WindowRig rig;
        rig.start();
        auto *toggle = rig.window.findChild<QToolButton *>("imgShowDUNStats");
        const QSize compact = rig.window.size();
        QCOMPARE(rig.window.minimumSize(), compact); // the user cannot resize it
        QCOMPARE(rig.window.maximumSize(), compact);
        toggle->click();
        QCOMPARE(toggle->property("tag").toString(), QString("Max"));
        QVERIFY(rig.window.findChild<QWidget *>("Frame1")->isVisibleTo(&rig.window));
        QVERIFY(rig.window.height() > compact.height());
        QCOMPARE(rig.window.maximumSize(), rig.window.size());
        toggle->click();
        QCOMPARE(toggle->property("tag").toString(), QString("Min"));
        QCOMPARE(rig.window.size(), compact);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
