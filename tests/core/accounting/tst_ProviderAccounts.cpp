#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "support/AccountingRig.h"
#include "support/StoreFixtures.h"
#include "values/TimeText.h"

#include <QTest>

using Field = MainState::Field;

namespace {
// The counters of "Home" as a save on `date` left them; its calls are reported.
void storeCounters(SettingsStore &store, const QString &date, const QString &dayPayment = "350", bool report = true)
{
    StoreFixtures::writeValues(store, SettingsLayout::Provider("Home"),
                               {report ? "KeepReport=1" : "KeepReport=0", "TodayDate=" + date, "TodayTime=1:10:0",
                                "MonthTime=5:0:0", "Day Payment=" + dayPayment, "Month Payment=1200",
                                "TotTime=10:00:00", "Payment=2000"});
}

// The archive records of the figures storeCounters() wrote.
QByteArray day(const char *date, const char *cost = "$3.5000")
{
    return QByteArray("\"Home\",\"") + date + "\",\"1:10:0\",\"" + cost + "\"\r\n";
}
QByteArray month(const char *month)
{
    return QByteArray("\"Home\",\"") + month + "\",\"5:0:0\",\"$12.0000\"\r\n";
}
} // namespace

class TestProviderAccounts : public QObject
{
    Q_OBJECT

    static void row(const char *name, const char *savedDate, const QDate &loadedOn, const QByteArray &dayArchive,
                    const QByteArray &monthArchive, bool todayKept, bool monthKept, const char *dayPayment = "350",
                    bool keepReport = true)
    {
        QTest::newRow(name) << savedDate << loadedOn << dayArchive << monthArchive << todayKept << monthKept
                            << dayPayment << keepReport;
    }

private slots:
    void loadsConnectionSettings()
    {
        AccountingRig rig;
        const QString section = SettingsLayout::Provider("Home");
        rig.store.SaveSettingBytes(section, "Password", EncryptPassword("s\xE9t", kPasswordKey));
        StoreFixtures::writeValues(
            rig.store, section, {"Login=joe", "SavePass=1", "Phone=[Default Phone Number]", "Redial=1", "KeepLog=1"});
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        const ProviderConnection connection = rig.accounts->connection();
        QCOMPARE(connection.login + '|' + connection.phone, QString("joe|[Default Phone Number]"));
        QCOMPARE(connection.password, QByteArray("s\xE9t"));
        QVERIFY(connection.redial && connection.keepLog && !connection.keepReport);
        rig.store.SaveSetting(section, "SavePass", "0");
        rig.accounts->LoadProvider("Home");
        QVERIFY(rig.accounts->connection().password.isEmpty());
    }

    // Days and months close on whole dates, and the closed figures are archived once.
    // clang-format off
    void closesFinishedPeriods_data()
    {
        QTest::addColumn<QString>("savedDate"); // empty: a fresh provider
        QTest::addColumn<QDate>("loadedOn");
        QTest::addColumn<QByteArray>("dayArchive");
        QTest::addColumn<QByteArray>("monthArchive");
        QTest::addColumn<bool>("todayKept");
        QTest::addColumn<bool>("monthKept");
        QTest::addColumn<QString>("dayPayment"); // hundredths stored
        QTest::addColumn<bool>("keepReport");
        row("same day", "5/3/24", {2024, 3, 5}, "", "", true, true);
        row("next day", "5/3/24", {2024, 3, 6}, day("5/3/2024"), "", false, true);
        row("same day number next month", "5/3/24", {2024, 4, 5}, day("5/3/2024"), month("3/2024"), false, false);
        row("same date next year", "5/3/23", {2024, 3, 5}, day("5/3/2023"), month("3/2023"), false, false);
        row("month end", "31/1/24", {2024, 2, 1}, day("31/1/2024"), month("1/2024"), false, false);
        row("fresh provider", "", {2024, 3, 5}, "", "", false, false);
        row("report off", "5/3/24", {2024, 4, 6}, "", "", false, false, "350", false);
        // Time online without a payment (no tariff) is a day to archive too.
        row("unpriced day", "5/3/24", {2024, 3, 6}, day("5/3/2024", "$0.0000"), "", false, true, "0");
        // Figures stored with a date that is no date are kept, counted in today and this month.
        row("no date", "31/2/24", {2024, 3, 5}, "", "", true, true);
    }
    // clang-format on
    void closesFinishedPeriods()
    {
        QFETCH(QString, savedDate);
        QFETCH(QDate, loadedOn);
        QFETCH(QByteArray, dayArchive);
        QFETCH(QByteArray, monthArchive);
        QFETCH(bool, todayKept);
        QFETCH(bool, monthKept);
        QFETCH(QString, dayPayment);
        QFETCH(bool, keepReport);

        AccountingRig rig(QDateTime(loadedOn, QTime(8, 0)));
        if (savedDate.isEmpty())
            rig.store.SaveSetting(SettingsLayout::Provider("Home"), "KeepReport", "1");
        else
            storeCounters(rig.store, savedDate, dayPayment, keepReport);
        rig.prompter.allowMessages();
        // The restart is stored at once: a new program run (no save in between) loads
        // the provider again without archiving anything twice, and shows the same.
        const auto again = rig.restart();
        for (ProviderAccounts *accounts : {rig.accounts.get(), again.get()}) {
            accounts->LoadProvider("Home");
            QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"), dayArchive);
            QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"), monthArchive);
            QCOMPARE(rig.state.text(Field::TodayTime), QString(todayKept ? "01:10:00" : "00:00:00"));
            QCOMPARE(rig.state.text(Field::MonthTime), QString(monthKept ? "05:00:00" : "00:00:00"));
            QCOMPARE(rig.stored("Home", "TodayDate"), FormatTodayDate(loadedOn));
        }
        // The closed periods' payments were stored as restarted too.
        QCOMPARE(rig.accounting.figures().monthPayment.toFixed(), QString(monthKept ? "12.0000" : "0.0000"));
    }

