#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "support/AccountingRig.h"
#include "support/StoreFixtures.h"
#include "values/TimeText.h"

#include <QTest>

using Field = MainState::Field;

namespace {
const QString kNoTariff = "You don't have any assigned tariff for today!";

void storeCounters(SettingsStore &store, const QString &provider, const QString &todayDate, const QString &todayTime,
                   const QString &monthTime, const QString &dayPayment = "0", const QString &monthPayment = "0")
{
    const QString section = SettingsLayout::Provider(provider);
    store.SaveSetting(section, "KeepReport", "1");
    store.SaveSetting(section, "TodayDate", todayDate);
    store.SaveSetting(section, "TodayTime", todayTime);
    store.SaveSetting(section, "MonthTime", monthTime);
    store.SaveSetting(section, "Day Payment", dayPayment);
    store.SaveSetting(section, "Month Payment", monthPayment);
    store.SaveSetting(section, "TotTime", "10:00:00");
    store.SaveSetting(section, "Payment", "2000");
}
} // namespace

class TestProviderAccounts : public QObject
{
    Q_OBJECT

private slots:
    void loadsConnectionSettings()
    {
        AccountingRig rig;
        const QString section = SettingsLayout::Provider("Home");
        rig.store.SaveSetting(section, "Login", "joe");
        rig.store.SaveSetting(section, "SavePass", "1");
        rig.store.SaveSettingBytes(section, "Password", EncryptPassword("s\xE9" "cret", kPasswordKey));
        rig.store.SaveSetting(section, "Phone", "[Default Phone Number]");
        rig.store.SaveSetting(section, "Redial", "1");
        rig.store.SaveSetting(section, "KeepLog", "1");
        rig.prompter.expect(kNoTariff);
        rig.accounts->LoadProvider("Home");
        const ProviderConnection &connection = rig.accounts->connection();
        QCOMPARE(connection.login, QString("joe"));
        QCOMPARE(connection.password, QByteArray("s\xE9" "cret"));
        QCOMPARE(connection.phone, QString("[Default Phone Number]"));
        QVERIFY(connection.redial && connection.keepLog && !connection.keepReport);

        rig.store.SaveSetting(section, "SavePass", "0");
        rig.prompter.expect(kNoTariff);
        rig.accounts->LoadProvider("Home");
        QVERIFY(rig.accounts->connection().password.isEmpty());
    }

