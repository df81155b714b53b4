#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real POP3 server, Dovecot (package dovecot-pop3d), on a free loopback port with a
// throw-away mailbox of a few messages; the user "tester" logs in with "secret". Ends
// with the object.
class TestDovecot
{
public:
    static constexpr char kProgram[] = "/usr/sbin/dovecot";
    static bool installed() { return QFile::exists(kProgram); }

    ~TestDovecot()
    {
        m_dovecot.terminate();
        m_dovecot.waitForFinished(5000);
    }

    // Writes the mailbox and the configuration and waits until the server listens; on
    // failure error() says why.
    bool start(int messages);
    QString error() const { return m_error; }
    quint16 port() const { return m_port; }
    // What the server wrote (its log goes to its output).
    QByteArray output() { return m_dovecot.readAll(); }

private:
    bool write(const QString &name, const QString &text);

    QTemporaryDir m_dir;
    QProcess m_dovecot;
    quint16 m_port = 0;
    QString m_error;
};
