#include "mail/MailChecker.h"

#include <QSignalSpy>
#include <QTest>

#include "ScriptedPop3Server.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"

using Check = ProviderProfile::Check;
using Field = MainState::Field;
using Script = QList<ScriptedPop3Server::Reply>;
using Server = ScriptedPop3Server;
using Step = Pop3Check::Step;
using Timer = Scheduler::Timer;

Q_DECLARE_METATYPE(Script)

namespace {

constexpr int kWaitMs = 5000;

// The engine on the simulated line with "Home" loaded, its mail settings pointing at a
// scripted server.
struct MailRig
{
    explicit MailRig(const QMap<QString, QString> &mail = {})
    {
        QMap<QString, QString> settings{
            {"Check E-mail", "1"}, {"Host", server.address()}, {"User", "bob"},
            {"Passwd", "secret"},  {"Interval", "2"},          {"Timeout", "30"},
            {"CheckInt", "1"},     {"ChkSound", "1"},          {"Sound", "/sounds/mail.wav"}};
        settings.insert(mail);
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            rig.store.SaveSetting(SettingsLayout::ProviderMail("Home"), it.key(), it.value());
        rig.prepareHome();
    }
    // Waits (on the real socket) until the check running now has ended.
    bool settled()
    {
        return QTest::qWaitFor([this] { return !checker.isChecking(); }, kWaitMs);
    }

    Server server;
    EngineRig rig;
    RecordingSoundPlayer &sound = rig.sound;
    Pop3Check &pop3 = rig.pop3;
    MailChecker &checker = rig.mail;
    QSignalSpy notes{&checker, &MailChecker::notificationReady};
    QSignalSpy counts{&checker, &MailChecker::countRead}; // every count read, shown or not
    QSignalSpy beeps{&checker, &MailChecker::beepRequested};
};

} // namespace

class TestMailChecker : public QObject
{
    Q_OBJECT

private slots:
    // The first check of a call; "notified": mail waits, a box and the window announce it.
    // clang-format off
    void firstCheckOfACall_data()
    {
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("notified");
        const QString two = "You have 2 new messages";
        QTest::newRow("no mail") << QByteArray("+OK 0 0") << true << "You have 0 new messages" << false;
        QTest::newRow("two messages") << QByteArray("+OK 2 320") << true << two << true;
        QTest::newRow("no sound device: a beep") << QByteArray("+OK 2 320") << false << two << true;
        QTest::newRow("no count in the reply") << QByteArray("+OK 3") << true << "You have  new messages" << false;
    }
    // clang-format on
    void firstCheckOfACall()
    {
        QFETCH(QByteArray, stat);
        QFETCH(bool, device);
        QFETCH(QString, label);
        QFETCH(bool, notified);
        MailRig mail;
        mail.sound.device = device;
        mail.server.setScript(Server::mailbox(stat));
        // The check must start on an opened call: counted, charged, its time taken.
        bool openWhenStarted = false;
        int starts = 0;
        QObject::connect(&mail.pop3, &Pop3Check::waiting, [&](Step step) {
            if (step != Step::Greeting)
                return;
            ++starts;
            openWhenStarted = mail.rig.session.CallActive && mail.rig.session.start.isValid() &&
                              !mail.rig.scheduler.isActive(Timer::tmrStartUp) &&
                              mail.rig.scheduler.isActive(Timer::tmrTime);
        });
        if (notified)
            mail.rig.prompter.expect(stat + "\r\n");

        mail.rig.connectAndOpen();
        QVERIFY(mail.checker.isChecking());
        QCOMPARE(mail.rig.state.text(Field::Email), QString("Checking mail..."));
        QVERIFY(mail.settled());
        QCOMPARE(starts, 1);
        QVERIFY(openWhenStarted);
        QVERIFY(mail.rig.scheduler.isActive(Timer::tmrCheck));
        QCOMPARE(mail.rig.prompter.pendingExpectations(), 0);
        QCOMPARE(mail.sound.played, notified && device ? QStringList{"/sounds/mail.wav"} : QStringList());
        QCOMPARE(mail.beeps.size(), notified && !device ? 1 : 0);
        QCOMPARE(mail.checker.trayTip(), notified ? label : mail.rig.state.text(Field::CurrTime));
        QCOMPARE(mail.rig.state.text(Field::Email), label + " - next check in 2 min");
        const QList<QVariantList> read{{label, "5/3/2024 12:00:02"}};
        QCOMPARE(mail.counts, read);
        QCOMPARE(mail.notes, notified ? read : QList<QVariantList>());
    }

