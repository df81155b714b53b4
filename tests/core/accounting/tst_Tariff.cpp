#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/Tariff.h"
#include "accounting/TariffSelection.h"
#include "presentation/MainPresenter.h"
#include "presentation/MainState.h"
#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompter.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

#include <QTest>

using StoreFixtures::TariffText;

namespace {
const QString kNoTariff = "You don't have any assigned tariff for today!";
const QString kHoliday = "Holiday's Tariff is Active!!";
const QDate kTuesday(2024, 3, 5); // day class 3

// The tariff's name and cost per minute as the main window shows them at a time of day.
QStringList shownTariff(const LoadedTariff &tariff, const QTime &at)
{
    FakeClock clock(QDateTime(kTuesday, at));
    MainState state;
    MainPresenter presenter(state, clock, DateTimeFormats());
    CallAccounting accounting;
    presenter.observe(accounting);
    accounting.setTariff(tariff);
    return {state.text(MainState::Field::TariffName), state.text(MainState::Field::MinuteCost)};
}
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
        QTest::newRow("2i before") << "0" << "08:00" << "20:00" << "" << "07:59:59" << "0.0500";
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
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        TariffText text;
        text.option = option;
        text.firstStart = firstStart;
        text.firstEnd = firstEnd;
        text.thirdStart = thirdStart.isEmpty() ? QString() : thirdStart;
        text.thirdCost = thirdStart.isEmpty() ? QString() : QString("0.02");
        StoreFixtures::writeTariff(store, "T", text);
        const auto tariff = Tariff::read(store, "T");
        QVERIFY(tariff);
        LoadedTariff loaded{true, "T", *tariff};
        QCOMPARE(loaded.GetMinuteCost(time).toFixed(), cost);
    }

    // An assigned tariff that cannot be priced is "no tariff": message, "None", no cost.
    // clang-format off
    void unusableTariffIsNoTariff_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("missing tariff") << "delete" << "";
        QTest::newRow("bad first cost") << "FirstCost" << "abc";
        QTest::newRow("empty second cost") << "SecondCost" << "";
        QTest::newRow("bad bound") << "FirstStart" << "8 o'clock";
        QTest::newRow("empty bound") << "FirstEnd" << "";
        QTest::newRow("bad option") << "Option" << "x";
        QTest::newRow("three intervals without third") << "Option" << "1";
    }
    // clang-format on
    void unusableTariffIsNoTariff()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        StoreFixtures::writeTariff(store, "Day", TariffText());
        StoreFixtures::assignTariff(store, "Home", "Day");
        if (field == "delete")
            store.DeleteSetting("Tariff Profile \\Tariff Names\\Day");
        else
            store.SaveSetting("Tariff Profile \\Tariff Names\\Day", field, value);
        HolidayCalendar holidays(home.locations().holidayFile());
        ScriptedPrompter prompter;
        prompter.expect(kNoTariff);
        const LoadedTariff tariff = SelectTariff(store, holidays, prompter, "Home", kTuesday);
        QVERIFY(!tariff.TariffAssigned);
        QCOMPARE(tariff.GetMinuteCost("12:00:00").raw(), 0);
        QCOMPARE(shownTariff(tariff, QTime(12, 0)), QStringList({"None", "Cost per minute:  0"}));
    }

    // clang-format off
    void selectsByWeekdayAndHoliday_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("holiday"); // the one date in the holiday file
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QString>("tariff");
        QTest::newRow("tuesday") << kTuesday << "" << QStringList() << "Weekday";
        QTest::newRow("sunday") << QDate(2024, 3, 10) << "" << QStringList() << "Weekend";
        QTest::newRow("holiday on tuesday") << kTuesday << "5/3/2024" << QStringList{kHoliday} << "Holiday";
        QTest::newRow("other holiday") << kTuesday << "6/3/2024" << QStringList() << "Weekday";
        QTest::newRow("no class 8") << QDate(2024, 3, 12) << "12/3/2024" << QStringList{kHoliday, kNoTariff} << "";
    }
    // clang-format on
    void selectsByWeekdayAndHoliday()
    {
        QFETCH(QDate, date);
        QFETCH(QString, holiday);
        QFETCH(QStringList, prompts);
        QFETCH(QString, tariff);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        for (const char *name : {"Weekday", "Weekend", "Holiday"})
            StoreFixtures::writeTariff(store, name, TariffText());
        StoreFixtures::assignTariff(store, "Home", "Weekday", {2, 3, 4, 5, 6});
        StoreFixtures::assignTariff(store, "Home", "Weekend", {1, 7});
        if (date != QDate(2024, 3, 12))
            StoreFixtures::assignTariff(store, "Home", "Holiday", {8});
        home.writeFile("Holiday.hl", holiday.isEmpty() ? QByteArray() : "\"" + holiday.toLatin1() + "\",\"Feast\"\r\n");
        HolidayCalendar holidays(home.locations().holidayFile());
        ScriptedPrompter prompter;
        for (const QString &prompt : prompts)
            prompter.expect(prompt);
        const LoadedTariff loaded = SelectTariff(store, holidays, prompter, "Home", date);
        QCOMPARE(prompter.shownTexts(), prompts);
        QCOMPARE(loaded.TariffAssigned, !tariff.isEmpty());
        QCOMPARE(loaded.name, tariff);
    }

    void showsCostOfTheMoment()
    {
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        StoreFixtures::writeTariff(store, "Day", TariffText());
        const LoadedTariff loaded{true, "Day", *Tariff::read(store, "Day")};
        QCOMPARE(shownTariff(loaded, QTime(9, 0)), QStringList({"Day", "Cost per minute:  0.1200"}));
    }
};

QTEST_GUILESS_MAIN(TestTariff)
#include "tst_Tariff.moc"
