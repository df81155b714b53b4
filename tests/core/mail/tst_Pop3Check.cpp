#include "mail/Pop3Check.h"
#include "mail/Pop3LineReader.h"
#include "mail/StatReply.h"

#include <QSignalSpy>
#include <QTest>

#include "ScriptedPop3Server.h"
#include "support/FakeClock.h"

using Bytes = QList<QByteArray>;
using Kind = Pop3Check::Result::Kind;
using Server = ScriptedPop3Server;
using Script = Server::Script;
using Step = Pop3Check::Step;

namespace {

constexpr int kWaitMs = 5000;
constexpr int kTimeoutSeconds = 30;
const Bytes kAllCommands{"USER bob", "PASS secret", "STAT", "QUIT"};

// A check on a fake clock against a scripted server.
struct Rig
{
    Server server;
    FakeClock clock;
    Pop3Check check{clock};
    QSignalSpy finished{&check, &Pop3Check::finished};
    explicit Rig(const Script &script = Server::mailbox()) { server.setScript(script); }
    bool start(const QString &user = "bob", const QString &password = "secret", int timeoutSeconds = kTimeoutSeconds)
    {
        return check.start({QStringLiteral("127.0.0.1"), server.port(), user, password, timeoutSeconds});
    }
    Pop3Check::Result result(int i = 0) const { return finished.at(i).first().value<Pop3Check::Result>(); }
};

} // namespace

class TestPop3Check : public QObject
{
    Q_OBJECT

private slots:
    // How replies are cut into lines: at most 512 octets with the line end.
    // clang-format off
    void framing_data()
    {
        QTest::addColumn<Bytes>("pieces");
        QTest::addColumn<Bytes>("lines");
        QTest::addColumn<bool>("overlong");
        QTest::newRow("split inside CR LF") << Bytes{"+OK ready\r", "\n"} << Bytes{"+OK ready"} << false;
        QTest::newRow("two lines in one read") << Bytes{"+OK a\r\n-ERR b\r\n"} << Bytes{"+OK a", "-ERR b"} << false;
        QTest::newRow("LF alone ends a line") << Bytes{"+OK\n"} << Bytes{"+OK"} << false;
        QTest::newRow("no line end yet") << Bytes{"+OK waiting"} << Bytes{} << false;
        QTest::newRow("empty line") << Bytes{"\r\n"} << Bytes{""} << false;
        QTest::newRow("512 octets with CR LF") << Bytes{QByteArray(510, 'x') + "\r\n"} << Bytes{QByteArray(510, 'x')} << false;
        QTest::newRow("513 octets with CR LF") << Bytes{QByteArray(511, 'x') + "\r\n"} << Bytes{} << true;
        QTest::newRow("600 octets in pieces") << Bytes{QByteArray(300, 'x'), QByteArray(300, 'x'), "\r\n"} << Bytes{} << true;
        QTest::newRow("513 octets and no end yet") << Bytes{QByteArray(513, 'x')} << Bytes{} << true;
        QTest::newRow("512 octets and no end yet") << Bytes{QByteArray(512, 'x')} << Bytes{} << false;
        QTest::newRow("good line, then a long one") << Bytes{"+OK\r\n" + QByteArray(600, 'x')} << Bytes{"+OK"} << true;
    }
    // clang-format on
    void framing()
    {
        QFETCH(Bytes, pieces);
        QFETCH(Bytes, lines);
        QFETCH(bool, overlong);
        Pop3LineReader reader;
        Bytes taken;
        for (const QByteArray &piece : pieces) {
            reader.append(piece);
            while (const std::optional<QByteArray> line = reader.takeLine())
                taken.append(*line);
        }
        QCOMPARE(taken, lines);
        QCOMPARE(reader.overlong(), overlong);
    }

