#include "accounting/CallAccounting.h"
#include "mail/MailChecker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include "ScriptedPop3Server.h"
#include "platform/SoundPlayer.h"
#include "settings/ProviderProfile.h"
#include "support/FakeClock.h"
#include "support/ManualScheduler.h"
#include "support/ScriptedPrompter.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

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

// The messages of the mailbox: base name (without maildir flags) and flags, new/ and cur/.
QMap<QString, QString> mailboxState(const QString &maildir)
{
    QMap<QString, QString> state;
    for (const QString &folder : {QStringLiteral("new"), QStringLiteral("cur")}) {
        const QStringList names = QDir(maildir + QLatin1Char('/') + folder).entryList(QDir::Files);
        for (const QString &name : names)
            state.insert(name.section(QLatin1Char(':'), 0, 0), name.section(QStringLiteral(":2,"), 1));
    }
    return state;
}

} // namespace

// A real POP3 server, Dovecot, on loopback with a throw-away mailbox: the check counts its
// messages, tells a wrong password, and leaves every message where it was, unread.
class TestPop3Dovecot : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_dovecot;
    quint16 m_port = 0;
    QString m_maildir;
    QStringList m_created;

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

        m_maildir = dir + "/Maildir";
        for (const char *sub : {"", "/new", "/cur", "/tmp"})
            QVERIFY(QDir().mkpath(m_maildir + sub));
        for (int i = 1; i <= kMessages; ++i) {
            const QString name = QStringLiteral("1700000000.M%1P1.lineminder").arg(i);
            writeFile(m_maildir + "/new/" + name,
                      QStringLiteral("From: sender@example.net\r\nTo: tester@example.net\r\nSubject: Message %1\r\n\r\n"
                                     "Body of message %1.\r\n")
                          .arg(i)
                          .toUtf8());
            m_created.append(name);
        }
        if (root) {
            for (const QString &path : {m_maildir, m_maildir + "/new", m_maildir + "/cur", m_maildir + "/tmp"})
                QCOMPARE(chown(QFile::encodeName(path).constData(), mailUid, mailGid), 0);
            for (const QString &name : std::as_const(m_created))
                QCOMPARE(chown(QFile::encodeName(m_maildir + "/new/" + name).constData(), mailUid, mailGid), 0);
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
                                 .arg(dir, internalUser, internalGroup, loginUser, m_maildir)
                                 .arg(m_port);
        writeFile(dir + "/dovecot.conf", conf.toUtf8());

        QElapsedTimer started;
        started.start();
        m_dovecot.setProcessChannelMode(QProcess::MergedChannels);
        m_dovecot.start(kDovecot, {"-F", "-c", dir + "/dovecot.conf"});
        QVERIFY2(m_dovecot.waitForStarted(5000), qPrintable(m_dovecot.errorString()));
        QTRY_VERIFY2_WITH_TIMEOUT(accepts(m_port) || m_dovecot.state() != QProcess::Running, "no listener", kStartMs);
        QVERIFY2(m_dovecot.state() == QProcess::Running,
                 qPrintable(QString::fromLocal8Bit(m_dovecot.readAll()) + log()));
        qInfo("Dovecot listening after %lld ms", started.elapsed());
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

    void check_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("failure"); // empty: the count is expected
        QTest::newRow("right password") << "secret"
                                        << "";
        QTest::newRow("wrong password") << "wrong"
                                        << "Invalid POP3 Password!";
    }
    void check()
    {
        QFETCH(QString, password);
        QFETCH(QString, failure);
        ProviderProfile profile;
        profile.setChecked(Check::EMail, true);
        profile.setText(Text::Pop3Host, QStringLiteral("127.0.0.1:%1").arg(m_port));
        profile.setText(Text::Pop3User, "tester");
        profile.setText(Text::Pop3Passwd, password);
        profile.setText(Text::Timeout, "10");
        FakeClock virtualTime;
        ManualScheduler scheduler(virtualTime);
        ScriptedPrompter prompter;
        CallAccounting accounting;
        SilentSoundPlayer sound;
        SystemClock clock;
        Pop3Check pop3(clock);
        MailChecker checker({profile, scheduler, prompter, accounting, sound, clock, pop3, DateTimeFormats()});
        QSignalSpy notes(&checker, &MailChecker::notificationReady);
        if (failure.isEmpty())
            prompter.allowMessages();
        else
            prompter.expect(failure);

        QElapsedTimer took;
        took.start();
        checker.CheckNow_Click();
        QVERIFY(QTest::qWaitFor([&] { return !checker.isChecking(); }, kCheckMs));
        qInfo("check took %lld ms", took.elapsed());

        if (failure.isEmpty()) {
            QCOMPARE(notes.size(), 1);
            QCOMPARE(notes.first().first().toString(), QStringLiteral("You have %1 new messages").arg(kMessages));
            QCOMPARE(prompter.shown().size(), 1);
            QVERIFY2(prompter.shown().first().text.startsWith(QStringLiteral("+OK %1 ").arg(kMessages)),
                     qPrintable(prompter.shown().first().text));
        } else {
            QCOMPARE(prompter.pendingExpectations(), 0);
            QCOMPARE(notes.size(), 0);
        }
    }

    // Only STAT was asked: every message is still there, none marked read or deleted.
    // (Dovecot itself moves a message from new/ to cur/ once a client has seen the
    // mailbox; the maildir name and its flags are what tell whether it was read.)
    void messagesStayUnread()
    {
        QTRY_VERIFY_WITH_TIMEOUT(log().contains("Disconnected: Logged out"), 5000);
        const QMap<QString, QString> state = mailboxState(m_maildir);
        QStringList names = state.keys();
        QStringList created = m_created;
        created.sort();
        QCOMPARE(names, created);
        for (auto it = state.cbegin(); it != state.cend(); ++it) {
            QVERIFY2(!it.value().contains('S'), qPrintable(it.key() + " was marked read"));
            QVERIFY2(!it.value().contains('T'), qPrintable(it.key() + " was marked deleted"));
        }
        QVERIFY2(log().contains("retr=0/0"), qPrintable(log()));
        QVERIFY2(log().contains(QStringLiteral("del=0/%1").arg(kMessages)), qPrintable(log()));
    }
};

QTEST_GUILESS_MAIN(TestPop3Dovecot)
#include "tst_Pop3Dovecot.moc"
