#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "accounting/ProviderConnection.h"
#include "line/RemoteAccess.h"
#include "settings/SettingsLayout.h"

class Clock;
class Prompter;
class Scheduler;
struct CallSession;

// Whether the line's first active connection is up. Never waits.
bool IsLineConnected(RemoteAccess &line);

// Lists the providers, picks the one the user selects, dials it and hangs up. It tells
// what it did by its signals; loading the provider, counting and the timers of the call
// are the others' (wired by AppCore). Dialing returns at once; the monitor and the timer
// loop follow the call.
class Dialer : public QObject
{
    Q_OBJECT
public:
    static QString wizardItem() { return QStringLiteral("[Create New DialUp Connection]"); }
    static QString defaultPhoneNumber() { return SettingsLayout::DefaultPhoneNumber(); }

    // provider: the loaded provider as it is now (no name: none loaded).
    Dialer(RemoteAccess &line, Prompter &prompter, Scheduler &scheduler, const CallSession &session,
           std::function<ProviderConnection()> provider, QObject *parent = nullptr);

    // The phone book's entries, then the wizard item last.
    void FillProviderList();
    // A pick in the provider list.
    void SelectProvider(const QString &text);

    // The toolbar's Connect: refused while connected, while a dial is under way and
    // with no provider loaded. Returns whether a dial was started.
    bool ConnectCommand();
    void DisconnectCommand() { hangup(); }

    // Dials the loaded provider. A dial the line refuses at once is shown in the status
    // line and returns false.
    bool DialUP();
    // Ends the call (or the dial, or a pending redial); the counters are stored.
    void hangup();
    bool IsConnected() const { return IsLineConnected(m_line); }

    // The attempt is over without a call (failed, refused, or cancelled).
    void endAttempt();

signals:
    // The user picked the wizard item: the window offers to create an entry.
    void newEntryWizardRequested();
    // A pending redial must be dropped (hang-up, another provider, closing).
    void redialCancelled();
    // Another provider is about to be loaded: a call still open must be closed first.
    void providerChanging();
    // Load this provider's settings and figures.
    void providerSelected(const QString &provider);
    // Another provider's settings and figures were loaded.
    void providerLoaded();
    // The provider list: its items (the phone book's entries, the wizard item last), and
    // the provider it shows.
    void providersListed(const QStringList &items);
    void providerShown(const QString &provider);
    // Connect was accepted (the call's counter restarts, the traffic baselines are taken)
    // and then dialed (the call is counted).
    void connectRequested();
    void connectDialed();
    // A dial is under way; the attempt is over (failed, refused, cancelled or hung up).
    void dialingStarted();
    void attemptEnded();
    // The line was hung up: the call ends now and stops counting.
    void lineDropped();
    // The hang-up is done (the counters are stored, a mail check under way ends).
    void hungUp();
    // A dial is under way (the list cannot be used), or the line is free again.
    void lineInUse(bool inUse);
    // The line refused to dial, with its reason (empty when it gave none).
    void dialRefused(const QString &reason);

private:
    bool checkDialText(const QString &text, int limit, const QString &what);
    void checkLineDown();

    RemoteAccess &m_line;
    Prompter &m_prompter;
    Scheduler &m_scheduler;
    const CallSession &m_session;
    std::function<ProviderConnection()> m_provider;
    RasHandle m_handle = 0;
};
