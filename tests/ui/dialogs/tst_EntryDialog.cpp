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

private:
    template <typename T> static T *field(QWidget &dialog, const char *name)
    {
        T *widget = dialog.findChild<T *>(name);
        if (!widget)
            qFatal("no %s", name);
        return widget;
    }

private slots:
    // An edit shows the entry as the line keeps it; the simulated line has no modem.
    void editShowsTheEntry()
    {
        CoreRig rig(kPhonebook);
        EntryDialog dialog(rig.core, "Home");
        QCOMPARE(field<QLineEdit>(dialog, "txtEntryName")->text(), "Home");
        QCOMPARE(field<QLineEdit>(dialog, "txtPhoneNumber")->text(), "555-0100");
        QCOMPARE(field<QComboBox>(dialog, "cmbSpeed")->currentText(), "28800");
        QVERIFY(field<QComboBox>(dialog, "cmbDevice")->isEditable());
        QVERIFY(!field<QComboBox>(dialog, "cmbDevice")->isEnabled());
        QVERIFY(!field<QLineEdit>(dialog, "txtLoginName")->isEnabled());

        field<QLineEdit>(dialog, "txtPhoneNumber")->setText("555-0111");
        field<QPushButton>(dialog, "cmdCancel")->click();
        QCOMPARE(rig.line.entry("Home")->number, "555-0100");
    }

    // The provider list's wizard item opens the dialog; a refused name keeps it open, a
    // created entry joins the list.
    void createFromTheProviderList()
    {
        CoreRig rig(kPhonebook);
        FakeTrayIcon tray;
        MainWindow window(rig.core, &tray);
        rig.core.start();
        auto *providers = field<QComboBox>(window, "Combo1");
        emit providers->textActivated(providers->itemText(providers->count() - 1));
        auto *dialog = window.findChild<EntryDialog *>("frmEntry");
        QVERIFY(dialog && dialog->isVisible());

        rig.prompter.allowMessages();
        field<QLineEdit>(*dialog, "txtEntryName")->setText("Office/2");
        field<QPushButton>(*dialog, "cmdOK")->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(rig.prompter.shownTexts().size(), 1);

        field<QLineEdit>(*dialog, "txtEntryName")->setText("Office");
        field<QLineEdit>(*dialog, "txtPhoneNumber")->setText("555-0300");
        field<QPushButton>(*dialog, "cmdOK")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(rig.line.entry("Office")->number, "555-0300");
        QStringList items;
        for (int i = 0; i < providers->count(); ++i)
            items << providers->itemText(i);
        QCOMPARE(items, QStringList({"Home", "Office", "[Create New DialUp Connection]"}));
    }
};

QTEST_MAIN(TestEntryDialog)
#include "tst_EntryDialog.moc"
