#include <QTest>

#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {

// Weekdays 0.10 from 08:00 to 20:00, else 0.02; holidays 0.01 all day.
void tariffs(EngineRig &rig)
{
    StoreFixtures::writeTariff(rig.store, "Day", {"0", "08:00", "20:00", "0.10", "0.02", {}, {}});
    StoreFixtures::writeTariff(rig.store, "Holiday", {"2", "", "", "0.01", "0", {}, {}});
    StoreFixtures::assignTariff(rig.store, "Home", "Day", {1, 2, 3, 4, 5, 6, 7});
    StoreFixtures::assignTariff(rig.store, "Home", "Holiday", {8});
    rig.home.writeFile("Holiday.hl", "\"25/12/2024\",\"Christmas\"\r\n");
}

QString shown(const CallPreview::Result &preview)
{
    QStringList rows;
    for (const CallPreview::Row &row : preview.rows)
        rows << QString("%1-%2 %3 %4 %5 %6")
                    .arg(row.from.toString("HH:mm:ss"), row.to.toString("HH:mm:ss"), QString::number(row.minutes),
                         row.tariff, row.rate.toFixed(), row.cost.toFixed());
    return rows.join(" | ") + " = " + preview.total.toFixed();
}

} // namespace

// The preview prices a call as the engine charges it: the same call made on the simulated line
// costs what the preview says, and the breakdown shows where the money goes.
class TestCallPreview : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void previewEqualsTheEngine_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QStringList>("charges"); // general settings
        QTest::addColumn<QString>("breakdown");
        QTest::newRow("across an interval boundary") << QDateTime(QDate(2024, 3, 5), QTime(7, 50)) << 1230 << QStringList()
            << "07:50:02-07:59:02 9 Day 0.0200 0.1800 | 07:59:02-08:10:02 11 Day 0.1000 1.1000 = 1.2800";
        QTest::newRow("across midnight into a holiday") << QDateTime(QDate(2024, 12, 24), QTime(23, 57)) << 300 << QStringList()
            << "23:57:02-23:59:02 2 Day 0.0200 0.0400 | 23:59:02-00:02:02 3 Holiday 0.0100 0.0300 = 0.0700";
        QTest::newRow("shorter than the minimum charge") << QDateTime(QDate(2024, 3, 5), QTime(12, 0)) << 190
            << QStringList{"AddCost=1", "AddCostTxt=50", "AddMinCharge=1", "AddMinChargeTxT=200"}
            << "12:00:02-12:03:02 3 Day 0.1000 0.3000 | 12:00:02-12:00:02 0  0.0000 0.5000 | 12:03:12-12:03:12 0  0.0000 1.2000 = 2.0000";
        QTest::newRow("added time costs nothing") << QDateTime(QDate(2024, 3, 5), QTime(12, 0)) << 125
            << QStringList{"AddTime=1", "AddTimeTxT=50"} << "12:00:02-12:02:02 2 Day 0.1000 0.2000 = 0.2000";
    }
    // clang-format on
    void previewEqualsTheEngine()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        QFETCH(QStringList, charges);
        QFETCH(QString, breakdown);
        EngineRig rig("[Home]\nConnectAfter=2\n", start);
        tariffs(rig);
        StoreFixtures::writeValues(rig.store, SettingsLayout::GeneralSettings(), charges);
        rig.prepareHome();
        rig.prompter.allowMessages();
        rig.connectAndOpen();
        const CallPreview::Result preview = rig.core.previewCall("Home", rig.session.start, seconds);
        QCOMPARE(shown(preview), breakdown);
        rig.scheduler.advanceSeconds(seconds);
        rig.dialer.DisconnectCommand();
        rig.scheduler.advanceSeconds(2);
        QCOMPARE(rig.accounting.figures().callCost, preview.total);
    }

    // What the tariff choice tells shows as notes; minutes without a tariff cost nothing.
    void notesAndUnpricedMinutes()
    {
        EngineRig rig("[Home]\nConnectAfter=2\n");
        rig.home.writeFile("Holiday.hl", "\"5/3/2024\",\"Test\"\r\n");
        const CallPreview::Result preview =
            rig.core.previewCall("Home", QDateTime(QDate(2024, 3, 5), QTime(9, 0)), 150);
        QCOMPARE(preview.notes,
                 QStringList({"Holiday's Tariff is Active!!", "You don't have any assigned tariff for today!"}));
        QCOMPARE(shown(preview) + " " + QString::number(preview.unchargedSeconds),
                 QString("09:00:00-09:02:00 2  0.0000 0.0000 = 0.0000 30"));
    }
};

QTEST_GUILESS_MAIN(TestCallPreview)
#include "tst_CallPreview.moc"
