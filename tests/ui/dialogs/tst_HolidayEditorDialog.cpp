#include "dialogs/HolidayEditorDialog.h"

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "support/CoreRig.h"

namespace {

const QByteArray kOne = "\"1/1/2025\",\"New Year\"\r\n";

QStringList cells(const QTableWidget *grid)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, 0)->text() + '=' + grid->item(row, 1)->text();
    return texts;
}

} // namespace

class TestHolidayEditorDialog : public QObject
{
    Q_OBJECT

private slots:
    // The controls and their texts; a holiday added and the first one removed through the
    // widgets; then "Save Changes" writes the file (and the calendar in use reads it) or "Cancel"
    // leaves it as it was.
    // clang-format off
    void wiring_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("save") << "cmdSaveChanges" << int(QDialog::Accepted) << QByteArray("\"24/12/2024\",\"Christmas Eve\"\r\n");
        QTest::newRow("cancel") << "Command1" << int(QDialog::Rejected) << kOne;
    }
    // clang-format on
    void wiring()
    {
        QFETCH(QString, close);
        QFETCH(int, result);
        QFETCH(QByteArray, after);
        CoreRig rig;
        rig.home.writeFile("Holiday.hl", kOne);
        rig.prompter.allowMessages();
        HolidayEditorDialog dialog(rig.core);
        QCOMPARE(dialog.objectName() + ": " + dialog.windowTitle(), "frmHolidayEditor: Holiday Editor");
        QCOMPARE(dialog.findChild<QGroupBox *>("Frame2")->title(), "Available Holidays:");
        QStringList buttons;
        for (const char *name : {"cmdAddHoliday", "cmdRemoveHoliday", "cmdSaveChanges", "Command1"})
            buttons << dialog.findChild<QPushButton *>(name)->text();
        QCOMPARE(buttons.join(", "), "Add New Holiday, Remove Holiday, Save Changes, Cancel");
        auto *grid = dialog.findChild<QTableWidget *>("MSFlexGrid1");
        auto *calendar = dialog.findChild<QCalendarWidget *>("MonthView1");
        auto *name = dialog.findChild<QLineEdit *>("Text1");
        QCOMPARE(grid->horizontalHeaderItem(0)->text() + '=' + grid->horizontalHeaderItem(1)->text(),
                 "Date=Holiday Name");
        QCOMPARE(cells(grid), QStringList{"1/1/2025=New Year"});
        QCOMPARE(calendar->selectedDate(), rig.clock.now().date());
        QCOMPARE(name->text(), "Holiday's Name");

        calendar->setSelectedDate(QDate(2024, 12, 24));
        emit calendar->clicked(QDate(2024, 12, 24));
        QCOMPARE(name->text(), "");
        dialog.findChild<QPushButton *>("cmdAddHoliday")->click();
        QCOMPARE(rig.prompter.shownTexts(), QStringList{"You Must Enter Holiday's Name!"});
        name->setText("Christmas Eve");
        dialog.findChild<QPushButton *>("cmdAddHoliday")->click();
        QCOMPARE(cells(grid), (QStringList{"1/1/2025=New Year", "24/12/2024=Christmas Eve"}));
        grid->setCurrentCell(0, 1);
        rig.prompter.expect("Are you sure to delete this Holiday?", Prompt::Answer::Yes);
        dialog.findChild<QPushButton *>("cmdRemoveHoliday")->click();
        QCOMPARE(cells(grid), QStringList{"24/12/2024=Christmas Eve"});

        dialog.findChild<QPushButton *>(close)->click();
        QCOMPARE(dialog.result(), result);
        QCOMPARE(rig.home.readFile("Holiday.hl"), after);
        QCOMPARE(rig.holidays.isHoliday(QDate(2024, 12, 24)), result == QDialog::Accepted);
    }
};

QTEST_MAIN(TestHolidayEditorDialog)
#include "tst_HolidayEditorDialog.moc"
