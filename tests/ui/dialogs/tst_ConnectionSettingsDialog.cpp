#include "dialogs/ConnectionSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {

const QString kBusy = QStringLiteral("Busy Demo ISP (simulated)");

// The window over a rig with a provider of stored figures picked.
struct DialogRig : CoreRig
{
    DialogRig()
    {
        StoreFixtures::writeValues(store, "Providers \\" + kBusy, {"MonthTime=1:0:0", "TotTime=02:00:00", "Calls=7"});
        loadProvider(kBusy, "[Default Phone Number]", false, "old");
        dialog.emplace(core, core.editProviderSettings(true));
    }
    template <typename Widget = QWidget> Widget *child(const QString &name)
    {
        return dialog->findChild<Widget *>(name);
    }
    void click(const QString &name) { child<QAbstractButton>(name)->click(); }
    std::optional<ConnectionSettingsDialog> dialog;
};

} // namespace

class TestConnectionSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    // The pages, the controls by name, the values loaded, the controls wired to the core (a reset, a browse),
    // OK and Cancel.
    void wiring()
    {
        DialogRig rig;
        rig.core.setAlertsOn(true);
        rig.dialog.emplace(rig.core, rig.core.editProviderSettings(false)); // the switch as it is now
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

        QVERIFY(rig.child<QLineEdit>("Text1")->isReadOnly());
        QCOMPARE(rig.child<QLineEdit>("Text1")->text(), kBusy);
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

        // Reset Selected resets the ticked rows (month, calls), in the window too.
        rig.click("chk3");
        rig.click("chk5");
        rig.prompter.expect("Are you sure to RESET all Selected Timers and Counters?", Prompt::Answer::Yes);
        rig.click("cmdResetSel");
        const auto shown = [&rig](const char *name) { return rig.child<QLineEdit>(name)->text(); };
        QCOMPARE(shown("txtMonth") + " " + shown("txtTotal") + " " + shown("txtCalls"), "00:00:00 02:00:00 0");

        // Tariffs added while the window was closed are listed when it shows.
        StoreFixtures::writeTariff(rig.store, "Night", {});
        rig.dialog->show();
        QVERIFY(rig.child<QComboBox>("Combo18")->findText("Night") >= 0);

        // A browse for the mail program through the prompter: a file that is no program is refused.
        rig.child<QCheckBox>("chkLaunchEmail")->setChecked(true);
        rig.home.writeFile("mailer", "#!/bin/sh\n");
        const QString mailer = rig.home.path() + "/mailer";
        rig.prompter.expectFile("Select E-Mail Program", mailer);
        rig.prompter.expect(QString("\"%1\" is not a program that can be started. Choose a file that may be run as "
                                    "a program.")
                                .arg(mailer));
        rig.click("cmdBrowseLaunch");
        QFile(mailer).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        rig.prompter.expectFile("Select E-Mail Program", mailer);
        rig.click("cmdBrowseLaunch");
        QCOMPARE(rig.child<QLineEdit>("txtLaunchEmail")->text(), mailer);

        // OK with a refused mail check keeps the window open on that page and stores nothing, as Cancel.
        const auto login = [&] { return rig.store.GetSetting("Providers \\" + kBusy, "Login"); };
        rig.child<QLineEdit>("txtLoginName")->setText("new");
        rig.child<QCheckBox>("chkEMail")->setChecked(true);
        rig.prompter.expect("You must enter your mail server's address!");
        rig.click("cmdOK");
        QVERIFY(rig.dialog->isVisible() && tabs->currentIndex() == ConnectionSettingsDialog::EMail);
        rig.click("cmdClose");
        QVERIFY(!rig.dialog->isVisible() && login() == "old");
        rig.dialog.emplace(rig.core, rig.core.editProviderSettings(true));
        rig.dialog->show();
        rig.child<QLineEdit>("txtLoginName")->setText("new");
        rig.click("cmdOK");
        QVERIFY(!rig.dialog->isVisible() && login() == "new");
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
};

QTEST_MAIN(TestConnectionSettingsDialog)
#include "tst_ConnectionSettingsDialog.moc"
