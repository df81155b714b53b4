#include "ScriptedPop3Server.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
// Pieces of one reply are written this far apart, so the client reads them separately.
constexpr int kPieceGapMs = 20;
} // namespace

QList<ScriptedPop3Server::Reply> ScriptedPop3Server::mailbox(const QByteArray &stat)
{
    return {say("+OK POP3 ready"), say("+OK"), say("+OK Logged in."), say(stat), hangUp("+OK Logging out.")};
}

ScriptedPop3Server::ScriptedPop3Server()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPop3Server::accept);
}

ScriptedPop3Server::~ScriptedPop3Server()
{
    for (const auto &connection : m_connections)
        connection->socket->disconnect(this);
}

void ScriptedPop3Server::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_connections.push_back(std::make_unique<Connection>());
        Connection &connection = *m_connections.back();
        connection.socket = socket;
        connection.script = m_script;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, &connection] { onReadyRead(connection); });
        connect(socket, &QTcpSocket::disconnected, this, [&connection] { connection.closed = true; });
        play(connection);
    }
}

void ScriptedPop3Server::onReadyRead(Connection &connection)
{
    connection.received.append(connection.socket->readAll());
    for (qsizetype end; (end = connection.received.indexOf("\r\n")) >= 0;) {
        connection.commands.append(connection.received.left(end));
        connection.received.remove(0, end + 2);
        play(connection);
    }
}

void ScriptedPop3Server::play(Connection &connection)
{
    if (connection.next >= connection.script.size())
        return;
    const Reply reply = connection.script.at(connection.next++);
    writePieces(connection.socket, reply.pieces, reply.hangUp);
}

void ScriptedPop3Server::writePieces(QTcpSocket *socket, QList<QByteArray> pieces, bool hangUp)
{
    if (pieces.isEmpty()) {
        if (hangUp)
            socket->disconnectFromHost();
        return;
    }
    socket->write(pieces.takeFirst());
    socket->flush();
    if (pieces.isEmpty() && hangUp)
        socket->disconnectFromHost();
    else if (!pieces.isEmpty())
        QTimer::singleShot(kPieceGapMs, socket,
                           [this, socket, pieces, hangUp] { writePieces(socket, pieces, hangUp); });
}

const ScriptedPop3Server::Connection &ScriptedPop3Server::at(int connection) const
{
    return *m_connections.at(connection < 0 ? m_connections.size() - 1 : std::size_t(connection));
}

QList<QByteArray> ScriptedPop3Server::commands(int connection) const
{
    return m_connections.empty() ? QList<QByteArray>() : at(connection).commands;
}

bool ScriptedPop3Server::closed(int connection) const
{
    return !m_connections.empty() && at(connection).closed;
}

void ScriptedPop3Server::write(int connection, const QByteArray &bytes)
{
    QTcpSocket *socket = at(connection).socket;
    socket->write(bytes);
    socket->flush();
}

quint16 UnusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QList<ScriptedPop3Server::Reply> failingAt(Pop3Check::Step step, const ScriptedPop3Server::Reply &reply)
{
    QList<ScriptedPop3Server::Reply> script = ScriptedPop3Server::mailbox().mid(0, int(step));
    script.append(reply);
    return script;
}
