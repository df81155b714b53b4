#include "platform/SingleInstance.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace {

const QByteArray kRaise = QByteArrayLiteral("raise");
const QByteArray kAcknowledge = QByteArrayLiteral("ok");
// Anything longer than a request is not one of ours.
constexpr qint64 kMaxRequest = 64;
// A client that connects and says nothing is dropped after this.
constexpr int kIdleClientMs = 5000;
// Pause between attempts while the first copy holds the lock but does not listen yet.
constexpr int kRetryMs = 25;
// sun_path holds 108 bytes including the NUL.
constexpr qsizetype kMaxSocketPath = 107;

QString canonicalFolder(const QString &dir)
{
    const QFileInfo info(dir);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString serverNameFor(const QString &folder)
{
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString name = QStringLiteral("lineminder-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
    // The per-user runtime folder is closed to other users; without it the socket goes to
    // the temporary folder (restricted to the user when listening).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        QString path = QDir(runtime).filePath(name);
        if (QFile::encodeName(path).size() <= kMaxSocketPath)
            return path;
    }
    return name;
}

} // namespace

QString SingleInstance::AlreadyRunningText()
{
    return QStringLiteral("You Can't run the program more then once!");
}

SingleInstance::SingleInstance(const QString &lockDir, QObject *parent)
    : QObject(parent), m_lockPath(QDir(lockDir).filePath(QStringLiteral("lineminder.lock"))),
      m_serverName(serverNameFor(canonicalFolder(lockDir))), m_lock(m_lockPath)
{
    // Never stale by age: the first copy may run for weeks. A lock whose process has died
    // is still recognised (and taken over) by its process id.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
}

bool SingleInstance::tryLock()
{
    if (m_locked)
        return true;
    m_alreadyRunning = false;
    m_error.clear();
    if (!m_lock.tryLock(0)) {
        switch (m_lock.error()) {
        case QLockFile::LockFailedError:
            m_alreadyRunning = true;
            m_error = QStringLiteral("Another copy holds %1.").arg(m_lockPath);
            break;
        case QLockFile::PermissionError: m_error = QStringLiteral("No permission to create %1.").arg(m_lockPath); break;
        default: m_error = QStringLiteral("Cannot create %1.").arg(m_lockPath); break;
        }
        return false;
    }
    m_locked = true;
    listen();
    return true;
}

void SingleInstance::listen()
{
    // Holding the lock, we are the only rightful owner of the name: a socket file still
    // there was left by a copy that died.
    QLocalServer::removeServer(m_serverName);
    if (!m_server.listen(m_serverName))
        m_error = QStringLiteral("Cannot listen on %1: %2").arg(m_serverName, m_server.errorString());
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kIdleClientMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                    socket->deleteLater();
                }
                return;
            }
            const bool raise = socket->readLine(kMaxRequest + 1).trimmed() == kRaise;
            if (raise) {
                socket->write(kAcknowledge + '\n');
                socket->flush();
            }
            socket->disconnectFromServer();
            if (raise)
                emit raiseRequested();
        });
    }
}

bool SingleInstance::signalFirstCopy(int timeoutMs)
{
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    auto remaining = [&deadline] { return std::max(int(deadline.remainingTime()), 0); };

    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(remaining()))
            break;
        socket.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(static_cast<unsigned long>(std::min(kRetryMs, remaining()))); // both >= 0
    }
    socket.write(kRaise + '\n');
    socket.flush();
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(remaining()))
            return false;
    }
    return socket.readLine(kMaxRequest + 1).trimmed() == kAcknowledge;
}
