#include "mail/Pop3Check.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include "ScriptedPop3Server.h"
#include "platform/Clock.h"

// A real POP3 server, Dovecot, on loopback with a throw-away mailbox: the check logs in for
// real and counts the messages by a real STAT. (What is sent, and how refusals, hang-ups and
// silence end a check, the scripted server's test shows.)
class TestPop3Dovecot : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_dovecot;
    quint16 m_port = UnusedPort();

    bool write(const QString &name, const QString &text)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 &&
               file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

private slots:
    void initTestCase()
    {
        if (!QFile::exists("/usr/sbin/dovecot"))
            QSKIP("Dovecot is not installed (package dovecot-pop3d)");
        const QString dir = m_dir.path();
        // Dovecot's own processes run as other users: they pass through, they do not list.
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                               QFile::ExeOther));
        // Root may not own a mailbox in Dovecot: then the mailbox is nobody's, and the
        // package's own users run the server's inner processes.
        const bool root = geteuid() == 0;
        const QString owner = root ? "65534:65534" : QStringLiteral("%1:%2").arg(getuid()).arg(getgid());
        const QString user = root ? "dovecot" : QString::fromLocal8Bit(getpwuid(getuid())->pw_name);
        const QString group = root ? "dovecot" : QString::fromLocal8Bit(getgrgid(getgid())->gr_name);
        for (const char *sub : {"new", "cur", "tmp"})
            QVERIFY(QDir(dir).mkpath(QStringLiteral("Maildir/") + sub));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(
                write(QStringLiteral("Maildir/new/1700000000.M%1P1.lineminder").arg(i), "Subject: Hi\r\n\r\nHi.\r\n"));
        QCOMPARE(QProcess::execute("chown", {"-R", owner, dir + "/Maildir"}), 0);
        QVERIFY(write("passwd", QStringLiteral("tester:{PLAIN}secret:%1::%2::\n").arg(owner, dir)));
        QVERIFY(write("dovecot.conf", QStringLiteral(R"(base_dir = %1/run
state_dir = %1/state
log_path = /dev/stderr
listen = 127.0.0.1
protocols = pop3
ssl = no
default_internal_user = %2
default_internal_group = %3
default_login_user = %4
mail_location = maildir:%1/Maildir
passdb {
  driver = passwd-file
  args = %1/passwd
}
userdb {
  driver = passwd-file
  args = %1/passwd
}
service pop3-login {
  chroot =
  inet_listener pop3 {
    port = %5
  }
}
)")
                                          .arg(dir, user, group, root ? "dovenull" : user)
                                          .arg(m_port)));

        m_dovecot.setProcessChannelMode(QProcess::MergedChannels);
        m_dovecot.start("/usr/sbin/dovecot", {"-F", "-c", dir + "/dovecot.conf"});
        const auto listening = [this] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            return probe.waitForConnected(200);
        };
        QTRY_VERIFY_WITH_TIMEOUT(listening() || m_dovecot.state() == QProcess::NotRunning, 15000);
        QVERIFY2(m_dovecot.state() == QProcess::Running, m_dovecot.readAll().constData());
    }

    void cleanupTestCase()
    {
        m_dovecot.terminate();
        m_dovecot.waitForFinished(5000);
    }

    void countsARealMailbox()
    {
        SystemClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start({QStringLiteral("127.0.0.1"), m_port, "tester", "secret", 10}));
        QVERIFY(finished.wait(15000));
        const auto result = finished.first().first().value<Pop3Check::Result>();
        QCOMPARE(result.kind, Pop3Check::Result::Kind::Counted);
        QVERIFY2(result.statReply.startsWith("+OK 3 "), qPrintable(result.statReply + m_dovecot.readAll()));
    }
};

QTEST_GUILESS_MAIN(TestPop3Dovecot)
#include "tst_Pop3Dovecot.moc"