    // Settings the check cannot use (each rule: tst_MailSettingsCheck) are told, and nothing
    // runs; with mail off nothing runs either.
    // clang-format off
    void settingsThatLetACheckRun_data()
    {
        QTest::addColumn<bool>("email");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("message"); // refused with it
        QTest::newRow("mail checking off") << false << 2 << "";
        QTest::newRow("interval 0") << true << 0 << "You must set an interval greater than zero!";
    }
    // clang-format on
    void settingsThatLetACheckRun()
    {
        QFETCH(bool, email);
        QFETCH(int, interval);
        QFETCH(QString, message);
        MailRig mail({{"Check E-mail", email ? "1" : "0"}, {"Interval", QString::number(interval)}});
        if (!message.isEmpty())
            mail.rig.prompter.expect(message);
        mail.rig.connectAndOpen();
        QVERIFY(!mail.checker.isChecking());
        QCOMPARE(mail.rig.prompter.pendingExpectations(), 0);
        QVERIFY(!mail.rig.scheduler.isActive(Timer::tmrCheck));
        QCOMPARE(mail.server.connections(), 0);
        QCOMPARE(mail.checker.countdown(), 0);
    }

    void countdown()
    {
        MailRig mail;
        mail.server.setScript(Server::mailbox("+OK 0 0"));
        mail.rig.connectAndOpen();
        QVERIFY(mail.settled());
        mail.rig.scheduler.advanceSeconds(59);
        QCOMPARE(mail.checker.countdown(), 2);
        mail.rig.scheduler.advanceSeconds(1);
        QCOMPARE(mail.rig.state.text(Field::Email), QString("You have 0 new messages - next check in 1 min"));
        QCOMPARE(mail.server.connections(), 1);
        mail.rig.scheduler.advanceSeconds(60);
        QVERIFY(mail.checker.isChecking());
        QCOMPARE(mail.rig.state.text(Field::Email), QString("Checking mail..."));
        QVERIFY(mail.settled());
        QCOMPARE(mail.server.connections(), 2);
        QCOMPARE(mail.checker.countdown(), 2);
        // A periodic check clears the notification flag first: an empty mailbox twice in
        // a row opens no window.
        QCOMPARE(mail.notes.size(), 0);
    }

