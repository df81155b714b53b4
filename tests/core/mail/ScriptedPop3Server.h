#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

#include "mail/Pop3Check.h"

// A POP3 server on 127.0.0.1 that plays a script: the first reply is the greeting, each
// further one answers the next command line. A reply is written as it stands, except that
// "|" cuts it into pieces written apart (so they arrive in separate reads), a "#" at its end
// closes the connection after it, and an empty one is silence. The last connection's command
// lines are recorded.
class ScriptedPop3Server : public QObject
{
    Q_OBJECT
public:
    using Script = QList<QByteArray>;
    // A mailbox holding `stat`: greeting, USER, PASS, STAT, and a QUIT that logs out.
    static Script mailbox(const QByteArray &stat = "+OK 2 320");

    ScriptedPop3Server();

    quint16 port() const { return m_server.serverPort(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }

    // The script of every following connection.
    void setScript(const Script &script) { m_script = script; }

    int connections() const { return m_connections; }
    // The last connection's command lines (without line ends).
    QList<QByteArray> commands() const { return m_last.commands; }
    // Whether the client closed the last connection (or the server hung up).
    bool closed() const { return m_last.closed; }

private:
    // A connection is followed until the next one comes.
    struct Connection
    {
        QTcpSocket *socket = nullptr;
        Script script; // the replies still to come
        QByteArray received;
        QList<QByteArray> commands;
        bool closed = false;
    };
    void accept();
    void play();
    void writePieces(QTcpSocket *socket, QList<QByteArray> pieces, bool hangUp);

    QTcpServer m_server;
    Script m_script = mailbox();
    int m_connections = 0;
    Connection m_last;
};

// The mailbox script with the reply to `step` replaced (and nothing after it).
ScriptedPop3Server::Script failingAt(Pop3Check::Step step, const QByteArray &reply);

// A loopback port nobody listens on (taken and given back at once).
quint16 UnusedPort();
