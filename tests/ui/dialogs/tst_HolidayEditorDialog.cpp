#include "dialogs/HolidayEditorDialog.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "support/CoreRig.h"

class TestHolidayEditorDialog : public QObject
{
    Q_OBJECT

private slots:
    // The controls and their texts; a holiday added and the first one removed through the
    // widgets; then "Save Changes" writes the file (and the calendar in use reads it again) or
    // "Cancel" leaves it as it was.
    // clang-format off
    void wiring_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("save") << "cmdSaveChanges" << QByteArray("\"24/12/2024\",\"Christmas Eve\"\r\n");
        QTest::newRow("cancel") << "Command1" << QByteArray("\"1/1/2025\",\"New Year\"\r\n");
    }
    // clang-format on
    void wiring()
    {
        QFETCH(QString, close);
        QFETCH(QByteArray, after);
        CoreRig rig;
        rig.home.writeFile("Holiday.hl", "\"1/1/2025\",\"New Year\"\r\n");
        rig.prompter.allowMessages();
        HolidayEditorDialog dialog(rig.core);
        dialog.show();
        auto *grid = dialog.findChild<QTableWidget *>("MSFlexGrid1");
        auto *calendar = dialog.findChild<QCalendarWidget *>("MonthView1");
        auto *name = dialog.findChild<QLineEdit *>("Text1");
        auto click = [&](const char *button) { dialog.findChild<QPushButton *>(button)->click(); };
        auto shown = [&] {
            QStringList texts{dialog.objectName(), dialog.windowTitle(),
                              dialog.findChild<QWidget *>("Frame2")->property("title").toString(),
                              grid->horizontalHeaderItem(0)->text(), grid->horizontalHeaderItem(1)->text()};
            for (const char *child : {"Text1", "cmdAddHoliday", "cmdRemoveHoliday", "cmdSaveChanges", "Command1"})
                texts << dialog.findChild<QWidget *>(child)->property("text").toString();
            for (int row = 0; row < grid->rowCount(); ++row)
                texts << grid->item(row, 0)->text() + '=' + grid->item(row, 1)->text();
            return texts.join(", ");
        };
        QCOMPARE(shown(), "frmHolidayEditor, Holiday Editor, Available Holidays:, Date, Holiday Name, Holiday's Name, "
                          "Add New Holiday, Remove Holiday, Save Changes, Cancel, 1/1/2025=New Year");
        QCOMPARE(calendar->selectedDate(), rig.clock.now().date());
        calendar->setSelectedDate(QDate(2024, 12, 24));
        emit calendar->clicked(QDate(2024, 12, 24));
        QCOMPARE(name->text(), "");
        click("cmdAddHoliday");
        QCOMPARE(rig.prompter.shownTexts(), QStringList{"You Must Enter Holiday's Name!"});
        name->setText("Christmas Eve");
        click("cmdAddHoliday");
        grid->setCurrentCell(0, 1);
        rig.prompter.expect("Are you sure to delete this Holiday?", Prompt::Answer::Yes);
        click("cmdRemoveHoliday");
        QVERIFY(shown().endsWith("Cancel, 24/12/2024=Christmas Eve"));
        click(qPrintable(close));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(rig.home.readFile("Holiday.hl"), after);
        QCOMPARE(rig.holidays.isHoliday(QDate(2024, 12, 24)), dialog.result() == QDialog::Accepted);
    }
};

QTEST_MAIN(TestHolidayEditorDialog)
#include "tst_HolidayEditorDialog.moc"
