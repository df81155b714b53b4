#include "mail/Pop3Check.h"

#include <QSignalSpy>
#include <QTest>

#include "ScriptedPop3Server.h"
#include "support/FakeClock.h"

using Kind = Pop3Check::Result::Kind;
using Reply = ScriptedPop3Server::Reply;
using Script = QList<ScriptedPop3Server::Reply>;
using Step = Pop3Check::Step;
using Server = ScriptedPop3Server;

Q_DECLARE_METATYPE(Script)

namespace {

constexpr int kWaitMs = 5000;
constexpr int kTimeoutSeconds = 30;

Pop3Login login(const Server &server, int timeoutSeconds = kTimeoutSeconds)
{
    return {QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("bob"), QStringLiteral("secret"),
            timeoutSeconds};
}

// The mailbox script with the reply to `step` replaced (and nothing after it).
Script failingAt(Step step, const Reply &reply)
{
    Script script = Server::mailbox().mid(0, int(step));
    script.append(reply);
    return script;
}

const QList<QByteArray> kAllCommands{"USER bob", "PASS secret", "STAT", "QUIT"};

} // namespace

class TestPop3Check : public QObject
{
    Q_OBJECT

    Pop3Check::Result run(Pop3Check &check, const Pop3Login &login)
    {
        QSignalSpy finished(&check, &Pop3Check::finished);
        [&] { QVERIFY(check.start(login)); }();
        if (finished.isEmpty() && !finished.wait(kWaitMs))
            return {Kind::NoReply, Step::Greeting, QStringLiteral("(never finished)"), QString()};
        return finished.first().first().value<Pop3Check::Result>();
    }

private slots:
    void dialogue_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("statReply");
        QTest::addColumn<QList<QByteArray>>("commands");

        const auto counted = int(Kind::Counted);
        const auto noReply = int(Kind::NoReply);
        const QList<QByteArray> none;
        const QList<QByteArray> user{"USER bob"};
        const QList<QByteArray> pass{"USER bob", "PASS secret"};
        const QList<QByteArray> stat{"USER bob", "PASS secret", "STAT"};

        QTest::newRow("mailbox with two messages: nothing but STAT is asked")
            << Server::mailbox() << counted << Step::Stat << "+OK 2 320" << kAllCommands;
        QTest::newRow("STAT without the size")
            << Server::mailbox("+OK 3") << counted << Step::Stat << "+OK 3" << kAllCommands;
        Script split = Server::mailbox();
        split[0] = Server::pieces({"+O", "K POP3 rea", "dy\r", "\n"});
        split[3] = Server::pieces({"+OK 7 ", "9000\r\n"});
        QTest::newRow("greeting and STAT split across reads")
            << split << counted << Step::Stat << "+OK 7 9000" << kAllCommands;
        Script bareLf = Server::mailbox();
        bareLf[0] = Server::pieces({"+OK ready\n"});
        QTest::newRow("a line ended by LF alone") << bareLf << counted << Step::Stat << "+OK 2 320" << kAllCommands;
        Script longest = Server::mailbox();
        longest[0] = Server::say("+OK " + QByteArray(506, 'x')); // 512 octets with CR LF
        QTest::newRow("greeting of 512 octets") << longest << counted << Step::Stat << "+OK 2 320" << kAllCommands;

