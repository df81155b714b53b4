#include "ScriptedPop3Server.h"

#include <QTimer>

namespace {
// Pieces of one reply are written this far apart, so the client reads them separately.
constexpr int kPieceGapMs = 20;
} // namespace

ScriptedPop3Server::Script ScriptedPop3Server::mailbox(const QByteArray &stat)
{
    return {"+OK POP3 ready\r\n", "+OK\r\n", "+OK Logged in.\r\n", stat + "\r\n", "+OK Logging out.\r\n#"};
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
        Connection &connection = *m_connections.emplace_back(new Connection{socket, m_script, {}, {}, false});
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, &connection] {
            connection.received.append(connection.socket->readAll());
            for (qsizetype end; (end = connection.received.indexOf("\r\n")) >= 0;) {
                connection.commands.append(connection.received.left(end));
                connection.received.remove(0, end + 2);
                play(connection);
            }
        });
        connect(socket, &QTcpSocket::disconnected, this, [&connection] { connection.closed = true; });
        play(connection);
    }
}

void ScriptedPop3Server::play(Connection &connection)
{
    if (connection.script.isEmpty())
        return;
    QByteArray reply = connection.script.takeFirst();
    const bool hangUp = reply.endsWith('#');
    reply.chop(hangUp ? 1 : 0);
    writePieces(connection.socket, reply.split('|'), hangUp);
}

void ScriptedPop3Server::writePieces(QTcpSocket *socket, QList<QByteArray> pieces, bool hangUp)
{
    socket->write(pieces.takeFirst());
    socket->flush();
    if (!pieces.isEmpty())
        QTimer::singleShot(kPieceGapMs, socket, [=, this] { writePieces(socket, pieces, hangUp); });
    else if (hangUp)
        socket->disconnectFromHost();
}

quint16 UnusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

ScriptedPop3Server::Script failingAt(Pop3Check::Step step, const QByteArray &reply)
{
    return ScriptedPop3Server::mailbox().mid(0, int(step)) << reply;
}
