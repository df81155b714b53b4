#include "mail/MailChecker.h"
#include "mail/MailServer.h"
#include "mail/MailSettingsCheck.h"

#include <QSignalSpy>
#include <QTest>

#include "ScriptedPop3Server.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

using Check = ProviderProfile::Check;
using Field = MainState::Field;
using Server = ScriptedPop3Server;
using Script = Server::Script;
using Step = Pop3Check::Step;
using Text = ProviderProfile::Text;
using Texts = QMap<Text, QString>;
using Timer = Scheduler::Timer;

namespace {

constexpr int kWaitMs = 5000;

// The engine on the simulated line with "Home" loaded, its mail settings pointing at a
// scripted server.
struct MailRig
{
    // "mail": settings written over the usable ones, "key=value".
    explicit MailRig(const Script &script = Server::mailbox(), const QStringList &mail = {})
    {
        server.setScript(script);
        StoreFixtures::writeValues(rig.store, SettingsLayout::ProviderMail("Home"),
                                   QStringList{"Check E-mail=1", "Host=" + server.address(), "User=bob",
                                               "Passwd=secret", "Interval=2", "Timeout=30", "CheckInt=1", "ChkSound=1",
                                               "Sound=/sounds/mail.wav"} +
                                       mail);
        rig.prepareHome();
    }
    // Waits (on the real socket) until the check running now has ended.
    bool settled()
    {
        return QTest::qWaitFor([this] { return !checker.isChecking(); }, kWaitMs);
    }
    QString label() const { return rig.state.text(Field::Email); }

