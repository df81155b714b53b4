#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

#include <QElapsedTimer>
#include <QTest>

using Field = MainState::Field;
using Timer = Scheduler::Timer;

class TestCallEngine : public QObject
{
    Q_OBJECT

    // A fee of 0.50, ten seconds added, a minimum charge of 2.00.
    static void chargeSettings(SettingsStore &store)
    {
        StoreFixtures::writeValues(
            store, SettingsLayout::GeneralSettings(),
            {"AddCost=1", "AddCostTxt=50", "AddTime=1", "AddTimeTxT=10", "AddMinCharge=1", "AddMinChargeTxT=200"});
    }

    static QString stored(const EngineRig &rig, const QString &key)
    {
        return StoreFixtures::providerValue(rig.store, "Home", key);
    }

    // Each "key=value" with the value Home has stored for the key.
    static QStringList storedAs(const EngineRig &rig, const QStringList &expected)
    {
        QStringList values;
        for (const QString &entry : expected)
            values << entry.section('=', 0, 0) + "=" + stored(rig, entry.section('=', 0, 0));
        return values;
    }

    // The first message opened from now on stays open while the timers run for the seconds.
    static void holdFirstMessage(EngineRig &rig, int seconds)
    {
        rig.prompter.whileOpen([&rig, seconds, once = true](const Prompt &) mutable {
            if (std::exchange(once, false))
                rig.scheduler.advanceSeconds(seconds);
        });
    }

    // Home on a flat 0.10 a minute, and a call open.
    static void openFlatCall(EngineRig &rig)
    {
        StoreFixtures::flatTariff(rig.store, "Home");
        rig.prepareHome();
        rig.connectAndOpen();
    }

    static void hangUp(EngineRig &rig)
    {
        rig.dialer.DisconnectCommand();
        rig.scheduler.advanceSeconds(2);
    }

private slots:
    // clang-format off
    void wholeCall_data()
    {
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<bool>("otherPicked"); // another provider picked at once after the hang-up
        QTest::newRow("hung up by Disconnect") << false << false;
        QTest::newRow("line dropped while minimized") << true << false;
        QTest::newRow("hung up, another provider picked") << false << true;
    }
    // clang-format on
    void wholeCall()
    {
        QFETCH(bool, dropped);
        QFETCH(bool, otherPicked);
        EngineRig rig(dropped ? "[Home]\nNumber=555-0100\nConnectAfter=2\nDropAfter=126\n"
                              : "[Home]\nNumber=555-0100\nConnectAfter=2\n[Work]\n");
        chargeSettings(rig.store);
        StoreFixtures::flatTariff(rig.store, "Work");
        StoreFixtures::writeValues(rig.store, SettingsLayout::GeneralSettings(),
                                   {"chkSound2=1", "Sound2=/sounds/bye.wav"});
        openFlatCall(rig);
        QCOMPARE(rig.state.text(Field::Cost), QString("0.5000"));
        QVERIFY(!rig.state.providerListEnabled());
        rig.prompter.expect("Log Saved!");
        if (dropped) {
            rig.presenter.setWindowMinimized(true);
            rig.scheduler.advanceSeconds(130);
        } else {
            rig.scheduler.advanceSeconds(125);
            rig.dialer.DisconnectCommand();
            if (otherPicked)
                rig.dialer.SelectProvider("Work");
            rig.scheduler.advanceSeconds(2);
        }
        QVERIFY(!rig.session.CallActive);
        QCOMPARE(rig.prompter.shownTexts(), QStringList({"Log Saved!"}));
        QCOMPARE(rig.sound.played, QStringList({"/sounds/bye.wav"}));
        QCOMPARE(rig.state.text(Field::Cost) + " " + rig.state.text(Field::TotTime),
                 QString(otherPicked ? "0.0000 00:00:00" : "2.0000 00:02:15"));
        QCOMPARE(stored(rig, "TotTime"), QString("00:02:15"));
        const QByteArray report = rig.home.readFile("Logs/Report.ini");
        QVERIFY(report.endsWith(",\"$2.0000\",\"0:2:15\",\"0:2:15\",\"0:2:15\",\"$2.0000\"\r\n"));
        QVERIFY(!dropped || rig.state.text(Field::Caption) == "00:02:15");
        // Nothing happens twice afterwards.
        rig.scheduler.advanceSeconds(120);
        QCOMPARE(rig.prompter.shown().size(), 1);
        QCOMPARE(rig.home.readFile("Logs/Report.ini"), report);
    }