    // Days and months close on whole dates, and the closed figures are archived once.
    void closesFinishedPeriods_data()
    {
        QTest::addColumn<QString>("savedDate");
        QTest::addColumn<QDateTime>("loadedAt");
        QTest::addColumn<QByteArray>("dayArchive");
        QTest::addColumn<QByteArray>("monthArchive");
        QTest::addColumn<QString>("todayShown");
        QTest::addColumn<QString>("monthShown");
        QTest::addColumn<QString>("dayPayment"); // hundredths stored
        QTest::newRow("same day") << "5/3/24" << QDateTime(QDate(2024, 3, 5), QTime(18, 0)) << QByteArray()
                                  << QByteArray() << "01:10:00"
                                  << "05:00:00"
                                  << "350";
        QTest::newRow("next day") << "5/3/24" << QDateTime(QDate(2024, 3, 6), QTime(8, 0))
                                  << QByteArray("\"Home\",\"5/3/2024\",\"1:10:0\",\"$3.5000\"\r\n") << QByteArray()
                                  << "00:00:00"
                                  << "05:00:00"
                                  << "350";
        QTest::newRow("same day number next month")
            << "5/3/24" << QDateTime(QDate(2024, 4, 5), QTime(8, 0))
            << QByteArray("\"Home\",\"5/3/2024\",\"1:10:0\",\"$3.5000\"\r\n")
            << QByteArray("\"Home\",\"3/2024\",\"5:0:0\",\"$12.0000\"\r\n") << "00:00:00"
            << "00:00:00"
            << "350";
        QTest::newRow("same date next year")
            << "5/3/23" << QDateTime(QDate(2024, 3, 5), QTime(8, 0))
            << QByteArray("\"Home\",\"5/3/2023\",\"1:10:0\",\"$3.5000\"\r\n")
            << QByteArray("\"Home\",\"3/2023\",\"5:0:0\",\"$12.0000\"\r\n") << "00:00:00"
            << "00:00:00"
            << "350";
        QTest::newRow("month end") << "31/1/24" << QDateTime(QDate(2024, 2, 1), QTime(0, 0, 5))
                                   << QByteArray("\"Home\",\"31/1/2024\",\"1:10:0\",\"$3.5000\"\r\n")
                                   << QByteArray("\"Home\",\"1/2024\",\"5:0:0\",\"$12.0000\"\r\n") << "00:00:00"
                                   << "00:00:00"
                                   << "350";
        QTest::newRow("march then may") << "20/3/24" << QDateTime(QDate(2024, 5, 2), QTime(9, 0))
                                        << QByteArray("\"Home\",\"20/3/2024\",\"1:10:0\",\"$3.5000\"\r\n")
                                        << QByteArray("\"Home\",\"3/2024\",\"5:0:0\",\"$12.0000\"\r\n") << "00:00:00"
                                        << "00:00:00"
                                        << "350";
        QTest::newRow("fresh provider") << "0" << QDateTime(QDate(2024, 3, 5), QTime(9, 0)) << QByteArray()
                                        << QByteArray() << "00:00:00"
                                        << "00:00:00"
                                        << "350";
        // Time online without a payment (no tariff) is a day to archive too.
        QTest::newRow("next day, unpriced")
            << "5/3/24" << QDateTime(QDate(2024, 3, 6), QTime(8, 0))
            << QByteArray("\"Home\",\"5/3/2024\",\"1:10:0\",\"$0.0000\"\r\n") << QByteArray() << "00:00:00"
            << "05:00:00"
            << "0";
        // Figures stored with a date that is no date are kept, counted in today and this month.
        QTest::newRow("no date") << "31/2/24" << QDateTime(QDate(2024, 3, 5), QTime(9, 0)) << QByteArray()
                                 << QByteArray() << "01:10:00"
                                 << "05:00:00"
                                 << "350";
    }
    void closesFinishedPeriods()
    {
        QFETCH(QString, savedDate);
        QFETCH(QDateTime, loadedAt);
        QFETCH(QByteArray, dayArchive);
        QFETCH(QByteArray, monthArchive);
        QFETCH(QString, todayShown);
        QFETCH(QString, monthShown);
        QFETCH(QString, dayPayment);

        AccountingRig rig(loadedAt);
        if (savedDate == "0")
            rig.store.SaveSetting(SettingsLayout::Provider("Home"), "KeepReport", "1");
        else
            storeCounters(rig.store, "Home", savedDate, "1:10:0", "5:0:0", dayPayment, "1200");
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"), dayArchive);
        QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"), monthArchive);
        QCOMPARE(rig.state.text(Field::TodayTime), todayShown);
        QCOMPARE(rig.state.text(Field::MonthTime), monthShown);

        // The restart is stored at once: a new program run (no save in between) loads
        // the provider again without archiving anything twice.
        QCOMPARE(rig.stored("Home", "TodayDate"), FormatTodayDate(loadedAt.date()));
        auto again = rig.restart();
        again->LoadProvider("Home");
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"), dayArchive);
        QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"), monthArchive);
        // The closed periods' figures were stored as restarted, the payments too.
        QCOMPARE(rig.state.text(Field::TodayTime), todayShown);
        QCOMPARE(rig.state.text(Field::MonthTime), monthShown);
        QCOMPARE(rig.accounting.figures().monthPayment.toFixed(),
                 QString(savedDate == "0" || !monthArchive.isEmpty() ? "0.0000" : "12.0000"));
    }

    void keepReportOffArchivesNothing()
    {
        AccountingRig rig(QDateTime(QDate(2024, 4, 6), QTime(8, 0)));
        storeCounters(rig.store, "Home", "5/3/24", "1:10:0", "5:0:0");
        rig.store.SaveSetting(SettingsLayout::Provider("Home"), "KeepReport", "0");
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        QVERIFY(!rig.home.exists("Logs/DayArchive.ini"));
        QVERIFY(!rig.home.exists("Logs/MonthArchive.ini"));
        QCOMPARE(rig.stored("Home", "TodayTime"), QString("0"));
    }