        QTest::newRow("-ERR greeting") << failingAt(Step::Greeting, Server::say("-ERR busy")) << noReply
                                       << Step::Greeting << "" << none;
        QTest::newRow("-ERR to USER") << failingAt(Step::User, Server::say("-ERR who?")) << noReply << Step::User << ""
                                      << user;
        QTest::newRow("-ERR to PASS") << failingAt(Step::Pass, Server::say("-ERR [AUTH] failed")) << noReply
                                      << Step::Pass << "" << pass;
        QTest::newRow("-ERR to STAT") << failingAt(Step::Stat, Server::say("-ERR what?")) << noReply << Step::Stat << ""
                                      << stat;
        QTest::newRow("-ERR to PASS, then hang-up")
            << failingAt(Step::Pass, Server::hangUp("-ERR go away")) << noReply << Step::Pass << "" << pass;
        QTest::newRow("closed before the greeting")
            << failingAt(Step::Greeting, Server::hangUp()) << noReply << Step::Greeting << "" << none;
        QTest::newRow("closed at USER") << failingAt(Step::User, Server::hangUp()) << noReply << Step::User << ""
                                        << user;
        QTest::newRow("closed at PASS") << failingAt(Step::Pass, Server::hangUp()) << noReply << Step::Pass << ""
                                        << pass;
        QTest::newRow("closed at STAT") << failingAt(Step::Stat, Server::hangUp()) << noReply << Step::Stat << ""
                                        << stat;
        QTest::newRow("greeting, then closed at once")
            << Script{Server::hangUp("+OK ready")} << noReply << Step::User << "" << QList<QByteArray>();
        QTest::newRow("600-byte greeting") << failingAt(Step::Greeting, Server::say("+OK " + QByteArray(594, 'x')))
                                           << noReply << Step::Greeting << "" << none;
        QTest::newRow("greeting of 513 octets") << failingAt(Step::Greeting, Server::say("+OK " + QByteArray(507, 'x')))
                                                << noReply << Step::Greeting << "" << none;
        QTest::newRow("600-byte STAT reply") << failingAt(Step::Stat, Server::say("+OK 2 " + QByteArray(592, '9')))
                                             << noReply << Step::Stat << "" << stat;
        QTest::newRow("600 bytes without a line end")
            << failingAt(Step::User, Server::pieces({"+OK " + QByteArray(596, 'x')})) << noReply << Step::User << ""
            << user;
        // The second greeting line came before USER was sent: it must not pass for its reply.
        Script early = failingAt(Step::User, Server::say("-ERR who?"));
        early[0] = Server::pieces({"+OK ready\r\n+OK early\r\n"});
        QTest::newRow("a line sent ahead is no reply") << early << noReply << Step::User << "" << user;
    }
    void dialogue()
    {
        QFETCH(Script, script);
        QFETCH(int, kind);
        QFETCH(Step, step);
        QFETCH(QString, statReply);
        QFETCH(QList<QByteArray>, commands);
        Server server;
        server.setScript(script);
        FakeClock clock;
        Pop3Check check(clock);

        const Pop3Check::Result result = run(check, login(server));

        QCOMPARE(int(result.kind), kind);
        QCOMPARE(result.step, step);
        QCOMPARE(result.statReply, statReply);
        QVERIFY(!check.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(server.closed(), kWaitMs);
        QCOMPARE(server.commands(), commands);
    }

    void silence_data()
    {
        QTest::addColumn<Step>("step");
        QTest::newRow("no greeting") << Step::Greeting;
        QTest::newRow("no answer to USER") << Step::User;
        QTest::newRow("no answer to PASS") << Step::Pass;
        QTest::newRow("no answer to STAT") << Step::Stat;
    }
    void silence()
    {
        QFETCH(Step, step);
        Server server;
        server.setScript(failingAt(step, Server::silence()));
        FakeClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start(login(server)));
        QTRY_VERIFY_WITH_TIMEOUT(server.connections() == 1 && server.commands().size() == int(step), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(check.step(), step, kWaitMs);

        // The time-out is the whole number of seconds; only past it does the step fail.
        clock.advanceMs(kTimeoutSeconds * 1000);
        check.checkDeadline();
        QVERIFY(finished.isEmpty());
        QVERIFY(check.isRunning());
        clock.advanceMs(1);
        check.checkDeadline();
        QCOMPARE(finished.size(), 1);
        const auto result = finished.first().first().value<Pop3Check::Result>();
        QCOMPARE(result.kind, Kind::NoReply);
        QCOMPARE(result.step, step);
        QTRY_VERIFY_WITH_TIMEOUT(server.closed(), kWaitMs);
    }

    // Each step has its own time-out: a slow server that answers every step in time
    // passes, however long the whole dialogue takes.
    void timeoutIsPerStep()
    {
        Server server;
        Script script = Server::mailbox();
        script[2] = Server::silence();
        script[3] = Server::silence();
        server.setScript(script);
        FakeClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start(login(server)));
        QTRY_COMPARE_WITH_TIMEOUT(check.step(), Step::Pass, kWaitMs);
        clock.advanceSeconds(kTimeoutSeconds - 1);
        check.checkDeadline();
        server.write(0, "+OK Logged in.\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(check.step(), Step::Stat, kWaitMs);
        clock.advanceSeconds(kTimeoutSeconds - 1);
        check.checkDeadline();
        QVERIFY(finished.isEmpty());
        server.write(0, "+OK 0 0\r\n");
        QVERIFY(finished.wait(kWaitMs));
        QCOMPARE(finished.first().first().value<Pop3Check::Result>().kind, Kind::Counted);
    }

    // The reply timer wakes the check by itself (a real one-second time-out).
    void replyTimerFiresOnItsOwn()
    {
        Server server;
        server.setScript({Server::silence()});
        SystemClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start(login(server, 1)));
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.first().first().value<Pop3Check::Result>().step, Step::Greeting);
    }

    void refusedConnection()
    {
        FakeClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start({QStringLiteral("127.0.0.1"), UnusedPort(), "bob", "secret", kTimeoutSeconds}));
        QVERIFY(finished.wait(kWaitMs));
        const auto result = finished.first().first().value<Pop3Check::Result>();
        QCOMPARE(result.kind, Kind::SocketError);
        QCOMPARE(result.step, Step::Greeting);
        QVERIFY2(result.error.contains("refused", Qt::CaseInsensitive), qPrintable(result.error));
    }

    // Whatever an earlier check left unread (lines after its "-ERR") never reaches the
    // next check: the next one waits for its own server's greeting.
    void leftoversOfAnEarlierCheck()
    {
        Server server;
        server.setScript(failingAt(Step::User, Server::pieces({"-ERR who?\r\n+OK\r\n+OK 5 500\r\n"})));
        FakeClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start(login(server)));
        QVERIFY(finished.wait(kWaitMs));
        QCOMPARE(finished.first().first().value<Pop3Check::Result>().step, Step::User);

        Script second = Server::mailbox();
        second[0] = Server::silence();
        server.setScript(second);
        QVERIFY(check.start(login(server)));
        QTRY_COMPARE_WITH_TIMEOUT(server.connections(), 2, kWaitMs);
        QCOMPARE(check.step(), Step::Greeting);
        server.write(1, "-ERR not now\r\n");
        QVERIFY(finished.wait(kWaitMs));
        const auto result = finished.at(1).first().value<Pop3Check::Result>();
        QCOMPARE(result.kind, Kind::NoReply);
        QCOMPARE(result.step, Step::Greeting);
        QCOMPARE(server.commands(1), QList<QByteArray>());
    }

    void refusesWhatWouldBreakACommandLine_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("CR LF in the user name") << QString("bob\r\nDELE 1") << QString("secret");
        QTest::newRow("NUL in the password") << "bob" << QString("sec") + QChar(0) + "ret";
    }
    void refusesWhatWouldBreakACommandLine()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        Server server;
        FakeClock clock;
        Pop3Check check(clock);
        QVERIFY(!check.start({QStringLiteral("127.0.0.1"), server.port(), user, password, kTimeoutSeconds}));
        QVERIFY(!check.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestPop3Check)
#include "tst_Pop3Check.moc"
