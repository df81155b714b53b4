#include "dialogs/GeneralSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include "dialogs/TariffPage.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {

const QString kGeneral = QStringLiteral("General Settings");
const QStringList kSections{kGeneral, kGeneral + "\\Log Settings", kGeneral + "\\Exec", kGeneral + "\\Exec Selected"};

// The window over a rig whose store has no tariffs yet.
struct DialogRig : CoreRig
{
    DialogRig()
    {
        prompter.expect("You don't have any available Tariffs!");
        dialog.emplace(core, core.editGeneralOptions(), core.editTariffs());
    }
    template <typename Widget = QWidget> Widget *child(const QString &name)
    {
        return dialog->findChild<Widget *>(name);
    }
    void click(const QString &name) { child<QAbstractButton>(name)->click(); }
    void type(const QString &name, const QString &text)
    {
        child<QLineEdit>(name)->clear();
        QTest::keyClicks(child(name), text);
    }
    std::optional<GeneralSettingsDialog> dialog;
};

} // namespace

class TestGeneralSettingsDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config; // the autostart folder

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    // The pages in order; every caption shows text (the currency symbol is empty under the C locale).
    void pagesAndCaptions()
    {
        DialogRig rig;
        QCOMPARE(rig.dialog->windowTitle(), QString("LineMinder - Settings"));
        auto *tabs = rig.child<QTabWidget>("tabPages");
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i)
            pages << tabs->tabText(i);
        QCOMPARE(pages,
                 (QStringList{"General Settings", "Tariff Settings", "Logging Setup", "Connection", "Executions"}));
        for (const auto *label : rig.dialog->findChildren<QLabel *>()) {
            if (!label->objectName().startsWith("lblCurrSymb"))
                QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
        }
        for (const auto *button : rig.dialog->findChildren<QAbstractButton *>(Qt::FindChildrenRecursively)) {
            if (!button->objectName().isEmpty() && !button->inherits("QToolButton")) // not the tab bar's arrows
                QVERIFY2(!button->text().isEmpty(), qPrintable(button->objectName()));
        }
        QVERIFY(rig.child("lblCurrSymb3") && rig.child("txtThirdEnds") && rig.child("chkLog11") &&
                rig.child("optEXE6"));
    }

    // What acts at once (the statistics panel, the launch style) is put back by Cancel; a program added and
    // the first removed again leave the stored list as it was.
    void cancelPutsBackWhatActedAtOnce()
    {
        DialogRig rig;
        StoreFixtures::writeValues(rig.store, kGeneral + "\\Exec", {"0=/bin/true"});
        rig.dialog.emplace(rig.core, rig.core.editGeneralOptions(), rig.core.editTariffs());
        const QStringList before = StoreFixtures::snapshot(rig.store, kSections);
        QSignalSpy panel(&*rig.dialog, &GeneralSettingsDialog::statisticsSwitched);
        rig.click("chkDisplayDUNStats");
        rig.click("optEXE6");
        QCOMPARE(rig.options.launchStyle(), 6);
        rig.prompter.expectFile("Select Program", "/bin/sh");
        rig.click("Command1");
        rig.click("cmdExeRemove"); // nothing highlighted
        auto *list = rig.child<QListWidget>("List1");
        list->setCurrentRow(0);
        rig.click("cmdExeRemove");
        QCOMPARE(list->item(0)->text() + rig.child<QLabel>("lblExec")->text(), QString("/bin/sh1"));
        rig.click("cmdClose");
        QCOMPARE(panel, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(rig.options.launchStyle(), 1);
        QCOMPARE(StoreFixtures::snapshot(rig.store, kSections), before);
    }

    // OK stores what every page shows; a file that is not a program is refused.
    void okStoresEveryPage()
    {
        DialogRig rig;
        rig.click("chkSound1");
        rig.prompter.expectFile("Select WAV File", "/snd/hello.wav");
        rig.click("cmdSoundBrowse1");
        rig.click("optMinTray");
        rig.click("optSepLogs");
        rig.click("chkLog3");
        rig.click("chkAddTime");
        rig.type("txtAddTime", "12");
        rig.prompter.expectFile("Select Program", "/no/such/tool");
        rig.prompter.expect("\"/no/such/tool\" is not a program that can be started. Choose a file that may be run "
                            "as a program.");
        rig.click("Command1");
        rig.prompter.expectFile("Select Program", "/bin/sh");
        rig.click("Command1");
        rig.child<QListWidget>("List1")->item(0)->setCheckState(Qt::Checked);
        rig.click("cmdSaveSettings");
        const QStringList stored = StoreFixtures::snapshot(rig.store, kSections);
        for (const char *line : {"General Settings | chkSound1 = 1", "General Settings | Sound1 = /snd/hello.wav",
                                 "General Settings | MinTray = True", "General Settings\\Log Settings | 2 Log = True",
                                 "General Settings\\Log Settings | 3 = 1", "General Settings | AddTime = 1",
                                 "General Settings | AddTimeTxT = 12", "General Settings\\Exec | 0 = /bin/sh",
                                 "General Settings\\Exec Selected | 0 = True", "General Settings | NumofEXE = 1"})
            QVERIFY2(stored.contains(line), line);
        QVERIFY(rig.options.minimizeToTray() && rig.options.logItem(3));
    }

    // The tariff page forwards to its editor and shows it: the new-tariff name box, the linked pickers,
    // a cost formatted when its box loses the focus, the saved name in the list.
    void tariffPageWiring()
    {
        DialogRig rig;
        auto *tariffs = rig.child<QComboBox>("cboTariffs");
        QCOMPARE(tariffs->currentText() + tariffs->placeholderText(), QString("Select Tariff"));
        QVERIFY(!rig.child("cmdDeleteTariff")->isEnabled() && rig.child("txtTarifName")->isHidden());
        tariffs->setCurrentIndex(0);
        emit tariffs->activated(0);
        QVERIFY(!rig.child("txtTarifName")->isHidden());
        rig.type("txtTarifName", "Evening");
        rig.click("opt2Intervals");
        rig.child<QTimeEdit>("txtFirstStart")->setTime(QTime(8, 0));
        QCOMPARE(rig.child<QTimeEdit>("txtSecondEnd")->time(), QTime(8, 0));
        QVERIFY(!rig.child("txtThirdCost")->isEnabled());
        rig.type("txtFirstCost", "0,05");
        QFocusEvent focusOut(QEvent::FocusOut);
        QApplication::sendEvent(rig.child("txtFirstCost"), &focusOut);
        QCOMPARE(rig.child<QLineEdit>("txtFirstCost")->text(), QString("0.0500"));
        rig.click("cmdSaveTariff");
        QCOMPARE(rig.store.GetSetting("Tariff Profile \\Tariff Names\\Evening", "FirstCost"), QString("0.0500"));
        QCOMPARE(tariffs->itemText(0) + tariffs->itemText(1), QString("Evening[New Tariff]"));
    }
};

QTEST_MAIN(TestGeneralSettingsDialog)
#include "tst_GeneralSettingsDialog.moc"
