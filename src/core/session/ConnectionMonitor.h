#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "accounting/ProviderConnection.h"
#include "line/RemoteAccess.h"

class Dialer;
class Scheduler;
struct CallSession;

// Turns the line's state into the status line's text, and reacts to a failed call:
// hangs up, asks for the window to be restored and, for a busy line with the
// provider's Redial option, dials again two seconds later.
class ConnectionMonitor : public QObject
{
    Q_OBJECT
public:
    static QString busyText() { return QStringLiteral("The line is busy. Redialing..."); }

    // provider: the loaded provider as it is now.
    ConnectionMonitor(RemoteAccess &line, Scheduler &scheduler, std::function<ProviderConnection()> provider,
                      Dialer &dialer, const CallSession &session, QObject *parent = nullptr);

    // The status text of this moment. Never waits.
    QString GetNetStatus();
    QString RasErrorText(quint32 error) const;
    static QString StateText(int state, const QString &phoneNumber);

    bool redialPending() const { return m_redialPending; }
    void cancelRedial();

signals:
    // A failed call brings a minimized window back.
    void restoreWindowRequested();
    // A busy line is dialed again shortly: the attempt goes on.
    void redialScheduled();

private:
    void redial();

    RemoteAccess &m_line;
    Scheduler &m_scheduler;
    std::function<ProviderConnection()> m_provider;
    Dialer &m_dialer;
    const CallSession &m_session;
    RasHandle m_handle = 0;
    quint32 m_error = 0;
    bool m_redialPending = false;
};
