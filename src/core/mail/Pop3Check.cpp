#include "mail/Pop3Check.h"

#include <QTcpSocket>

#include "platform/Clock.h"

namespace {

// How long a QUIT may take to leave before its socket is dropped all the same.
constexpr int kQuitGraceMs = 5000;

bool fitsCommandLine(const QString &text)
{
    return !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) && !text.contains(QChar(0));
}

} // namespace

Pop3Check::Pop3Check(const Clock &clock, QObject *parent) : QObject(parent), m_clock(clock)
{
    m_replyTimer.setSingleShot(true);
    connect(&m_replyTimer, &QTimer::timeout, this, &Pop3Check::checkDeadline);
}

Pop3Check::~Pop3Check()
{
    abort();
}

bool Pop3Check::start(const Pop3Login &login)
{
    if (m_socket || login.host.isEmpty() || !fitsCommandLine(login.user) || !fitsCommandLine(login.password))
        return false;
    m_login = login;
    m_login.timeoutSeconds = std::max(1, login.timeoutSeconds);
    m_reader.clear();
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &Pop3Check::onReadyRead);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &Pop3Check::onSocketError);
    connect(m_socket, &QAbstractSocket::disconnected, this, &Pop3Check::onDisconnected);
    waitFor(Step::Greeting);
    m_socket->connectToHost(m_login.host, m_login.port);
    return true;
}

void Pop3Check::abort()
{
    m_replyTimer.stop();
    if (QTcpSocket *socket = releaseSocket()) {
        socket->abort();
        socket->deleteLater();
    }
}

void Pop3Check::checkDeadline()
{
    if (!m_socket)
        return;
    const qint64 limitMs = qint64(m_login.timeoutSeconds) * 1000;
    const qint64 elapsedMs = m_clock.monotonicMs() - m_waitStartMs;
    if (elapsedMs > limitMs) {
        fail(Result::Kind::NoReply);
        return;
    }
    m_replyTimer.start(int(limitMs - elapsedMs + 1));
}

void Pop3Check::onReadyRead()
{
    if (!m_socket)
        return;
    m_reader.append(m_socket->readAll());
    takeReplies();
}

void Pop3Check::onSocketError(QAbstractSocket::SocketError error)
{
    if (!takeLastReplies())
        return;
    if (error == QAbstractSocket::RemoteHostClosedError)
        fail(Result::Kind::NoReply);
    else
        fail(Result::Kind::SocketError, m_socket->errorString());
}

void Pop3Check::onDisconnected()
{
    if (takeLastReplies())
        fail(Result::Kind::NoReply);
}

bool Pop3Check::takeLastReplies()
{
    if (!m_socket)
        return false;
    // Lines that came just before the connection ended still count: a "-ERR" followed by
    // a hang-up is a refusal of this step, not a communications problem.
    m_reader.append(m_socket->readAll());
    takeReplies();
    return m_socket != nullptr;
}

void Pop3Check::takeReplies()
{
    while (m_socket) {
        if (m_reader.overlong()) {
            fail(Result::Kind::NoReply);
            return;
        }
        const std::optional<QByteArray> line = m_reader.takeLine();
        if (!line)
            return;
        if (!line->startsWith("+OK")) {
            fail(Result::Kind::NoReply);
            return;
        }
        switch (m_step) {
        case Step::Greeting: send("USER " + m_login.user.toUtf8(), Step::User); break;
        case Step::User: send("PASS " + m_login.password.toUtf8(), Step::Pass); break;
        case Step::Pass: send("STAT", Step::Stat); break;
        case Step::Stat: {
            Result result;
            result.kind = Result::Kind::Counted;
            result.step = Step::Stat;
            result.statReply = QString::fromUtf8(*line);
            // Nothing else is asked: the user only wants to know how many messages wait.
            QTcpSocket *socket = releaseSocket();
            socket->write("QUIT\r\n");
            socket->flush();
            connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(kQuitGraceMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
            socket->disconnectFromHost();
            finish(result);
            return;
        }
        }
    }
}

void Pop3Check::send(const QByteArray &command, Step next)
{
    // Whatever arrived before the command went out cannot be its reply.
    m_reader.clear();
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        m_step = next;
        fail(Result::Kind::NoReply);
        return;
    }
    m_socket->write(command + "\r\n");
    m_socket->flush();
    waitFor(next);
}

void Pop3Check::waitFor(Step step)
{
    m_step = step;
    m_waitStartMs = m_clock.monotonicMs();
    m_replyTimer.start(m_login.timeoutSeconds * 1000 + 1);
    emit waiting(step);
}

void Pop3Check::fail(Result::Kind kind, const QString &error)
{
    Result result;
    result.kind = kind;
    result.step = m_step;
    result.error = error;
    if (QTcpSocket *socket = releaseSocket()) {
        socket->abort();
        socket->deleteLater();
    }
    finish(result);
}

void Pop3Check::finish(const Result &result)
{
    m_replyTimer.stop();
    m_reader.clear();
    emit finished(result);
}

QTcpSocket *Pop3Check::releaseSocket()
{
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    if (socket)
        socket->disconnect(this);
    return socket;
}
