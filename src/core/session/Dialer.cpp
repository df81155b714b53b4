#include "session/Dialer.h"

#include "accounting/CallAccounting.h"
#include "accounting/ProviderAccounts.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "session/CallSession.h"
#include "stats/AdapterStatistics.h"

using Timer = Scheduler::Timer;

namespace {
// How long after a hang-up the line must be down.
constexpr int kHangUpCheckMs = 3000;
} // namespace

Dialer::Dialer(RemoteAccess &line, Prompter &prompter, Scheduler &scheduler, const Clock &clock,
               ProviderAccounts &accounts, CallAccounting &accounting, AdapterStatistics &statistics,
               CallSession &session, QObject *parent)
    : QObject(parent), m_line(line), m_prompter(prompter), m_scheduler(scheduler), m_clock(clock), m_accounts(accounts),
      m_accounting(accounting), m_statistics(statistics), m_session(session)
{
    m_scheduler.setHandler(Timer::tmrHangUpCheck, [this] { checkLineDown(); });
}

void Dialer::FillProviderList()
{
    QStringList items = m_line.RasEnumEntries();
    items.append(wizardItem());
    emit providersListed(items);
}

void Dialer::SelectProvider(const QString &text)
{
    const QString loaded = m_accounts.isLoaded() ? m_accounts.connection().name : QString();
    if (text.isEmpty()) {
        m_prompter.tell(QStringLiteral("You didn't select any Provider!!!"));
        return;
    }
    if (text == wizardItem()) {
        // The list goes back to the provider whose figures are loaded.
        emit providerShown(loaded);
        emit newEntryWizardRequested();
        return;
    }
    emit redialCancelled();
    emit providerChanging();
    emit providerShown(text);
    m_accounts.LoadProvider(text);
    m_session.CallActive = false;
    emit providerLoaded();
}

bool Dialer::ConnectCommand()
{
    if (IsConnected()) {
        m_prompter.tell(QStringLiteral("You already have an Internet Connection!!!"), Prompt::Icon::Information);
        return false;
    }
    if (m_session.dialing)
        return false; // one attempt at a time
    if (!m_accounts.isLoaded()) {
        m_prompter.tell(QStringLiteral("Select Provider"));
        return false;
    }
    m_statistics.captureBaselines();
    m_accounting.ResetCallCounter();
    if (!DialUP())
        return false;
    m_accounting.CountCall();
    return true;
}

void Dialer::DisconnectCommand()
{
    hangup();
    m_scheduler.stop(Timer::tmrTime);
}

bool Dialer::checkDialText(const QString &text, int limit, const QString &what)
{
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0))) {
        m_prompter.tell(QStringLiteral("The %1 of this provider holds a line break or a NUL character and cannot be "
                                       "dialed. Correct it in the provider's settings.")
                            .arg(what),
                        Prompt::Icon::Exclamation);
        return false;
    }
    if (text.size() > limit) {
        m_prompter.tell(QStringLiteral("The %1 of this provider is too long to dial (at most %2 characters). "
                                       "Correct it in the provider's settings.")
                            .arg(what)
                            .arg(limit),
                        Prompt::Icon::Exclamation);
        return false;
    }
    return true;
}

bool Dialer::DialUP()
{
    const ProviderConnection &provider = m_accounts.connection();
    const DialLimits limits = m_line.dialLimits();
    DialParams params;
    params.entry = provider.name;
    if (!provider.login.isEmpty()) {
        params.userName = provider.login;
        params.password = provider.password;
    }
    if (provider.phone != defaultPhoneNumber())
        params.phoneNumber = provider.phone;

    const QString password = QString::fromUtf8(params.password);
    if (!checkDialText(params.entry, limits.entry, QStringLiteral("name")) ||
        !checkDialText(params.phoneNumber, limits.phoneNumber, QStringLiteral("phone number")) ||
        !checkDialText(params.userName, limits.userName, QStringLiteral("login name")) ||
        !checkDialText(password, limits.password, QStringLiteral("password"))) {
        endAttempt();
        return false;
    }

    const DialResult result = m_line.RasDial(params);
    if (result.handle == 0) {
        emit dialRefused(result.errorText);
        endAttempt();
        return false;
    }
    m_handle = result.handle;
    m_session.dialing = true;
    emit lineInUse(true);
    m_scheduler.start(Timer::tmrStartUp);
    return true;
}

void Dialer::endAttempt()
{
    m_session.dialing = false;
    m_scheduler.stop(Timer::tmrStartUp);
    m_scheduler.stop(Timer::tmrRedial);
    if (!m_session.CallActive)
        emit lineInUse(false);
}

void Dialer::hangup()
{
    const bool wasUp = m_line.RasEnumConnections() != 0;
    m_line.RasHangUp(m_line.RasEnumConnections());
    m_handle = 0;
    emit redialCancelled();
    m_session.end = m_clock.now().time();
    m_session.end = QTime(m_session.end.hour(), m_session.end.minute(), m_session.end.second());
    for (Timer timer : {Timer::tmrTime, Timer::tmrCost, Timer::tmrFlash, Timer::tmrAlarm, Timer::tmrCheck})
        m_scheduler.stop(timer);
    endAttempt();
    emit lineInUse(false);
    m_accounts.SaveCounters();
    emit hungUp();
    if (wasUp)
        m_scheduler.startOnce(Timer::tmrHangUpCheck, kHangUpCheckMs);
}

void Dialer::checkLineDown()
{
    if (m_line.RasEnumConnections() != 0 &&
        m_line.RasGetConnectStatus(m_line.RasEnumConnections()).state == RasState::Connected)
        m_prompter.tell(QStringLiteral("The line could not be hung up: it is still connected. Try Disconnect again, "
                                       "or hang up the modem yourself."),
                        Prompt::Icon::Exclamation);
}

bool Dialer::IsConnected() const
{
    const RasHandle handle = m_line.RasEnumConnections();
    return handle != 0 && m_line.RasGetConnectStatus(handle).state == RasState::Connected;
}
