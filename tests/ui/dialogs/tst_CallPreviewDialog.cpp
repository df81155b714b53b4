#include "dialogs/CallPreviewDialog.h"
#include "dialogs/HolidayEditorDialog.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

// The preview window prices what its controls say at every change and shows the breakdown,
// with the holidays as the holiday editor saved them.
class TestCallPreviewDialog : public QObject
{
    Q_OBJECT

private slots:
    void pricesWhatTheControlsSay()
    {
        CoreRig rig("[Home]\n[Work]\n");
        StoreFixtures::writeTariff(rig.store, "Day", {"0", "08:00", "20:00", "0.10", "0.02", {}, {}});
        StoreFixtures::assignTariff(rig.store, "Work", "Day");
        CallPreviewDialog dialog(rig.core);
        QCOMPARE(dialog.windowTitle(), QString("Preview a Call"));
        QCOMPARE(dialog.findChild<QDateTimeEdit *>("dtpStart")->dateTime(), QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
        dialog.findChild<QComboBox *>("cboProvider")->setCurrentText("Work");
        dialog.findChild<QDateTimeEdit *>("dtpStart")->setTime(QTime(19, 55));
        dialog.findChild<QSpinBox *>("txtSeconds")->setValue(20);
        auto *rows = dialog.findChild<QTableWidget *>("grdBreakdown");
        QStringList shown;
        for (int r = 0; r < rows->rowCount(); ++r) {
            for (int c = 0; c < rows->columnCount(); ++c)
                shown << rows->item(r, c)->text();
        }
        QCOMPARE(shown.join(' '),
                 QString("19:55:00 19:59:00 4 Day 0.1000 0.4000 19:59:00 20:05:00 6 Day 0.0200 0.1200"));
        QCOMPARE(dialog.findChild<QLabel *>("lblTotal")->text(), QString("0.5200"));
        QCOMPARE(dialog.findChild<QLabel *>("lblNotes")->text(),
                 QString("The last 20 seconds are not a whole minute and cost nothing."));
    }

    // A holiday added for tomorrow in the holiday editor prices tomorrow's call by the holiday tariff.
    void holidayAddedIsPreviewed()
    {
        CoreRig rig("[Home]\n");
        StoreFixtures::writeTariff(rig.store, "Day", {"2", "", "", "0.10", "0", {}, {}});
        StoreFixtures::writeTariff(rig.store, "Holiday", {"2", "", "", "0.01", "0", {}, {}});
        StoreFixtures::assignTariff(rig.store, "Home", "Day", {1, 2, 3, 4, 5, 6, 7});
        StoreFixtures::assignTariff(rig.store, "Home", "Holiday", {8});
        const QDate tomorrow = rig.clock.now().date().addDays(1);
        HolidayEditorDialog holidays(rig.core);
        holidays.findChild<QCalendarWidget *>("MonthView1")->setSelectedDate(tomorrow);
        holidays.findChild<QLineEdit *>("Text1")->setText("Founders' Day");
        holidays.findChild<QPushButton *>("cmdAddHoliday")->click();
        holidays.findChild<QPushButton *>("cmdSaveChanges")->click();
        CallPreviewDialog preview(rig.core);
        preview.findChild<QDateTimeEdit *>("dtpStart")->setDateTime(QDateTime(tomorrow, QTime(10, 0)));
        auto *rows = preview.findChild<QTableWidget *>("grdBreakdown");
        QCOMPARE(rows->item(0, 3)->text() + " " + rows->item(0, 4)->text(), QString("Holiday 0.0100"));
        QCOMPARE(preview.findChild<QLabel *>("lblNotes")->text(), QString("Holiday's Tariff is Active!!"));
    }
};

QTEST_MAIN(TestCallPreviewDialog)
#include "tst_CallPreviewDialog.moc"
