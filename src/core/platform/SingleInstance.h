#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// Keeps the program to one running copy per settings folder. The first copy holds a lock
// file in that folder (taken over when the copy that left it has died) and listens on a
// local socket; a second copy asks it through that socket to come to the front and ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSignalTimeoutMs = 2000;

    // What the second copy tells the user before it ends.
    static QString AlreadyRunningText();

    explicit SingleInstance(const QString &lockDir, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True: this is the first copy; it now holds the lock and listens for raise requests.
    // False: either another live copy holds the lock (alreadyRunning()) or the lock could
    // not be taken at all (errorString() says why), which is not the same thing.
    bool tryLock();
    bool isFirstCopy() const { return m_locked; }
    bool alreadyRunning() const { return m_alreadyRunning; }
    QString errorString() const { return m_error; }

    // Second copy: asks the first one to come to the front. True only when the first copy
    // acknowledged the request within timeoutMs.
    bool signalFirstCopy(int timeoutMs = kSignalTimeoutMs);

    QString lockFilePath() const { return m_lockPath; }
    // The same for every spelling of the folder; different for other folders and users.
    QString serverName() const { return m_serverName; }

signals:
    // First copy: a second start wants the main window in front.
    void raiseRequested();

private:
    void listen();
    void acceptConnections();

    QString m_lockPath;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
    bool m_locked = false;
    bool m_alreadyRunning = false;
    QString m_error;
};