    // Counted from the monotonic clock: an hour online is 1:00:00, not 3 % more. The first
    // minute is charged sixty seconds after connecting (not after the provider's pick), the
    // counters are stored at least every minute meanwhile, so a crash loses little.
    void oneHourIsOneHourAcrossATariffBoundary()
    {
        EngineRig rig("[Home]\nConnectAfter=2\n", QDateTime(QDate(2024, 3, 5), QTime(7, 30, 0)));
        // 0.10 from 08:00 to 20:00, 0.02 outside.
        StoreFixtures::writeTariff(rig.store, "Day", {"0", "08:00", "20:00", "0.10", "0.02", {}, {}});
        StoreFixtures::assignTariff(rig.store, "Home", "Day");
        rig.prepareHome();
        rig.scheduler.advanceSeconds(45);
        rig.connectAndOpen();
        rig.prompter.allowMessages();
        rig.scheduler.advanceSeconds(59);
        QCOMPARE(rig.accounting.figures().callCost.raw(), 0);
        QVERIFY(!rig.state.providerListEnabled()); // the line is in use
        rig.scheduler.advanceSeconds(1);
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), QString("0.0200"));
        const auto seconds = [](const TimeCounter &c) { return c.hours * 3600 + c.minutes * 60 + c.seconds; };
        for (int second = 60; second < 3600; second += 7) {
            rig.scheduler.advanceSeconds(std::min(7, 3600 - second));
            const TimeCounter saved = TimeCounter::fromText(stored(rig, "TotTime"));
            QVERIFY2(seconds(rig.accounting.figures().total) - seconds(saved) <= 60, qPrintable(saved.plainText()));
        }
        rig.scheduler.advanceMs(100);
        QCOMPARE(rig.state.text(Field::CurrTime), QString("01:00:00"));
        hangUp(rig);
        QCOMPARE(stored(rig, "TotTime"), QString("01:00:00"));
        // Charged at 07:31:47 .. 08:30:47: 29 minutes before 08:00:00, 31 after.
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), QString("3.6800"));
    }

    // Two calls on one day, as the log, the report and the stored counters take them.
    void twoCallsLoggedAndReported()
    {
        EngineRig rig("[Home]\nConnectAfter=2\n", QDateTime(QDate(2024, 3, 5), QTime(12, 0, 3)));
        chargeSettings(rig.store);
        StoreFixtures::flatTariff(rig.store, "Home");
        rig.prepareHome();
        for (const int seconds : {115, 290}) { // plus the added 10: 2:05 and 5:00 charged
            rig.connectAndOpen();
            rig.prompter.expect("Log Saved!");
            rig.scheduler.advanceSeconds(seconds);
            hangUp(rig);
            rig.clock.setNow(rig.clock.now().addSecs(60 * 5));
        }
        const QByteArray bar(87, '_');
        auto entry = [&bar](const QByteArray &lines) { return "\"" + bar + "\r\n" + lines + bar + "\"\r\n"; };
        // The second call's entries (the first call's, numbered 1, as the locked-store test shows).
        const QByteArray log = rig.home.readFile("Logs/Connections.log");
        QCOMPARE(log.count("Provider: Home"), 2);
        QCOMPARE(log.mid(log.lastIndexOf("\"" + bar)),
                 entry("  Provider: Home Started: 5/3/2024  12:07:05 Ended: 12:11:56  Current Payment: $2.0000\r\n"
                       "  Duration: 00:05:00  Today: 0:7:5  This month: 0:7:5\r\n"
                       "  Total Time: 0:7:5  Number of calls: 2  Total Payment: $4.0000 Tariff Name: Flat\r\n"));
        QVERIFY(rig.home.readFile("Logs/Report.ini")
                    .endsWith("\"0:2:5\",\"$2.0000\"\r\n\"Home\",\"2\",\"5/3/2024\",\"12:07:05\",\"12:11:56\","
                              "\"00:05:00\",\"$2.0000\",\"0:7:5\",\"0:7:5\",\"0:7:5\",\"$4.0000\"\r\n"));
        const QStringList expected = {"Name=Home",          "Login=",           "TotTime=00:07:05",  "Calls=2",
                                      "StartTime=12:07:05", "EndTime=12:11:56", "TodayDate=5/3/24",  "TodayTime=0:7:5",
                                      "MonthTime=0:7:5",    "Payment=400",      "Month Payment=400", "Day Payment=400"};
        QCOMPARE(storedAs(rig, expected), expected);
        QCOMPARE(rig.state.text(Field::Cost), QString("4.0000"));
        QCOMPARE(rig.prompter.shownTexts(), QStringList({"Log Saved!", "Log Saved!"}));
    }

    // A message left open does not stop the counting or the charging.
    void messageLeftOpenTenMinutes()
    {
        EngineRig rig;
        openFlatCall(rig);
        rig.scheduler.advanceSeconds(5);
        // A message opened from a timer (any prompt will do) stays open for ten minutes.
        holdFirstMessage(rig, 600);
        rig.prompter.allowMessages();
        rig.scheduler.setHandler(Timer::tmrCheck, [&] { rig.prompter.tell("Please wait"); });
        rig.scheduler.startOnce(Timer::tmrCheck, 1000);
        rig.scheduler.advanceSeconds(1);
        QCOMPARE(rig.state.text(Field::CurrTime), QString("00:10:06"));
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), QString("1.0000"));
    }

    void programsStartOncePerCallInOrder()
    {
        EngineRig rig;
        StoreFixtures::flatTariff(rig.store, "Home");
        const QString list = SettingsLayout::GeneralSettings() + "\\Exec";
        StoreFixtures::writeValues(rig.store, list, {"0=browser --new", "1=editor", "2=missing-mailer", "3=news"});
        StoreFixtures::writeValues(rig.store, list + " Selected", {"0=True", "1=False", "2=True", "3=True"});
        rig.prepareHome();
        holdFirstMessage(rig, 5); // the failing program's message, while tmrStartUp would tick again
        rig.prompter.allowMessages();
        rig.connectAndOpen();
        rig.scheduler.advanceSeconds(3);
        QCOMPARE(rig.launcher.started, QStringList({"browser --new", "missing-mailer", "news"}));
        QCOMPARE(rig.prompter.shown().size(), 1); // the missing program's, once
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("1"));
    }

    void callSpanningMidnightAndMonthEnd()
    {
        EngineRig rig("[Home]\nConnectAfter=2\n", QDateTime(QDate(2024, 1, 31), QTime(23, 58, 0)));
        StoreFixtures::writeTariff(rig.store, "Weekday", {"2", "", "", "0.10", "0", {}, {}});
        StoreFixtures::writeTariff(rig.store, "Thursday", {"2", "", "", "0.05", "0", {}, {}});
        StoreFixtures::assignTariff(rig.store, "Home", "Weekday", {1, 2, 3, 4, 6, 7});
        StoreFixtures::assignTariff(rig.store, "Home", "Thursday", {5}); // 1 February 2024
        rig.prepareHome();
        rig.connectAndOpen(); // seen at 23:58:02.7
        rig.prompter.allowMessages();
        rig.scheduler.advanceSeconds(241); // to 00:02:03.7: 241 seconds online
        // 117 whole seconds and the minute charged before midnight go to the old day and month.
        QCOMPARE(rig.home.readFile("Logs/DayArchive.ini"),
                 QByteArray("\"Home\",\"31/1/2024\",\"0:1:57\",\"$0.1000\"\r\n"));
        QCOMPARE(rig.home.readFile("Logs/MonthArchive.ini"),
                 QByteArray("\"Home\",\"1/2024\",\"0:1:57\",\"$0.1000\"\r\n"));
        QCOMPARE(QStringList({rig.state.text(Field::TariffName), rig.state.text(Field::CurrTime),
                              rig.state.text(Field::TodayTime), stored(rig, "TodayDate")}),
                 QStringList({"Thursday", "00:04:01", "00:02:04", "1/2/24"}));
        // One minute before midnight at 0.10, three after at 0.05.
        QCOMPARE(rig.accounting.figures().callCost.toFixed(), QString("0.2500"));
        // The call's end adds only the rest to the new day; the call and the total stay whole.
        hangUp(rig);
        QCOMPARE(storedAs(rig, {"Day Payment=15", "Month Payment=15", "Payment=25"}),
                 QStringList({"Day Payment=15", "Month Payment=15", "Payment=25"}));
        QVERIFY(rig.home.readFile("Logs/Report.ini").contains("\"$0.2500\""));
    }

    // Another process holds the store's write lock when a call ends: the window waits a
    // moment at most, the failure is told once, nothing claims success, and the counters
    // are kept and stored once the lock is gone, so no call number is used twice.
    void lockedStoreKeepsTheCall()
    {
        EngineRig rig;
        openFlatCall(rig);
        rig.scheduler.advanceSeconds(30);
        StoreFixtures::WriteLock lock(rig.home.locations().settingsDatabase());
        rig.prompter.expect("LineMinder could not save the counters of Home: database is locked. They are kept and "
                            "saved again at the next chance.");
        QElapsedTimer blocked;
        blocked.start();
        hangUp(rig);
        QVERIFY2(blocked.elapsed() < 1000, qPrintable(QString::number(blocked.elapsed()) + " ms"));
        QVERIFY(!rig.session.CallActive);
        QCOMPARE(rig.prompter.shown().size(), 1); // no "Log Saved!"
        QVERIFY(rig.home.readFile("Logs/Report.ini").startsWith("\"Home\",\"1\","));
        rig.scheduler.advanceSeconds(30); // retries, untold
        QCOMPARE(stored(rig, "Calls"), QString("<missing>"));
        lock.release();
        rig.scheduler.advanceSeconds(10);
        QCOMPARE(QStringList({stored(rig, "Calls"), stored(rig, "TotTime")}), QStringList({"1", "00:00:30"}));
        QCOMPARE(rig.prompter.shown().size(), 1);
        rig.prompter.allowMessages();
        rig.connectAndOpen();
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("2"));
    }

    // Counted and charged by the minute, but no call: no fee, no minimum charge, no log.
    void connectionMadeOutsideIsCountedButNotOpened()
    {
        EngineRig rig;
        StoreFixtures::flatTariff(rig.store, "Home");
        chargeSettings(rig.store);
        rig.prepareHome();
        rig.scheduler.advanceSeconds(25); // the provider was picked a while before
        rig.line.RasDial({"Home", "", "", ""});
        rig.scheduler.advanceSeconds(125);
        QVERIFY(!rig.session.CallActive);
        QCOMPARE(rig.state.text(Field::TotTime) + " " + rig.state.text(Field::Cost), QString("00:02:03 0.2000"));
        rig.line.RasHangUp(rig.line.RasEnumConnections());
        rig.scheduler.advanceSeconds(65);
        QCOMPARE(rig.state.text(Field::Cost), QString("0.2000"));
        QVERIFY(rig.prompter.shown().isEmpty() && !rig.home.exists("Logs/Report.ini")); // no log entry for it
    }

    // A message of the provider pick left open while the timers run is shown once.
    // clang-format off
    void pickMessageShownOnceWhileLeftOpen_data()
    {
        QTest::addColumn<QByteArray>("holidays");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("no tariff") << QByteArray() << QStringList{"You don't have any assigned tariff for today!"};
        QTest::newRow("holiday") << QByteArray("\"5/3/2024\",\"Test Day\"\r\n") << QStringList{"Holiday's Tariff is Active!!"};
    }
    // clang-format on
    void pickMessageShownOnceWhileLeftOpen()
    {
        QFETCH(QByteArray, holidays);
        EngineRig rig;
        if (!holidays.isEmpty())
            StoreFixtures::flatTariff(rig.store, "Home");
        rig.home.writeFile("Holiday.hl", holidays);
        holdFirstMessage(rig, 3);
        rig.prompter.allowMessages();
        rig.dialer.SelectProvider("Home");
        QTEST(rig.prompter.shownTexts(), "shown");
        QCOMPARE(stored(rig, "TodayDate"), QString("5/3/24"));
    }

    // A reset while a call runs: the figures count on from zero (the engine credits only the seconds since,
    // never the call again).
    // clang-format off
    void resetDuringCall_data()
    {
        QTest::addColumn<QString>("reset");
        QTest::addColumn<QString>("shown"); // current, today, month, total, calls, cost a second later
        QTest::newRow("Reset All") << "all" << "00:00:01 00:00:01 00:00:01 00:00:01 0 0.0000";
        QTest::newRow("Reset Selected today, cost") << "selected" << "00:01:31 00:00:01 00:01:31 00:01:31 1 0.0000";
        QTest::newRow("answered No") << "no" << "00:01:31 00:01:31 00:01:31 00:01:31 1 0.1000";
    }
    // clang-format on
    void resetDuringCall()
    {
        QFETCH(QString, reset);
        EngineRig rig;
        openFlatCall(rig);
        rig.scheduler.advanceSeconds(90);
        rig.prompter.expect(reset == "all" ? "Are you sure to RESET all Timers and Counters?"
                                           : "Are you sure to RESET all Selected Timers and Counters?",
                            reset == "no" ? Prompt::Answer::No : Prompt::Answer::Yes);
        using Counter = CallAccounting::Counter;
        QCOMPARE(rig.core.resetCounters(reset == "all" ? AppCore::Reset::All : AppCore::Reset::Selected,
                                        {Counter::Today, Counter::Cost}),
                 reset != "no");
        rig.scheduler.advanceSeconds(1);
        QStringList texts;
        for (Field field :
             {Field::CurrTime, Field::TodayTime, Field::MonthTime, Field::TotTime, Field::CallsNumber, Field::Cost})
            texts << rig.state.text(field);
        QTEST(texts.join(' '), "shown");
    }
};

QTEST_GUILESS_MAIN(TestCallEngine)
#include "tst_CallEngine.moc"
