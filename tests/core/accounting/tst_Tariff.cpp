#include "accounting/Tariff.h"
#include "accounting/TariffSelection.h"
#include "support/AccountingRig.h"
#include "support/StoreFixtures.h"

#include <QTest>

namespace {
const QString kNoTariff = "You don't have any assigned tariff for today!";
const QString kHoliday = "Holiday's Tariff is Active!!";
const QDate kTuesday(2024, 3, 5); // day class 3
} // namespace

class TestTariff : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void minuteCostAtBounds_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("firstStart");
        QTest::addColumn<QString>("firstEnd");
        QTest::addColumn<QString>("thirdStart");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("cost");
        // Two intervals 08:00-20:00: the bounds belong to the second interval.
        QTest::newRow("2i at start") << "0" << "08:00" << "20:00" << "" << "08:00:00" << "0.0500";
        QTest::newRow("2i after start") << "0" << "08:00" << "20:00" << "" << "08:00:01" << "0.1200";
        QTest::newRow("2i before end") << "0" << "08:00" << "20:00" << "" << "19:59:59" << "0.1200";
        QTest::newRow("2i at end") << "0" << "08:00" << "20:00" << "" << "20:00:00" << "0.0500";
        // Interval 1 cannot wrap midnight.
        QTest::newRow("2i wrapped night") << "0" << "22:00" << "06:00" << "" << "23:30:00" << "0.0500";
        // Three intervals 08-17 / 17-22 / 22-08.
        QTest::newRow("3i first") << "1" << "08:00" << "17:00" << "22:00" << "12:00:00" << "0.1200";
        QTest::newRow("3i second") << "1" << "08:00" << "17:00" << "22:00" << "18:00:00" << "0.0500";
        QTest::newRow("3i third late") << "1" << "08:00" << "17:00" << "22:00" << "23:00:00" << "0.0200";
        QTest::newRow("3i third early") << "1" << "08:00" << "17:00" << "22:00" << "03:00:00" << "0.0200";
        QTest::newRow("3i at 17:00") << "1" << "08:00" << "17:00" << "22:00" << "17:00:00" << "0.0200";
        QTest::newRow("3i at 08:00") << "1" << "08:00" << "17:00" << "22:00" << "08:00:00" << "0.0200";
        QTest::newRow("3i empty second") << "1" << "08:00" << "17:00" << "16:00" << "17:30:00" << "0.0200";
        // Flat rate, and an option the editor never writes.
        QTest::newRow("flat") << "2" << "08:00" << "20:00" << "" << "03:00:00" << "0.1200";
        QTest::newRow("option 7") << "7" << "08:00" << "20:00" << "" << "12:00:00" << "0.0000";
        QTest::newRow("seconds in bounds") << "0" << "8:00:30" << "20:00" << "" << "08:00:30" << "0.0500";
        QTest::newRow("AM/PM bounds") << "0" << "8:00 AM" << "8:00 PM" << "" << "19:00:00" << "0.1200";
    }
    // clang-format on
    void minuteCostAtBounds()
    {
        QFETCH(QString, option);
        QFETCH(QString, firstStart);
        QFETCH(QString, firstEnd);
        QFETCH(QString, thirdStart);
        QFETCH(QString, time);
        QFETCH(QString, cost);
        AccountingRig rig;
        StoreFixtures::writeTariff(
            rig.store, "T",
            {option, firstStart, firstEnd, "0.12", "0.05", thirdStart, thirdStart.isEmpty() ? "" : "0.02"});
        const auto tariff = Tariff::read(rig.store, "T");
        QVERIFY(tariff);
        QCOMPARE((LoadedTariff{true, "T", *tariff}).GetMinuteCost(time).toFixed(), cost);
    }

    // An assigned tariff that cannot be priced is "no tariff": a message and no cost.
    // clang-format off
    void selectsByWeekdayAndHoliday_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("holiday"); // the one date in the holiday file
        QTest::addColumn<QString>("weekdayEdit"); // "delete", "key=value" or "name=<another name>"
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QString>("tariff");
        QTest::newRow("tuesday") << kTuesday << "" << "" << QStringList() << "Weekday";
        QTest::newRow("sunday") << QDate(2024, 3, 10) << "" << "" << QStringList() << "Weekend";
        QTest::newRow("holiday on tuesday") << kTuesday << "5/3/2024" << "" << QStringList{kHoliday} << "Holiday";
        QTest::newRow("other holiday") << kTuesday << "6/3/2024" << "" << QStringList() << "Weekday";
        QTest::newRow("no class 8") << QDate(2024, 3, 12) << "12/3/2024" << "" << QStringList{kHoliday, kNoTariff} << "";
        QTest::newRow("missing tariff") << kTuesday << "" << "delete" << QStringList{kNoTariff} << "";
        QTest::newRow("bad first cost") << kTuesday << "" << "FirstCost=abc" << QStringList{kNoTariff} << "";
        QTest::newRow("empty second cost") << kTuesday << "" << "SecondCost=" << QStringList{kNoTariff} << "";
        QTest::newRow("bad bound") << kTuesday << "" << "FirstStart=8 o'clock" << QStringList{kNoTariff} << "";
        QTest::newRow("empty bound") << kTuesday << "" << "FirstEnd=" << QStringList{kNoTariff} << "";
        QTest::newRow("bad option") << kTuesday << "" << "Option=x" << QStringList{kNoTariff} << "";
        QTest::newRow("three intervals without third") << kTuesday << "" << "Option=1" << QStringList{kNoTariff} << "";
        QTest::newRow("name with a backslash") << kTuesday << "" << "name=Weekday\\Peak" << QStringList{kNoTariff} << "";
    }
    // clang-format on
    void selectsByWeekdayAndHoliday()
    {
        QFETCH(QDate, date);
        QFETCH(QString, holiday);
        QFETCH(QString, weekdayEdit);
        QFETCH(QStringList, prompts);
        QFETCH(QString, tariff);
        AccountingRig rig;
        for (const char *name : {"Weekday", "Weekend", "Holiday"})
            StoreFixtures::writeTariff(rig.store, name, {});
        StoreFixtures::assignTariff(rig.store, "Home", "Weekday", {2, 3, 4, 5, 6});
        StoreFixtures::assignTariff(rig.store, "Home", "Weekend", {1, 7});
        if (date != QDate(2024, 3, 12))
            StoreFixtures::assignTariff(rig.store, "Home", "Holiday", {8});
        const QString weekday = "Tariff Profile \\Tariff Names\\Weekday";
        if (weekdayEdit == "delete") {
            rig.store.DeleteSetting(weekday);
        } else if (weekdayEdit.startsWith("name=")) { // a tariff stored under that name, assigned
            const QString name = weekdayEdit.mid(5);
            StoreFixtures::writeTariff(rig.store, name, {});
            QVERIFY(!rig.store.GetAllSettings("Tariff Profile \\Tariff Names\\" + name).isEmpty());
            StoreFixtures::assignTariff(rig.store, "Home", name, {2, 3, 4, 5, 6});
        } else if (!weekdayEdit.isEmpty()) {
            rig.store.SaveSetting(weekday, weekdayEdit.section('=', 0, 0), weekdayEdit.section('=', 1));
        }
        rig.home.writeFile("Holiday.hl",
                           holiday.isEmpty() ? QByteArray() : "\"" + holiday.toLatin1() + "\",\"Feast\"\r\n");
        for (const QString &prompt : prompts)
            rig.prompter.expect(prompt);
        const LoadedTariff loaded = SelectTariff(rig.store, rig.holidays, rig.prompter, "Home", date);
        QCOMPARE(rig.prompter.shownTexts(), prompts);
        QCOMPARE(loaded.TariffAssigned, !tariff.isEmpty());
        QCOMPARE(loaded.name, tariff);
        QCOMPARE(loaded.GetMinuteCost("12:00:00").raw() == 0, tariff.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTariff)
#include "tst_Tariff.moc"