    // A check that fails at a step (how it fails there: tst_Pop3Check) tells why.
    // clang-format off
    void failures_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("message");
        QTest::newRow("greeting") << Step::Greeting << "The mail server doesn't answer!";
        QTest::newRow("USER") << Step::User << "Invalid POP3 Username!";
        QTest::newRow("PASS") << Step::Pass << "Invalid POP3 Password!";
        QTest::newRow("STAT") << Step::Stat << "STAT command not recognized";
    }
    // clang-format on
    void failures()
    {
        QFETCH(Step, step);
        QFETCH(QString, message);
        MailRig mail;
        mail.server.setScript(failingAt(step, Server::say("-ERR")));
        bool closedFirst = false;
        mail.rig.prompter.expect(message);
        // The server must already see the connection closed while the user reads.
        mail.rig.prompter.whileOpen(
            [&](const Prompt &) { closedFirst = QTest::qWaitFor([&] { return mail.server.closed(); }, kWaitMs); });
        mail.checker.CheckNow_Click();
        QVERIFY(mail.settled());
        QCOMPARE(mail.rig.prompter.pendingExpectations(), 0);
        QCOMPARE(mail.rig.prompter.shown().first().icon, Prompt::Icon::Critical);
        QVERIFY(closedFirst);
        QCOMPARE(mail.rig.state.text(Field::Email), message);
        QCOMPARE(mail.notes.size(), 0);
    }

    void oneCheckAtATime()
    {
        MailRig mail;
        Script script = Server::mailbox("+OK 0 0");
        script[0] = Server::silence();
        mail.server.setScript(script);
        int starts = 0;
        QObject::connect(&mail.pop3, &Pop3Check::waiting, [&](Step step) { starts += step == Step::Greeting; });
        mail.rig.connectAndOpen();
        mail.checker.CheckNow_Click();
        mail.checker.imgEmail_Click();
        QTRY_COMPARE_WITH_TIMEOUT(mail.server.connections(), 1, kWaitMs);
        mail.checker.CheckNow_Click();
        mail.server.write(0, "+OK hello\r\n");
        QVERIFY(mail.settled());
        QCOMPARE(starts, 1);
        QCOMPARE(mail.server.connections(), 1);
        QCOMPARE(mail.rig.prompter.shown().size(), 0);
    }

    // Hang-up, the window closing, another provider: the check ends without a word.
    // clang-format off
    void abortedCheck_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("hang-up") << true;
        QTest::newRow("provider loaded again") << false;
    }
    // clang-format on
    void abortedCheck()
    {
        QFETCH(bool, hangUp);
        MailRig mail;
        mail.server.setScript(failingAt(Step::Pass, Server::silence()));
        mail.rig.connectAndOpen();
        QTRY_COMPARE_WITH_TIMEOUT(mail.pop3.step(), Step::Pass, kWaitMs);
        if (hangUp) {
            mail.rig.dialer.hangup();
        } else {
            mail.rig.loadProvider("Home");
            mail.checker.onProviderLoaded();
        }
        QVERIFY(!mail.checker.isChecking());
        QCOMPARE(mail.rig.scheduler.isActive(Timer::tmrCheck), !hangUp);
        QTRY_VERIFY_WITH_TIMEOUT(mail.server.closed(), kWaitMs);
        // Its time-out passes: no message comes for a check that no longer runs.
        mail.rig.clock.advanceSeconds(60);
        mail.pop3.checkDeadline();
        QCOMPARE(mail.rig.prompter.shown().size(), 0);
    }

    // Mail found just as an alarm hangs up (while the message box is open): the window
    // still opens, but the periodic checks stay stopped.
    // clang-format off
    void hangUpWhileTheMessageIsOpen_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("line stays up: tmrCheck runs on") << false;
        QTest::newRow("hung up meanwhile: tmrCheck stays off") << true;
    }
    // clang-format on
    void hangUpWhileTheMessageIsOpen()
    {
        QFETCH(bool, hangUp);
        MailRig mail;
        mail.rig.prompter.expect("+OK 2 320\r\n");
        mail.rig.prompter.whileOpen([&](const Prompt &) {
            // A request while the result is shown is ignored too.
            mail.checker.CheckNow_Click();
            if (hangUp)
                mail.rig.dialer.hangup();
        });
        mail.rig.connectAndOpen();
        QVERIFY(mail.settled());
        QCOMPARE(mail.notes.size(), 1);
        QCOMPARE(mail.rig.scheduler.isActive(Timer::tmrCheck), !hangUp);
        QCOMPARE(mail.server.connections(), 1);
    }

    // Failed checks leave the countdown at 0: it never goes below, never wraps round to
    // start checks again, and the periodic checks rest until one reaches the count.
    void countdownNeverWraps()
    {
        MailRig mail;
        mail.server.setScript(failingAt(Step::Greeting, Server::say("-ERR")));
        mail.rig.prompter.allowMessages();
        mail.checker.mnuMailEnable_Click();
        mail.checker.mnuMailEnable_Click();
        QVERIFY(mail.rig.scheduler.isActive(Timer::tmrCheck));
        for (int minute = 0; minute < 70000; ++minute)
            mail.checker.tmrCheck();
        QCOMPARE(mail.checker.countdown(), 0);
        QVERIFY(!mail.checker.isChecking());
        QCOMPARE(mail.server.connections(), 0);
    }

    void enableMenu()
    {
        MailRig mail({{"CheckInt", "0"}});
        mail.checker.mnuMailEnable_Click();
        QVERIFY(mail.checker.mailEnableChecked());
        QVERIFY(mail.rig.scheduler.isActive(Timer::tmrCheck));
        QVERIFY(mail.rig.profile.isChecked(Check::EmailInt));
        mail.checker.mnuMailEnable_Click();
        QVERIFY(!mail.rig.scheduler.isActive(Timer::tmrCheck));
        QVERIFY(!mail.rig.profile.isChecked(Check::EmailInt));
        mail.checker.mnuMailEnable_Click();
        // Not stored: the next load of the provider brings the stored setting back.
        QCOMPARE(mail.rig.store.GetSetting(SettingsLayout::ProviderMail("Home"), "CheckInt"), QString("0"));
        mail.rig.loadProvider("Home");
        mail.checker.onProviderLoaded();
        QVERIFY(!mail.checker.mailEnableChecked());
    }
};

QTEST_GUILESS_MAIN(TestMailChecker)
#include "tst_MailChecker.moc"