    // A record that cannot be written keeps its period's counters and their date; the next
    // load archives them, and nothing is archived twice.
    void failedArchiveWriteKeepsTheCounters_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("todayKept");
        QTest::addColumn<int>("dayRecordsAfter");
        QTest::newRow("day archive") << "Logs/DayArchive.ini"
                                     << "1:10:0" << 1;
        QTest::newRow("month archive") << "Logs/MonthArchive.ini"
                                       << "0" << 1;
    }
    void failedArchiveWriteKeepsTheCounters()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, todayKept);
        QFETCH(int, dayRecordsAfter);
        AccountingRig rig(QDateTime(QDate(2024, 4, 6), QTime(8, 0)));
        storeCounters(rig.store, "Home", "5/3/24", "1:10:0", "5:0:0", "350", "1200");
        // A folder where the archive file should be makes the append fail.
        QDir(rig.home.path()).mkpath(blocked);
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        QCOMPARE(rig.prompter.shown().size(), 2);
        QCOMPARE(rig.prompter.shown().last().icon, Prompt::Icon::Critical);
        QVERIFY(rig.prompter.shown().last().text.endsWith("LineMinder keeps the counters of Home for 5/3/2024 and "
                                                          "archives them again the next time Home is loaded."));
        QCOMPARE(rig.stored("Home", "TodayDate"), QString("5/3/24"));
        QCOMPARE(rig.stored("Home", "TodayTime"), todayKept);
        QCOMPARE(rig.stored("Home", "MonthTime"), QString("5:0:0"));
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("Home", "TodayDate"), QString("5/3/24"));

        QDir(rig.home.path()).rmdir(blocked);
        rig.restart()->LoadProvider("Home");
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini").count('\n'), dayRecordsAfter);
        QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"),
                 QByteArray("\"Home\",\"3/2024\",\"5:0:0\",\"$12.0000\"\r\n"));
        QCOMPARE(rig.stored("Home", "TodayDate"), QString("6/4/24"));
    }

    void countersSurviveLargeValues()
    {
        AccountingRig rig;
        storeCounters(rig.store, "Home", "5/3/24", "300:0:0", "300:0:0");
        rig.store.SaveSetting(SettingsLayout::Provider("Home"), "TotTime", "1000:59:59");
        rig.store.SaveSetting(SettingsLayout::Provider("Home"), "Calls", "40000");
        rig.prompter.allowMessages();
        rig.accounts->LoadProvider("Home");
        QCOMPARE(rig.state.text(Field::TotTime), QString("1000:59:59"));
        rig.accounting.BeginCall();
        rig.accounting.CountSecond();
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("Home", "TotTime"), QString("1001:00:00"));
        QCOMPARE(rig.stored("Home", "TodayTime"), QString("300:0:1"));
        QCOMPARE(rig.stored("Home", "Calls"), QString("40001"));
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
        for (int i = 0; i < 90; ++i)
            rig.accounting.CountSecond();
        rig.accounting.ChargeMinute(true, QTime(12, 1));
        rig.accounts->LoadProvider("B");
        QCOMPARE(rig.stored("A", "TotTime"), QString("00:01:30"));
        QCOMPARE(rig.stored("A", "Payment"), QString("10"));
        QCOMPARE(rig.stored("A", "Calls"), QString("1"));
        QCOMPARE(rig.stored("B", "TotTime"), QString("<missing>"));
        QCOMPARE(rig.state.text(Field::TotTime), QString("00:00:00"));
        QCOMPARE(rig.state.text(Field::Cost), QString("0.0000"));
        QVERIFY(rig.accounts->SaveCounters());
        QCOMPARE(rig.stored("B", "TotTime"), QString("00:00:00"));
        QCOMPARE(rig.stored("A", "TotTime"), QString("00:01:30"));
    }

    // A save that fails while switching keeps the figures in memory: they come back when
    // that provider is picked again and are stored by the next save that succeeds.
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
        QCOMPARE(rig.stored("A", "TotTime"), QString("00:00:01"));
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