    Server server;
    EngineRig rig;
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
    // The server address: a host, an IPv6 literal, and an optional port.
    // clang-format off
    void serverAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port"); // 0: refused
        QTest::newRow("host alone: POP3's port") << "mail.example.net" << "mail.example.net" << 110;
        QTest::newRow("host and port") << "127.0.0.1:11010" << "127.0.0.1" << 11010;
        QTest::newRow("blanks around") << "  mail.example.net:995 " << "mail.example.net" << 995;
        QTest::newRow("highest port") << "h:65535" << "h" << 65535;
        QTest::newRow("IPv6 literal") << "::1" << "::1" << 110;
        QTest::newRow("IPv6 literal with port") << "[::1]:2110" << "::1" << 2110;
        QTest::newRow("IPv6 in brackets, no port") << "[fe80::1]" << "fe80::1" << 110;
        QTest::newRow("only a port") << ":110" << "" << 0;
        QTest::newRow("port 0") << "mail:0" << "" << 0;
        QTest::newRow("port too high") << "mail:65536" << "" << 0;
        QTest::newRow("port with a sign") << "mail:+110" << "" << 0;
        QTest::newRow("port of many digits") << "mail:0000110" << "" << 0;
        QTest::newRow("unclosed bracket") << "[::1:110" << "" << 0;
        QTest::newRow("garbage after bracket") << "[::1]110" << "" << 0;
    }
    // clang-format on
    void serverAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<MailServer> server = ParseMailServer(text);
        QCOMPARE(server ? std::pair(server->host, int(server->port)) : std::pair(QString(), 0), std::pair(host, port));
    }

    // The settings a check needs, as typed: what differs from a usable mailbox. "message" is
    // the one shown; empty when the settings pass, "-" when refused silently. (Numbers as
    // such, letters or signs: tst_ProviderProfile.)
    // clang-format off
    void settingsCheck_data()
    {
        QTest::addColumn<bool>("email");
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<QString>("message");
        QTest::newRow("all set") << true << Texts{} << "";
        QTest::newRow("host with port, smallest numbers, no password") << true << Texts{{Text::Pop3Host, "127.0.0.1:2110"}, {Text::Pop3Passwd, ""}, {Text::Interval, "1"}, {Text::Timeout, "1"}} << "";
        QTest::newRow("largest numbers") << true << Texts{{Text::Interval, "32767"}, {Text::Timeout, "32767"}} << "";
        QTest::newRow("mail off: silent, whatever is set") << false << Texts{{Text::Pop3Host, ""}, {Text::Pop3User, ""}, {Text::Interval, "0"}, {Text::Timeout, "0"}} << "-";
        QTest::newRow("blank host") << true << Texts{{Text::Pop3Host, "   "}} << "You must enter your mail server's address!";
        QTest::newRow("host first of all") << true << Texts{{Text::Pop3Host, ""}, {Text::Pop3User, ""}, {Text::Interval, "0"}, {Text::Timeout, "0"}} << "You must enter your mail server's address!";
        QTest::newRow("user before interval") << true << Texts{{Text::Pop3User, ""}, {Text::Interval, "0"}, {Text::Timeout, "0"}} << "You must set POP3 username!";
        QTest::newRow("interval before timeout") << true << Texts{{Text::Interval, "0"}, {Text::Timeout, "0"}} << "You must set an interval greater than zero!";
        QTest::newRow("interval too large") << true << Texts{{Text::Interval, "32768"}} << "You must set an interval greater than zero!";
        QTest::newRow("timeout 0") << true << Texts{{Text::Timeout, "0"}} << "You must set a timeout greater than zero";
        QTest::newRow("LF in host") << true << Texts{{Text::Pop3Host, "h\nx"}} << "The mail server's address must not contain line breaks or NUL characters!";
        QTest::newRow("NUL in host") << true << Texts{{Text::Pop3Host, "h" + QString(QChar(0))}} << "The mail server's address must not contain line breaks or NUL characters!";
        QTest::newRow("bad port") << true << Texts{{Text::Pop3Host, "h:pop"}} << "The mail server's port must be a whole number from 1 to 65535!";
        QTest::newRow("CR LF in user") << true << Texts{{Text::Pop3User, "bob\r\nDELE 1"}} << "The POP3 username must not contain line breaks or NUL characters!";
        QTest::newRow("LF in password") << true << Texts{{Text::Pop3Passwd, "x\nDELE 1"}} << "The POP3 password must not contain line breaks or NUL characters!";
    }
    // clang-format on
    void settingsCheck()
    {
        QFETCH(bool, email);
        QFETCH(Texts, texts);
        QFETCH(QString, message);
        ProviderProfile profile;
        profile.setChecked(Check::EMail, email);
        Texts all{{Text::Pop3Host, "h"},
                  {Text::Pop3User, "bob"},
                  {Text::Pop3Passwd, "x"},
                  {Text::Interval, "15"},
                  {Text::Timeout, "30"}};
        all.insert(texts);
        for (auto it = all.cbegin(); it != all.cend(); ++it)
            profile.setText(it.key(), it.value());
        ScriptedPrompter prompter;
        prompter.allowMessages();
        QCOMPARE(CheckMailSettings(profile, prompter), message.isEmpty());
        QCOMPARE(prompter.shownTexts(), message.isEmpty() || message == "-" ? QStringList() : QStringList{message});
        for (const Prompt &prompt : prompter.shown())
            QCOMPARE(prompt.icon, Prompt::Icon::Exclamation);
    }

    // The first check of a call: "box" is the message shown (none: ""), "notified" that mail
    // waits and the window announces it. A check that fails at a step (how it fails there:
    // tst_Pop3Check) tells why. While the box is open a request is ignored, and a hang-up
    // (an alarm) keeps the periodic checks stopped.
    // clang-format off
    void firstCheckOfACall_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<bool>("device");
        QTest::addColumn<bool>("hangUp"); // while the box is open
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label"); // lblEmail afterwards
        QTest::addColumn<bool>("notified");
        const QString two = "You have 2 new messages - next check in 2 min";
        QTest::newRow("no mail") << Server::mailbox("+OK 0 0") << true << false << "" << "You have 0 new messages - next check in 2 min" << false;
        QTest::newRow("two messages") << Server::mailbox() << true << false << "+OK 2 320\r\n" << two << true;
        QTest::newRow("no sound device: a beep") << Server::mailbox() << false << false << "+OK 2 320\r\n" << two << true;
        QTest::newRow("two messages, hung up meanwhile") << Server::mailbox() << true << true << "+OK 2 320\r\n" << "You have 2 new messages" << true;
        QTest::newRow("greeting fails") << failingAt(Step::Greeting, "-ERR\r\n") << true << false << "The mail server doesn't answer!" << "The mail server doesn't answer!" << false;
        QTest::newRow("USER fails") << failingAt(Step::User, "-ERR\r\n") << true << false << "Invalid POP3 Username!" << "Invalid POP3 Username!" << false;
        QTest::newRow("PASS fails") << failingAt(Step::Pass, "-ERR\r\n") << true << false << "Invalid POP3 Password!" << "Invalid POP3 Password!" << false;
        QTest::newRow("STAT fails") << failingAt(Step::Stat, "-ERR\r\n") << true << false << "STAT command not recognized" << "STAT command not recognized" << false;
    }
    // clang-format on
    void firstCheckOfACall()
    {
        QFETCH(Script, script);
        QFETCH(bool, device);
        QFETCH(bool, hangUp);
        QFETCH(QString, box);
        QFETCH(QString, label);
        QFETCH(bool, notified);
        MailRig mail(script);
        mail.rig.sound.device = device;
        // The check must start on an opened call: counted, charged, its time taken.
        bool openWhenStarted = false;
        QObject::connect(&mail.rig.pop3, &Pop3Check::waiting, [&] {
            openWhenStarted = mail.rig.session.CallActive && mail.rig.scheduler.isActive(Timer::tmrTime);
        });
        mail.rig.prompter.allowMessages();
        const bool counted = label.startsWith("You have");
        mail.rig.prompter.whileOpen([&](const Prompt &) {
            mail.checker.CheckNow_Click();
            if (hangUp)
                mail.rig.dialer.hangup();
        });

        mail.rig.connectAndOpen();
        QVERIFY(mail.settled());
        QVERIFY(openWhenStarted);
        QCOMPARE(mail.rig.scheduler.isActive(Timer::tmrCheck), !hangUp);
        QCOMPARE(mail.server.connections(), 1);
        QCOMPARE(mail.rig.prompter.shownTexts(), box.isEmpty() ? QStringList() : QStringList{box});
        if (!box.isEmpty())
            QCOMPARE(mail.rig.prompter.shown().first().icon, counted ? Prompt::Icon::None : Prompt::Icon::Critical);
        QCOMPARE(mail.rig.sound.played, notified && device ? QStringList{"/sounds/mail.wav"} : QStringList());
        QCOMPARE(mail.beeps.size(), notified && !device ? 1 : 0);
        QCOMPARE(mail.label(), label);
        const QString message = label.section(" - ", 0, 0);
        QCOMPARE(mail.checker.trayTip(), notified || !counted ? message : mail.rig.state.text(Field::CurrTime));
        const QList<QVariantList> read{{message, "5/3/2024 12:00:02"}};
        QCOMPARE(mail.counts, counted ? read : QList<QVariantList>());
        QCOMPARE(mail.notes, notified ? read : QList<QVariantList>());
    }

    // Settings the check cannot use (each rule: settingsCheck) are told, and nothing
    // runs; with mail off nothing runs either.
    // clang-format off
    void settingsThatLetACheckRun_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("message"); // refused with it
        QTest::newRow("mail checking off") << "Check E-mail=0" << "";
        QTest::newRow("interval 0") << "Interval=0" << "You must set an interval greater than zero!";
    }
    // clang-format on
    void settingsThatLetACheckRun()
    {
        QFETCH(QString, setting);
        QFETCH(QString, message);
        MailRig mail(Server::mailbox(), {setting});
        mail.rig.prompter.allowMessages();
        mail.rig.connectAndOpen();
        QVERIFY(!mail.checker.isChecking());
        QCOMPARE(mail.rig.prompter.shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!mail.rig.scheduler.isActive(Timer::tmrCheck));
    }

    // A check each interval. A periodic check clears the notification flag first: an empty
    // mailbox twice in a row opens no window.
    void countdown()
    {
        MailRig mail(Server::mailbox("+OK 0 0"));
        mail.rig.connectAndOpen();
        QVERIFY(mail.settled());
        mail.rig.scheduler.advanceSeconds(59);
        QCOMPARE(mail.checker.countdown(), 2);
        mail.rig.scheduler.advanceSeconds(1);
        QCOMPARE(mail.label(), QString("You have 0 new messages - next check in 1 min"));
        QCOMPARE(mail.server.connections(), 1);
        mail.rig.scheduler.advanceSeconds(60);
        QCOMPARE(mail.label(), QString("Checking mail..."));
        QVERIFY(mail.settled());
        QCOMPARE(mail.server.connections(), 2);
        QCOMPARE(mail.checker.countdown(), 2);
        QCOMPARE(mail.notes.size(), 0);
    }

    // Hang-up, another provider: the check ends without a word.
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
        MailRig mail(failingAt(Step::Pass, ""));
        mail.rig.connectAndOpen();
        QTRY_COMPARE_WITH_TIMEOUT(mail.rig.pop3.step(), Step::Pass, kWaitMs);
        if (hangUp)
            mail.rig.dialer.hangup();
        else
            mail.rig.loadProvider("Home");
        QVERIFY(!mail.checker.isChecking());
        QCOMPARE(mail.rig.scheduler.isActive(Timer::tmrCheck), !hangUp);
        QVERIFY(!mail.rig.pop3.isRunning()); // its time-out can tell nothing
        QTRY_VERIFY_WITH_TIMEOUT(mail.server.closed(), kWaitMs);
        QCOMPARE(mail.rig.prompter.shown().size(), 0);
    }

    // The mark runs tmrCheck and ticks chkEmailInt, in the live settings only. Ticks while
    // no countdown runs (failed checks leave it at 0) start nothing and never take it below 0.
    void enableMenu()
    {
        MailRig mail(Server::mailbox(), {"CheckInt=0"});
        mail.checker.mnuMailEnable_Click();
        QVERIFY(mail.checker.mailEnableChecked());
        QVERIFY(mail.rig.scheduler.isActive(Timer::tmrCheck));
        QVERIFY(mail.rig.profile.isChecked(Check::EmailInt));
        mail.rig.scheduler.advanceSeconds(180);
        QCOMPARE(mail.checker.countdown(), 0);
        QCOMPARE(mail.server.connections(), 0);
        mail.checker.mnuMailEnable_Click();
        QVERIFY(!mail.rig.scheduler.isActive(Timer::tmrCheck));
        QVERIFY(!mail.rig.profile.isChecked(Check::EmailInt));
        mail.checker.mnuMailEnable_Click();
        QCOMPARE(mail.rig.store.GetSetting(SettingsLayout::ProviderMail("Home"), "CheckInt"), QString("0"));
        mail.rig.loadProvider("Home");
        QVERIFY(!mail.checker.mailEnableChecked());
    }
};

QTEST_GUILESS_MAIN(TestMailChecker)
#include "tst_MailChecker.moc"
