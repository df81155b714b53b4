#include "ScriptedPop3Server.h"

#include <QTimer>

ScriptedPop3Server::Script ScriptedPop3Server::mailbox(const QByteArray &stat)
{
    return {"+OK POP3 ready\r\n", "+OK\r\n", "+OK Logged in.\r\n", stat + "\r\n", "+OK Logging out.\r\n#"};
}

ScriptedPop3Server::ScriptedPop3Server()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPop3Server::accept);
}

void ScriptedPop3Server::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_last.socket)
            m_last.socket->disconnect(this);
        ++m_connections;
        m_last = {socket, m_script, {}, {}, false};
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this] {
            m_last.received.append(m_last.socket->readAll());
            for (qsizetype end; (end = m_last.received.indexOf("\r\n")) >= 0;) {
                m_last.commands.append(m_last.received.left(end));
                m_last.received.remove(0, end + 2);
                play();
            }
        });
        connect(socket, &QTcpSocket::disconnected, this, [this] { m_last.closed = true; });
        play();
    }
}

void ScriptedPop3Server::play()
{
    if (m_last.script.isEmpty())
        return;
    QByteArray reply = m_last.script.takeFirst();
    const bool hangUp = reply.endsWith('#');
    reply.chop(hangUp ? 1 : 0);
    writePieces(m_last.socket, reply.split('|'), hangUp);
}

void ScriptedPop3Server::writePieces(QTcpSocket *socket, QList<QByteArray> pieces, bool hangUp)
{
    socket->write(pieces.takeFirst());
    socket->flush();
    // The pieces are written this far apart, so the client reads them separately.
    if (!pieces.isEmpty())
        QTimer::singleShot(20, socket, [=, this] { writePieces(socket, pieces, hangUp); });
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
