#include "mail/Pop3Check.h"

#include <QSignalSpy>
#include <QTest>

#include "platform/Clock.h"
#include "support/TestDovecot.h"

// A real POP3 server, Dovecot, on loopback with a throw-away mailbox: the check logs in for
// real and counts the messages by a real STAT. (What is sent, and how refusals, hang-ups and
// silence end a check, the scripted server's test shows.)
class TestPop3Dovecot : public QObject
{
    Q_OBJECT

private slots:
    void countsARealMailbox()
    {
        if (!TestDovecot::installed())
            QSKIP("Dovecot is not installed (package dovecot-pop3d)");
        TestDovecot dovecot;
        QVERIFY2(dovecot.start(3), qPrintable(dovecot.error()));
        SystemClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start({QStringLiteral("127.0.0.1"), dovecot.port(), "tester", "secret", 10}));
        QVERIFY(finished.wait(15000));
        const auto result = finished.first().first().value<Pop3Check::Result>();
        QCOMPARE(result.kind, Pop3Check::Result::Kind::Counted);
        QVERIFY2(result.statReply.startsWith("+OK 3 "), qPrintable(result.statReply + dovecot.output()));
    }
};

QTEST_GUILESS_MAIN(TestPop3Dovecot)
#include "tst_Pop3Dovecot.moc"
