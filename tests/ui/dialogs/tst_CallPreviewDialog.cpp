#include "dialogs/CallPreviewDialog.h"
#include "dialogs/HolidayEditorDialog.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

// The preview window prices what its controls say at every change and shows the breakdown,
// with the holidays as the holiday editor saved them (the pricing itself: tst_CallPreview).
class TestCallPreviewDialog : public QObject
{
    Q_OBJECT

private slots:
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
