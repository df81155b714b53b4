#include "dialogs/ConnectionSettingsDialog.h"
#include "dialogs/GeneralSettingsDialog.h"
#include "mainwindow/MainWindow.h"
#include "support/CoreRig.h"
#include "support/FakeTrayIcon.h"
#include "support/TestDovecot.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

// A newcomer sets up the log, a tariff, a provider, its alarms and its mailbox in the settings
// windows on the simulated line, and the call made next uses them all.
class TestProviderSetup : public QObject
{
    Q_OBJECT

private slots:
    void setUpThroughTheWindowAndCall()
    {
        if (!TestDovecot::installed())
            QSKIP("Dovecot is not installed (package dovecot-pop3d)");
        TestDovecot dovecot;
        QVERIFY2(dovecot.start(3), qPrintable(dovecot.error()));
        // The window on the headless core (the shared rig) with a fake tray; a provider of the
        // simulated phone book that nobody has set up yet.
        CoreRig rig;
        FakeTrayIcon tray;
        MainWindow window{rig.core, &tray};
        rig.line.RasCreatePhonebookEntry({"My ISP", {}, 115200, "555-0123", {}}, nullptr);
        rig.core.start();
        window.applyStartSettings();
        window.showAtStart();
        rig.prompter.allowMessages();
        const auto action = [&window](const char *name) { window.findChild<QAction *>(name)->trigger(); };
        auto *providers = window.findChild<QComboBox *>("Combo1");
        providers->setCurrentIndex(providers->findText("My ISP"));
        emit providers->textActivated("My ISP");
        // The general settings first: every line of the log, and a tariff of 0.0700 a minute from
        // 08:00 to 18:00 and 0.0200 else.
        action("GenSett");
        auto *general = window.findChild<GeneralSettingsDialog *>("frmGeneralSettings");
        QVERIFY(general && general->isVisible());
        const auto child = [&general](const QString &name) { return general->findChild<QWidget *>(name); };
        for (int item = 1; item <= 11; ++item)
            static_cast<QAbstractButton *>(child(QString("chkLog%1").arg(item)))->click();
        auto *tariffs = static_cast<QComboBox *>(child("cboTariffs"));
        tariffs->setCurrentIndex(tariffs->findText("[New Tariff]"));
        emit tariffs->activated(tariffs->currentIndex());
        QTest::keyClicks(child("txtTarifName"), "Daytime");
        static_cast<QAbstractButton *>(child("opt2Intervals"))->click();
        static_cast<QTimeEdit *>(child("txtFirstStart"))->setTime(QTime(8, 0));
        static_cast<QTimeEdit *>(child("txtFirstEnd"))->setTime(QTime(18, 0));
        for (const auto &[box, cost] : {std::pair{"txtFirstCost", "0.07"}, std::pair{"txtSecondCost", "0.02"}}) {
            static_cast<QLineEdit *>(child(box))->clear();
            QTest::keyClicks(child(box), cost);
        }
        static_cast<QAbstractButton *>(child("cmdSaveTariff"))->click();
        static_cast<QAbstractButton *>(child("cmdSaveSettings"))->click();
        QVERIFY(!general->isVisible());

        action("ProvSett");
        auto *dialog = window.findChild<ConnectionSettingsDialog *>("frmConnectionSettings");
        QVERIFY(dialog && dialog->isVisible());
        const auto type = [&](const char *name, const QString &text) {
            auto *edit = dialog->findChild<QLineEdit *>(name);
            edit->clear();
            QTest::keyClicks(edit, text);
        };
        const auto click = [&](const char *name) { dialog->findChild<QAbstractButton *>(name)->click(); };

        type("txtLoginName", "newcomer");
        type("txtPassword", "pw");
        click("chkLog");
        for (int day = 1; day <= 8; ++day) {
            auto *combo = dialog->findChild<QComboBox *>(QString("Combo1%1").arg(day));
            combo->setCurrentIndex(combo->findText("Daytime"));
            emit combo->activated(combo->currentIndex());
        }
        click("chkAlert1");
        type("txtAlertH1", "0");
        type("txtAlertM1", "1");
        click("Check2"); // the alarms armed
        click("chkEMail");
        type("txtPop3Host", QString("127.0.0.1:%1").arg(dovecot.port()));
        type("txtPop3User", "tester");
        type("txtpop3Passwd", "secret");
        click("cmdOK");
        // The tariff just assigned and the password typed (not saved) serve the next call.
        QCOMPARE(rig.state.text(MainState::Field::TariffName), QString("Daytime"));

        action("Connect");
        for (int i = 0; i < 100 && !rig.session.CallActive; ++i)
            rig.scheduler.advanceMs(100);
        const DialParams &dial = rig.line.lastDial();
        QCOMPARE(dial.userName + " " + dial.password, QString("newcomer pw"));
        // The first check runs as the call opens, against the real server.
        QTRY_COMPARE_WITH_TIMEOUT(rig.mail.lastResult(), QString("You have 3 new messages"), 15000);
        rig.scheduler.advanceSeconds(65);
        QCOMPARE(rig.alarms.lastAlarm(), 1);
        QCOMPARE(rig.state.text(MainState::Field::Alertmsg), QString("Alarm is activated!!!"));
        action("Disconnect");
        rig.scheduler.advanceSeconds(2);
        const QByteArray log = rig.home.readFile("Logs/Connections.log");
        QVERIFY2(log.contains("Provider: My ISP Started: 5/3/2024  12:00:0") && log.contains("Duration: 00:01:") &&
                     log.contains("Current Payment: 0.0700") && log.contains("Tariff Name: Daytime"),
                 log.constData());
    }
};

QTEST_MAIN(TestProviderSetup)
#include "tst_ProviderSetup.moc"
