#include "dialogs/ConnectionSettingsDialog.h"
#include "mainwindow/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {

const QString kDemo = QStringLiteral("Demo ISP (simulated)");

// The window over a rig with the demo provider picked.
struct DialogRig : CoreRig
{
    DialogRig()
    {
        loadProvider(kDemo, "[Default Phone Number]", false, "old");
        dialog.emplace(core, core.editProviderSettings(true));
    }
    template <typename Widget = QWidget> Widget *child(const QString &name)
    {
        auto *widget = dialog->findChild<Widget *>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }
    void click(const QString &name) { child<QAbstractButton>(name)->click(); }
    std::optional<ConnectionSettingsDialog> dialog;
};

} // namespace

class TestConnectionSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void pagesControlsAndLoad()
    {
        DialogRig rig;
        rig.core.setAlertsOn(true);
        rig.dialog.emplace(rig.core, rig.core.editProviderSettings(false)); // the switch as it is now
        QCOMPARE(rig.dialog->objectName(), QString("frmConnectionSettings"));
        QCOMPARE(rig.dialog->windowTitle(), QString("Connection Settings"));
        auto *tabs = rig.child<QTabWidget>("tabPages");
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i)
            pages << tabs->tabText(i);
        QCOMPARE(pages, (QStringList{"Configuration", "Counters-Values", "Tariff Assignment", "Alerts", "E-mail"}));
        QStringList names = QString("Text1 txtPassword cmbPhoneNumbers imgAddPhoneNumber imgRemovePhoneNumber "
                                    "cmdAddConnection cmdEditConnection Command2 lblName txtCurrent txtToday txtMonth "
                                    "txtTotal txtCalls txtCost cmdResetSel cmdResetAll lblProvider cmdAlertSoundBrowse "
                                    "Check2 lblAlert cmdSoundBrowse cmdBrowseLaunch lblAddress0 lblAddress1 cmdOK "
                                    "cmdClose")
                                .split(' ');
        for (int i = 0; i < int(ProviderProfile::Check::Count_); ++i)
            names << ProviderProfile::controlName(ProviderProfile::Check(i));
        for (int i = 0; i < int(ProviderProfile::Text::Count_); ++i)
            names << ProviderProfile::controlName(ProviderProfile::Text(i));
        for (int i = 1; i <= 8; ++i)
            names << QString("Combo1%1").arg(i) << QString("Label%1").arg(i) << QString("UpDown%1").arg(i);
        for (int i = 1; i <= 6; ++i)
            names << QString("chk%1").arg(i);
        for (const QString &name : names)
            QVERIFY2(rig.child(name), qPrintable(name));
        QCOMPARE(rig.child("imgAddPhoneNumber")->toolTip(), QString("Click to add new phone number"));

        QVERIFY(rig.child<QLineEdit>("Text1")->isReadOnly());
        QCOMPARE(rig.child<QLineEdit>("Text1")->text(), kDemo);
        QCOMPARE(rig.child<QLineEdit>("txtLoginName")->text(), QString("old"));
        QVERIFY(rig.child<QCheckBox>("Check2")->isChecked());
        QCOMPARE(rig.child<QLabel>("lblAlert")->text(), QString("Set Alerts Off"));
        QVERIFY(!rig.child("txtAlertSound")->isEnabled());
        rig.click("chkAlertSound");
        QVERIFY(rig.child("txtAlertSound")->isEnabled() && rig.child("cmdAlertSoundBrowse")->isEnabled());
        QTest::keyClicks(rig.child("txtPop3User"), "bob");
        QCOMPARE(rig.child<QLabel>("lblAddress0")->text(), QString("bob"));
        rig.click("Check2");
        QVERIFY(!rig.core.alertsOn());
        QCOMPARE(rig.child<QLabel>("lblAlert")->text(), QString("Set Alerts On"));

        // Tariffs added while the window was closed are listed when it shows.
        StoreFixtures::writeTariff(rig.store, "Night", {});
        rig.dialog->show();
        QVERIFY(rig.child<QComboBox>("Combo18")->findText("Night") >= 0);
    }

    // Every caption is drawn whole on its page.
    void labelsShowTheirText()
    {
        DialogRig rig;
        rig.dialog->show();
        auto *tabs = rig.child<QTabWidget>("tabPages");
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QVERIFY(!rig.dialog->grab().isNull());
            for (QLabel *label : tabs->widget(page)->findChildren<QLabel *>()) {
                if (label->text().isEmpty() || !label->isVisible())
                    continue;
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()) - 1,
                         qPrintable(label->text()));
            }
        }
    }

    // clang-format off
    void okAndCancel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("mailOn");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("open");
        QTest::newRow("OK") << "cmdOK" << false << "new" << false;
        QTest::newRow("Cancel") << "cmdClose" << false << "old" << false;
        QTest::newRow("OK, mail refused") << "cmdOK" << true << "old" << true;
    }
    // clang-format on
    void okAndCancel()
    {
        QFETCH(QString, button);
        QFETCH(bool, mailOn);
        QFETCH(QString, stored);
        QFETCH(bool, open);
        DialogRig rig;
        rig.dialog->show();
        rig.child<QLineEdit>("txtLoginName")->setText("new");
        rig.child<QCheckBox>("chkEMail")->setChecked(mailOn);
        if (mailOn)
            rig.prompter.expect("You must enter your mail server's address!");
        rig.click(button);
        QCOMPARE(rig.store.GetSetting("Providers \\" + kDemo, "Login"), stored);
        QCOMPARE(rig.dialog->isVisible(), open);
        if (open)
            QCOMPARE(rig.child<QTabWidget>("tabPages")->currentIndex(), int(ConnectionSettingsDialog::EMail));
    }

    // A reset in the window resets the main window's figures and the window's own.
    // clang-format off
    void resets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("shown"); // today, month, total, calls, cost
        QTest::newRow("Reset All") << "cmdResetAll" << QStringList() << "00:00:00 00:00:00 00:00:00 0 0.0000";
        QTest::newRow("Reset Selected month, calls") << "cmdResetSel" << QStringList{"chk3", "chk5"} << "00:10:00 00:00:00 02:00:00 0 12.3400";
    }
    // clang-format on
    void resets()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, ticked);
        QFETCH(QString, shown);
        DialogRig rig;
        const QString busy = "Busy Demo ISP (simulated)"; // not loaded yet: a load stores the loaded one's figures
        StoreFixtures::writeValues(
            rig.store, SettingsLayout::Provider(busy),
            {"TodayDate=5/3/24", "TodayTime=0:10:0", "MonthTime=1:0:0", "TotTime=02:00:00", "Calls=7", "Payment=1234"});
        rig.loadProvider(busy);
        rig.dialog.emplace(rig.core, rig.core.editProviderSettings(true));
        for (const QString &box : ticked)
            rig.child<QCheckBox>(box)->setChecked(true);
        rig.prompter.expect(button == "cmdResetAll" ? "Are you sure to RESET all Timers and Counters?"
                                                    : "Are you sure to RESET all Selected Timers and Counters?",
                            Prompt::Answer::Yes);
        const MainWindow main(rig.core, nullptr);
        rig.click(button);
        QStringList labels, window;
        using Field = MainState::Field;
        for (Field field : {Field::TodayTime, Field::MonthTime, Field::TotTime, Field::CallsNumber, Field::Cost})
            labels << main.findChild<QLabel *>(MainState::controlName(field))->text();
        for (const char *field : {"txtToday", "txtMonth", "txtTotal", "txtCalls", "txtCost"})
            window << rig.child<QLineEdit>(field)->text();
        QCOMPARE(labels.join(' '), shown);
        QCOMPARE(window.join(' '), shown);
        QVERIFY(!rig.child<QCheckBox>("chk3")->isChecked());
    }

    // clang-format off
    void browse_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("alert sound") << "cmdAlertSoundBrowse" << "Select WAV File" << "/snd/a.wav" << "txtAlertSound" << "/snd/a.wav" << false;
        QTest::newRow("mail sound, none chosen") << "cmdSoundBrowse" << "Select WAV File" << "" << "txtSound" << "was" << false;
        QTest::newRow("program") << "cmdBrowseLaunch" << "Select E-Mail Program" << "mailer" << "txtLaunchEmail" << "mailer" << false;
        QTest::newRow("not a program") << "cmdBrowseLaunch" << "Select E-Mail Program" << "letter.txt" << "txtLaunchEmail" << "was" << true;
    }
    // clang-format on
    void browse()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, chosen);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        DialogRig rig;
        for (const char *name : {"mailer", "letter.txt"})
            rig.home.writeFile(name, "#!/bin/sh\n");
        QFile(rig.home.path() + "/mailer").setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const QString path = chosen.startsWith('/') || chosen.isEmpty() ? chosen : rig.home.path() + "/" + chosen;
        for (const char *box : {"chkAlertSound", "chkSound", "chkLaunchEmail"})
            rig.child<QCheckBox>(box)->setChecked(true);
        rig.child<QLineEdit>(field)->setText("was");
        rig.prompter.expectFile(title, path);
        if (refused)
            rig.prompter.expect(QString("\"%1\" is not a program that can be started. Choose a file that may be run "
                                        "as a program.")
                                    .arg(path));
        rig.click(button);
        QCOMPARE(rig.child<QLineEdit>(field)->text(), shown.startsWith('/') || shown == "was" ? shown : path);
        QCOMPARE(rig.prompter.pendingExpectations(), 0);
    }
};

QTEST_MAIN(TestConnectionSettingsDialog)
#include "tst_ConnectionSettingsDialog.moc"
