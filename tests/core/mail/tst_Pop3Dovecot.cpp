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

namespace {

const QString kDovecot = QStringLiteral("/usr/sbin/dovecot");
constexpr int kMessages = 3;
constexpr int kStartMs = 15000;
constexpr int kCheckMs = 15000;

QString userName(uid_t uid)
{
    const passwd *entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString groupName(gid_t gid)
{
    const group *entry = getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

bool accepts(quint16 port)
{
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    const bool open = probe.waitForConnected(200);
    probe.abort();
    return open;
}

} // namespace

// A real POP3 server, Dovecot, on loopback with a throw-away mailbox: the check logs in for
// real, counts the messages by a real STAT and tells a wrong password. (That only USER, PASS,
// STAT and QUIT are sent, the scripted server's test shows.)
class TestPop3Dovecot : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_dovecot;
    quint16 m_port = 0;

    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(bytes);
    }

    QString log() const
    {
        QFile file(m_dir.filePath("dovecot.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        if (!QFile::exists(kDovecot))
            QSKIP("Dovecot is not installed (package dovecot-pop3d)");
        QVERIFY(m_dir.isValid());
        const QString dir = m_dir.path();
        // Dovecot's own processes run as other users: they pass through, they do not list.
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                               QFile::ExeOther));

        // Root may not own a mailbox in Dovecot: then the mailbox is nobody's, and the
        // package's own users run the server's inner processes.
        const bool root = geteuid() == 0;
        const uid_t mailUid = root ? 65534 : getuid();
        const gid_t mailGid = root ? 65534 : getgid();
        const QString internalUser = root ? QStringLiteral("dovecot") : userName(getuid());
        const QString internalGroup = root ? QStringLiteral("dovecot") : groupName(getgid());
        const QString loginUser = root ? QStringLiteral("dovenull") : userName(getuid());

        const QString maildir = dir + "/Maildir";
        for (const char *sub : {"", "/new", "/cur", "/tmp"})
            QVERIFY(QDir().mkpath(maildir + sub));
        for (int i = 1; i <= kMessages; ++i) {
            const QString name = QStringLiteral("1700000000.M%1P1.lineminder").arg(i);
            writeFile(maildir + "/new/" + name,
                      QStringLiteral("From: sender@example.net\r\nTo: tester@example.net\r\nSubject: Message %1\r\n\r\n"
                                     "Body of message %1.\r\n")
                          .arg(i)
                          .toUtf8());
        }
        if (root) {
            for (const QString &path : {maildir, maildir + "/new", maildir + "/cur", maildir + "/tmp"})
                QCOMPARE(chown(QFile::encodeName(path).constData(), mailUid, mailGid), 0);
            for (const QString &name : QDir(maildir + "/new").entryList(QDir::Files))
                QCOMPARE(chown(QFile::encodeName(maildir + "/new/" + name).constData(), mailUid, mailGid), 0);
        }
        writeFile(dir + "/passwd",
                  QStringLiteral("tester:{PLAIN}secret:%1:%2::%3::\n").arg(mailUid).arg(mailGid).arg(dir).toUtf8());
        QFile::setPermissions(dir + "/passwd",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

        m_port = UnusedPort();
        const QString conf = QStringLiteral(R"(base_dir = %1/run
state_dir = %1/state
log_path = %1/dovecot.log
listen = 127.0.0.1
protocols = pop3
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
auth_failure_delay = 0
default_internal_user = %2
default_internal_group = %3
default_login_user = %4
mail_location = maildir:%5
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
    address = 127.0.0.1
    port = %6
  }
}
service anvil {
  chroot =
}
)")
                                 .arg(dir, internalUser, internalGroup, loginUser, maildir)
                                 .arg(m_port);
        writeFile(dir + "/dovecot.conf", conf.toUtf8());

        m_dovecot.setProcessChannelMode(QProcess::MergedChannels);
        m_dovecot.start(kDovecot, {"-F", "-c", dir + "/dovecot.conf"});
        QVERIFY2(m_dovecot.waitForStarted(5000), qPrintable(m_dovecot.errorString()));
        QTRY_VERIFY2_WITH_TIMEOUT(accepts(m_port) || m_dovecot.state() != QProcess::Running, "no listener", kStartMs);
        QVERIFY2(m_dovecot.state() == QProcess::Running,
                 qPrintable(QString::fromLocal8Bit(m_dovecot.readAll()) + log()));
    }

    void cleanupTestCase()
    {
        if (m_dovecot.state() == QProcess::NotRunning)
            return;
        m_dovecot.terminate();
        if (!m_dovecot.waitForFinished(5000))
            m_dovecot.kill();
        m_dovecot.waitForFinished(2000);
    }

    // A right password gets a real STAT reply; a wrong one is refused at PASS.
    // clang-format off
    void check_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<Pop3Check::Step>("step");
        QTest::addColumn<QString>("statReply"); // empty where the server refuses
        QTest::newRow("right password") << "secret" << Pop3Check::Step::Stat
                                        << QStringLiteral("+OK %1 ").arg(kMessages);
        QTest::newRow("wrong password") << "wrong" << Pop3Check::Step::Pass << QString();
    }
    // clang-format on
    void check()
    {
        QFETCH(QString, password);
        QFETCH(Pop3Check::Step, step);
        QFETCH(QString, statReply);
        SystemClock clock;
        Pop3Check check(clock);
        QSignalSpy finished(&check, &Pop3Check::finished);
        QVERIFY(check.start({QStringLiteral("127.0.0.1"), m_port, "tester", password, 10}));
        QVERIFY(finished.wait(kCheckMs));
        const auto result = finished.first().first().value<Pop3Check::Result>();
        QCOMPARE(result.step, step);
        QCOMPARE(result.kind,
                 statReply.isEmpty() ? Pop3Check::Result::Kind::NoReply : Pop3Check::Result::Kind::Counted);
        QVERIFY2(result.statReply.startsWith(statReply), qPrintable(result.statReply));
    }
};

QTEST_GUILESS_MAIN(TestPop3Dovecot)
#include "tst_Pop3Dovecot.moc"