    // A record that cannot be written keeps its period's counters and their date; the next
    // load archives them, and nothing is archived twice.
    // clang-format off
    void failedArchiveWriteKeepsTheCounters_data()
    {
        QTest::addColumn<bool>("dayBlocked"); // else the month's
        QTest::newRow("day archive") << true;
        QTest::newRow("month archive") << false;
    }
    // clang-format on
    void failedArchiveWriteKeepsTheCounters()
    {
        QFETCH(bool, dayBlocked);
        const QString blocked = dayBlocked ? "Logs/DayArchive.ini" : "Logs/MonthArchive.ini";
        AccountingRig rig(QDateTime(QDate(2024, 4, 6), QTime(8, 0)));
        storeCounters(rig.store, "5/3/24");
        // A folder where the archive file should be makes the append fail.
        QDir(rig.home.path()).mkpath(blocked);
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        QCOMPARE(rig.prompter.shown().size(), 2);
        QCOMPARE(rig.prompter.shown().last().icon, Prompt::Icon::Critical);
        QVERIFY(rig.prompter.shown().last().text.endsWith("LineMinder keeps the counters of Home for 5/3/2024 and "
                                                          "archives them again the next time Home is loaded."));
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("Home", "TodayDate"), QString("5/3/24"));
        QCOMPARE(rig.stored("Home", "TodayTime"), QString(dayBlocked ? "1:10:0" : "0"));
        QCOMPARE(rig.stored("Home", "MonthTime"), QString("5:0:0"));

        QDir(rig.home.path()).rmdir(blocked);
        rig.restart()->LoadProvider("Home");
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"), day("5/3/2024"));
        QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"), month("3/2024"));
        QCOMPARE(rig.stored("Home", "TodayDate"), QString("6/4/24"));
    }

    // Selecting another provider stores the figures of the one loaded before, under its
    // own name, and never the other way round.
    void switchingProvidersLosesNothing()
    {
        AccountingRig rig;
        rig.prompter.allowMessages();
        StoreFixtures::writeTariff(rig.store, "Flat", {"2", "", "", "0.10", "0", {}, {}});
        StoreFixtures::assignTariff(rig.store, "A", "Flat");
        rig.accounts->LoadProvider("A");
        rig.accounting.BeginCall();
        rig.accounting.CountSecond();
        rig.accounting.ChargeMinute(true, QTime(12, 1));
        rig.accounts->LoadProvider("B");
        const QStringList storedA = {rig.stored("A", "TotTime"), rig.stored("A", "Payment"), rig.stored("A", "Calls")};
        QCOMPARE(storedA, QStringList({"00:00:01", "10", "1"}));
        QCOMPARE(rig.state.text(Field::TotTime), QString("00:00:00"));
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("B", "TotTime"), QString("00:00:00"));
        QCOMPARE(rig.stored("A", "TotTime"), QString("00:00:01"));
    }

    // A save that fails while switching keeps the figures in memory: they come back when
    // that provider is picked again and are stored by the next save that succeeds. A failure
    // is told once, and again only after a save has succeeded in between.
    void switchWhileStoreLockedKeepsTheCounters()
    {
        AccountingRig rig;
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("A");
        rig.accounting.BeginCall();
        rig.accounting.CountSecond();
        {
            StoreFixtures::WriteLock lock(rig.home.locations().settingsDatabase());
            rig.accounts->LoadProvider("B");
            rig.accounts->LoadProvider("A");
            QCOMPARE(rig.state.text(Field::CallsNumber), QString("1"));
            QCOMPARE(rig.prompter.shownTexts().filter("could not save"),
                     QStringList("LineMinder could not save the counters of A: database is locked. They are kept "
                                 "and saved again at the next chance."));
        }
        QCOMPARE(rig.stored("A", "Calls"), QString("<missing>"));
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("A", "Calls"), QString("1"));
        StoreFixtures::WriteLock lock(rig.home.locations().settingsDatabase());
        QVERIFY(!rig.accounts->SaveCounters());
        QCOMPARE(rig.prompter.shownTexts().filter("could not save").size(), 2);
    }

    void nothingSavedBeforeAProviderIsLoaded()
    {
        AccountingRig rig;
        QVERIFY(!rig.accounts->SaveCounters());
        QVERIFY(rig.store.GetAllSettings("Providers \\").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProviderAccounts)
#include "tst_ProviderAccounts.moc"
