#include "dialogs/CallPreviewDialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

// The preview window prices what its controls say at every change and shows the breakdown.
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
};

QTEST_MAIN(TestCallPreviewDialog)
#include "tst_CallPreviewDialog.moc"