    // The message count of a STAT reply as the window shows it, and as a number.
    // clang-format off
    void statCount_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("count");
        QTest::addColumn<qint64>("value");
        QTest::newRow("no messages") << "+OK 0 0" << "0" << qint64(0);
        QTest::newRow("digits 0 and 9") << "+OK 1209 99999999" << "1209" << qint64(1209);
        QTest::newRow("plus sign") << "+OK +3 0" << "+3" << qint64(3);
        QTest::newRow("count without size: no blank after it") << "+OK 3" << "" << qint64(0);
        QTest::newRow("bare +OK") << "+OK" << "" << qint64(0);
        QTest::newRow("two blanks: the count is empty") << "+OK  3 100" << "" << qint64(0);
        QTest::newRow("text for a count") << "+OK none 0" << "none" << qint64(0);
        QTest::newRow("digits then text") << "+OK 4x 10" << "4x" << qint64(4);
        QTest::newRow("negative") << "+OK -2 0" << "-2" << qint64(-2);
        QTest::newRow("huge count does not wrap") << "+OK 99999999999999999999999 1" << "99999999999999999999999" << (qint64(1) << 53);
    }
    // clang-format on
    void statCount()
    {
        QFETCH(QString, reply);
        QFETCH(QString, count);
        QFETCH(qint64, value);
        QCOMPARE(StatCountText(reply), count);
        QCOMPARE(StatCountValue(StatCountText(reply)), value);
    }

    // The whole dialogue; statReply is empty where the check must fail (NoReply) at `step`.
    // clang-format off
    void dialogue_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("statReply");
        QTest::addColumn<Bytes>("commands"); // what the server received

        // QUIT follows STAT at once: nothing (no RETR) is asked in between.
        QTest::newRow("two messages") << Server::mailbox() << Step::Stat << "+OK 2 320" << kAllCommands;
        QTest::newRow("replies split across reads") << Script{"+O|K POP3 rea|dy\r|\n", "+OK\r\n", "+OK\r\n", "+OK 7 |9000\r\n", "+OK\r\n#"} << Step::Stat << "+OK 7 9000" << kAllCommands;
        for (Step step : {Step::Greeting, Step::User, Step::Pass, Step::Stat}) {
            const QByteArray name = QVariant::fromValue(step).toByteArray();
            QTest::addRow("-ERR at %s", name.data()) << failingAt(step, "-ERR no\r\n") << step << "" << kAllCommands.mid(0, int(step));
            QTest::addRow("closed at %s", name.data()) << failingAt(step, "#") << step << "" << kAllCommands.mid(0, int(step));
        }
        QTest::newRow("600-byte STAT reply") << failingAt(Step::Stat, "+OK 2 " + QByteArray(592, '9') + "\r\n") << Step::Stat << "" << kAllCommands.mid(0, 3);
        // The second greeting line came before USER was sent: it must not pass for its reply.
        QTest::newRow("a line sent ahead is no reply") << Script{"+OK ready\r\n+OK early\r\n", "-ERR who?\r\n"} << Step::User << "" << kAllCommands.mid(0, 1);
    }
    // clang-format on
    void dialogue()
    {
        QFETCH(Script, script);
        QFETCH(Step, step);
        QFETCH(QString, statReply);
        QFETCH(Bytes, commands);
        Rig rig(script);
        // A failed check has closed its connection before it tells the result (after a count,
        // QUIT is still on its way out).
        bool closedFirst = false;
        QObject::connect(&rig.check, &Pop3Check::finished, [&] {
            closedFirst = !statReply.isEmpty() || QTest::qWaitFor([&] { return rig.server.closed(); }, kWaitMs);
        });
        QVERIFY(rig.start());
        QVERIFY(rig.finished.wait(kWaitMs));
        QVERIFY(closedFirst);
        QCOMPARE(rig.result().kind, statReply.isEmpty() ? Kind::NoReply : Kind::Counted);
        QCOMPARE(rig.result().step, step);
        QCOMPARE(rig.result().statReply, statReply);
        QVERIFY(!rig.check.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(rig.server.closed(), kWaitMs);
        QCOMPARE(rig.server.commands(), commands);
    }

    // Silence at a step fails it only once its own time-out (whole seconds) has passed;
    // the steps before it each take just under theirs.
    void silence()
    {
        Rig rig({"+OK\r\n", "+OK\r\n", "+OK\r\n", ""});
        QObject::connect(&rig.check, &Pop3Check::waiting, [&] {
            rig.clock.advanceSeconds(kTimeoutSeconds - 1);
            rig.check.checkDeadline();
        });
        QVERIFY(rig.start());
        QTRY_COMPARE_WITH_TIMEOUT(rig.check.step(), Step::Stat, kWaitMs);
        rig.clock.advanceMs(1000);
        rig.check.checkDeadline();
        QVERIFY(rig.finished.isEmpty() && rig.check.isRunning());
        rig.clock.advanceMs(1);
        rig.check.checkDeadline();
        QCOMPARE(rig.finished.size(), 1);
        QCOMPARE(rig.result().kind, Kind::NoReply);
        QCOMPARE(rig.result().step, Step::Stat);
    }

    // The reply timer wakes the check by itself (a real one-second time-out), and again for as
    // long as the clock says the time is not up (a coarse timer may wake it early).
    void replyTimerFiresOnItsOwn()
    {
        Rig rig({""});
        QVERIFY(rig.start("bob", "secret", 1));
        QTest::qWait(1500); // it went off, but by the clock no time has passed
        rig.clock.advanceSeconds(2);
        QVERIFY(rig.finished.wait(3000));
        QCOMPARE(rig.result().step, Step::Greeting);
    }

    void refusedConnection()
    {
        Rig rig;
        QVERIFY(rig.check.start({QStringLiteral("127.0.0.1"), UnusedPort(), "bob", "secret", kTimeoutSeconds}));
        QVERIFY(rig.finished.wait(kWaitMs));
        QCOMPARE(rig.result().kind, Kind::SocketError);
        QVERIFY2(rig.result().error.contains("refused", Qt::CaseInsensitive), qPrintable(rig.result().error));
    }

    // Lines an earlier check left unread (after its "-ERR") never reach the next check,
    // which waits for its own server's greeting.
    void leftoversOfAnEarlierCheck()
    {
        Rig rig(failingAt(Step::User, "-ERR who?\r\n+OK\r\n+OK 5 500\r\n"));
        QVERIFY(rig.start());
        QVERIFY(rig.finished.wait(kWaitMs));
        rig.server.setScript({"-ERR not now\r\n"});
        QVERIFY(rig.start());
        QVERIFY(rig.finished.wait(kWaitMs));
        QCOMPARE(rig.result(1).step, Step::Greeting);
        QCOMPARE(rig.server.commands(), Bytes());
    }

    // clang-format off
    void refusesWhatWouldBreakACommandLine_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("CR in the user name") << "bob\r" << "secret";
        QTest::newRow("LF in the password") << "bob" << "sec\nret";
        QTest::newRow("NUL in the password") << "bob" << QString("sec") + QChar(0) + "ret";
    }
    // clang-format on
    void refusesWhatWouldBreakACommandLine()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        Rig rig;
        QVERIFY(!rig.start(user, password));
        QVERIFY(!rig.check.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestPop3Check)
#include "tst_Pop3Check.moc"
