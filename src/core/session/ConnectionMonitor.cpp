#include "session/ConnectionMonitor.h"

#include "platform/Scheduler.h"
#include "session/CallSession.h"
#include "session/Dialer.h"

using Timer = Scheduler::Timer;

ConnectionMonitor::ConnectionMonitor(RemoteAccess &line, Scheduler &scheduler,
                                     std::function<ProviderConnection()> provider, Dialer &dialer,
                                     const CallSession &session, QObject *parent)
    : QObject(parent), m_line(line), m_scheduler(scheduler), m_provider(std::move(provider)), m_dialer(dialer),
      m_session(session)
{
    m_scheduler.setHandler(Timer::tmrRedial, [this] { redial(); });
}

QString ConnectionMonitor::StateText(int state, const QString &phoneNumber)
{
    switch (state) {
    case 0: return QStringLiteral("Ready...");
    case 1: return QStringLiteral("Port Successfully Opened");
    case 2:
    case 3: return QStringLiteral("Dialing to the network...   ") + phoneNumber;
    case 4: return QStringLiteral("All Devices Connected");
    case 5: return QStringLiteral("Verifying your username and password...");
    case 6: return QStringLiteral("Authentication Notification");
    case 7: return QStringLiteral("Retrying Authentication...");
    case 8: return QStringLiteral("Authentication Callback");
    case 9: return QStringLiteral("Change Password");
    case 10: return QStringLiteral("Authenticating Project..");
    case 11: return QStringLiteral("Authenticating Link Speed..");
    case 12: return QStringLiteral("Athentication Acknowledgement");
    case 13: return QStringLiteral("ReAuthentication...");
    case 14: return QStringLiteral("Authenticated");
    case 15: return QStringLiteral("Prepare For Callback");
    case 16: return QStringLiteral("Waiting For Modem Rest...");
    case 17: return QStringLiteral("Waiting For Callback...");
    case 18: return QStringLiteral("Network Completely Configured");
    case 19: return QStringLiteral("Attempting to Open Port");
    case 20: return QStringLiteral("Callback Completed");
    case 21: return QStringLiteral("Logging On To Network");
    case 0x1000: return QStringLiteral("Interactive");
    case 0x1001: return QStringLiteral("Retry Authentication");
    case 0x1002: return QStringLiteral("CallBack Set By Caller");
    case 0x1003: return QStringLiteral("Password Expired");
    case 0x2000: return QStringLiteral("Connected");
    case 0x2001: return QStringLiteral("Disconnected");
    default: return QStringLiteral("Unknown State");
    }
}

QString ConnectionMonitor::RasErrorText(quint32 error) const
{
    if (error >= RasError::Pending) {
        const std::optional<QString> text = m_line.RasGetErrorString(error);
        return text ? *text : QStringLiteral("Call To RasGetErrorString Failed. Error Retrieving The Error String!!!");
    }
    if (error == RasError::NotSupported)
        return QStringLiteral("Function Is Not Supported On This System.");
    return QStringLiteral("Unexpected Error. See The pppd Documentation For More Information On This Error Number!!!");
}

QString ConnectionMonitor::GetNetStatus()
{
    // While a redial waits, the busy text stays up.
    if (m_redialPending)
        return busyText();

    m_handle = m_line.RasEnumConnections();
    const RasStatus status = m_handle ? m_line.RasGetConnectStatus(m_handle) : RasStatus();
    m_error = status.error;
    if (m_error == RasError::None || m_error == RasError::Pending)
        return StateText(status.state, m_provider().phone);

    QString text = RasErrorText(m_error);
    m_line.RasHangUp(m_handle);
    m_handle = 0;
    emit restoreWindowRequested();
    if (m_error == RasError::LineBusy && m_provider().redial && m_session.dialing) {
        m_redialPending = true;
        m_scheduler.startOnce(Timer::tmrRedial, Scheduler::defaultInterval(Timer::tmrRedial));
        emit redialScheduled();
        return busyText();
    }
    m_dialer.endAttempt();
    return text;
}

void ConnectionMonitor::redial()
{
    m_redialPending = false;
    if (!m_session.dialing)
        return;
    // DialUP starts the start-up wait again; a refusal ends the attempt.
    m_dialer.DialUP();
}

void ConnectionMonitor::cancelRedial()
{
    m_redialPending = false;
    m_scheduler.stop(Timer::tmrRedial);
}
