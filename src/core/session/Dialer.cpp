#include "session/Dialer.h"

#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "session/CallSession.h"
#include "settings/EntryName.h"

using Timer = Scheduler::Timer;

namespace {
// How long after a hang-up the line must be down.
constexpr int kHangUpCheckMs = 3000;
} // namespace

bool IsLineConnected(RemoteAccess &line)
{
    const RasHandle handle = line.RasEnumConnections();
    return handle != 0 && line.RasGetConnectStatus(handle).state == RasState::Connected;
}

Dialer::Dialer(RemoteAccess &line, Prompter &prompter, Scheduler &scheduler, const CallSession &session,
               std::function<ProviderConnection()> provider, QObject *parent)
    : QObject(parent), m_line(line), m_prompter(prompter), m_scheduler(scheduler), m_session(session),
      m_provider(std::move(provider))
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
    const QString loaded = m_provider().name;
    if (text.isEmpty()) {
        m_prompter.tell(QStringLiteral("You didn't select any Provider!!!"));
        return;
    }
    // A name that is not one path component would read and write another provider's
    // subsection: such an entry must be renamed before it can be used.
    if (text != wizardItem() && !EntryName::IsSectionName(text)) {
        m_prompter.tell(EntryName::Refusal(text).value_or(QString()) +
                        QStringLiteral(" Please rename the dial-up entry before you use it."));
        emit providerShown(loaded);
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
    emit providerSelected(text);
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
    if (m_provider().name.isEmpty()) {
        m_prompter.tell(QStringLiteral("Select Provider"));
        return false;
    }
    emit connectRequested();
    if (!DialUP())
        return false;
    emit connectDialed();
    return true;
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
    const ProviderConnection provider = m_provider();
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
    emit dialingStarted();
    emit lineInUse(true);
    return true;
}

void Dialer::endAttempt()
{
    emit attemptEnded();
    if (!m_session.CallActive)
        emit lineInUse(false);
}

void Dialer::hangup()
{
    const bool wasUp = m_line.RasEnumConnections() != 0;
    m_line.RasHangUp(m_line.RasEnumConnections());
    m_handle = 0;
    emit redialCancelled();
    emit lineDropped();
    endAttempt();
    emit lineInUse(false);
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
