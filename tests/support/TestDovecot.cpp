#include "support/TestDovecot.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

bool TestDovecot::write(const QString &name, const QString &text)
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

bool TestDovecot::start(int messages)
{
    {
        QTcpServer probe; // a port nobody listens on, taken and given back
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    const QString dir = m_dir.path();
    // Root may not own a mailbox in Dovecot: then the mailbox is nobody's, and the
    // package's own users run the server's inner processes.
    const bool root = geteuid() == 0;
    const QString owner = root ? "65534:65534" : QStringLiteral("%1:%2").arg(getuid()).arg(getgid());
    const QString user = root ? "dovecot" : QString::fromLocal8Bit(getpwuid(getuid())->pw_name);
    const QString group = root ? "dovecot" : QString::fromLocal8Bit(getgrgid(getgid())->gr_name);
    // Dovecot's own processes run as other users: they pass through, they do not list.
    bool ok = QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                             QFile::ExeOther);
    for (const char *sub : {"new", "cur", "tmp"})
        ok = ok && QDir(dir).mkpath(QStringLiteral("Maildir/") + sub);
    for (int i = 1; i <= messages; ++i)
        ok =
            ok && write(QStringLiteral("Maildir/new/1700000000.M%1P1.lineminder").arg(i), "Subject: Hi\r\n\r\nHi.\r\n");
    ok = ok && QProcess::execute("chown", {"-R", owner, dir + "/Maildir"}) == 0 &&
         write("passwd", QStringLiteral("tester:{PLAIN}secret:%1::%2::\n").arg(owner, dir));
    ok = ok && write("dovecot.conf", QStringLiteral(R"(base_dir = %1/run
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
                                         .arg(m_port));
    if (!ok) {
        m_error = "cannot write the mailbox or the configuration in " + dir;
        return false;
    }

    m_dovecot.setProcessChannelMode(QProcess::MergedChannels);
    m_dovecot.start(kProgram, {"-F", "-c", dir + "/dovecot.conf"});
    const auto listening = [this] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        return probe.waitForConnected(200);
    };
    if (!QTest::qWaitFor([&] { return listening() || m_dovecot.state() == QProcess::NotRunning; }, 15000) ||
        m_dovecot.state() != QProcess::Running)
        m_error = "Dovecot did not start: " + QString::fromLocal8Bit(m_dovecot.readAll());
    return m_error.isEmpty();
}
