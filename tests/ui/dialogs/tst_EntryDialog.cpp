#include "dialogs/EntryDialog.h"
#include "mainwindow/MainWindow.h"
#include "support/CoreRig.h"
#include "support/FakeTrayIcon.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QString kPhonebook = "[Home]\nNumber=555-0100\nSpeed=28800\n";
}

class TestEntryDialog : public QObject
{
    Q_OBJECT

private slots:
    // The provider list's wizard item opens the dialog; a refused name keeps it open, a
    // created entry joins the list.
    void createFromTheProviderList()
    {
        CoreRig rig(kPhonebook);
        FakeTrayIcon tray;
        MainWindow window(rig.core, &tray);
        rig.core.start();
        rig.prompter.allowMessages();
        rig.core.selectProvider("Home");
        rig.prompter.clear();
        auto *providers = window.findChild<QComboBox *>("Combo1");
        emit providers->textActivated(providers->itemText(providers->count() - 1));
        auto *dialog = window.findChild<EntryDialog *>("frmEntry");
        QVERIFY(dialog && dialog->isVisible());

        dialog->findChild<QLineEdit *>("txtEntryName")->setText("Office/2");
        dialog->findChild<QPushButton *>("cmdOK")->click();
        QVERIFY(dialog->isVisible() && rig.prompter.shownTexts().size() == 1);

        dialog->findChild<QLineEdit *>("txtEntryName")->setText("Office");
        dialog->findChild<QLineEdit *>("txtPhoneNumber")->setText("555-0300");
        dialog->findChild<QPushButton *>("cmdOK")->click();
        QVERIFY(!dialog->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(rig.line.entry("Office")->number, "555-0300");
        QCOMPARE(providers->itemText(1), "Office");
        QCOMPARE(providers->currentText(), "Home"); // the refreshed list still shows the loaded provider

        // An edit shows the entry as the line keeps it; the simulated line has no modem.
        window.openEntryDialog("Home");
        dialog = window.findChild<EntryDialog *>("frmEntry");
        QCOMPARE(dialog->findChild<QLineEdit *>("txtPhoneNumber")->text(), "555-0100");
        QCOMPARE(dialog->findChild<QComboBox *>("cmbSpeed")->currentText(), "28800");
        QVERIFY(!dialog->findChild<QComboBox *>("cmbDevice")->isEnabled());
    }
};

QTEST_MAIN(TestEntryDialog)
#include "tst_EntryDialog.moc"
