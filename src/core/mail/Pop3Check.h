#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QTimer>

#include "mail/Pop3LineReader.h"

class Clock;
class QTcpSocket;

// What one mailbox check needs to log in.
struct Pop3Login
{
    QString host;
    quint16 port = 110;
    QString user;
    QString password;
    int timeoutSeconds = 30; // for each reply
};

// One POP3 mailbox check as a state machine on the event loop: greeting, USER, PASS,
// STAT, then QUIT without waiting. It never blocks and never runs an event loop of its
// own. Each reply must come within the time-out, measured from the moment its wait
// began on the monotonic clock; the reply timer only wakes the check up to look at
// that clock (checkDeadline). Every check has its own socket and buffer, and a
// finished or aborted check lets go of its socket, so a late reply can never be taken
// for another check's. The socket is closed before finished() is emitted.
class Pop3Check : public QObject
{
    Q_OBJECT
public:
    // The reply a check waits for.
    enum class Step { Greeting, User, Pass, Stat };
    Q_ENUM(Step)

    struct Result
    {
        enum class Kind {
            Counted,    // STAT answered: statReply holds its line
            NoReply,    // step ended without a "+OK" line: none in time, "-ERR", a line
                        // over the limit, or the server closed the connection
            SocketError // the connection failed (refused, no such host ...): error says why
        };
        Kind kind = Kind::NoReply;
        Step step = Step::Greeting;
        QString statReply;
        QString error;
    };

    explicit Pop3Check(const Clock &clock, QObject *parent = nullptr);
    ~Pop3Check() override;

    // Starts a check. Refused (false) while another one runs, and for a login whose user
    // name or password would break a command line.
    bool start(const Pop3Login &login);
    // Ends a running check at once and without a result.
    void abort();

    bool isRunning() const { return m_socket != nullptr; }
    Step step() const { return m_step; }

    // Fails the step when its time-out has passed by the clock. The reply timer calls it;
    // whoever moves the clock by other means may call it too.
    void checkDeadline();

signals:
    // A wait for a server reply began.
    void waiting(Pop3Check::Step step);
    void finished(const Pop3Check::Result &result);

private:
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    // Takes what the socket still holds; false when that ended the check.
    bool takeLastReplies();
    void takeReplies();
    void send(const QByteArray &command, Step next);
    void waitFor(Step step);
    void finish(const Result &result);
    void fail(Result::Kind kind, const QString &error = QString());
    QTcpSocket *releaseSocket();

    const Clock &m_clock;
    QTcpSocket *m_socket = nullptr;
    Pop3Login m_login;
    Pop3LineReader m_reader;
    Step m_step = Step::Greeting;
    qint64 m_waitStartMs = 0;
    QTimer m_replyTimer;
};

Q_DECLARE_METATYPE(Pop3Check::Result)
