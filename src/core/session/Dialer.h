#pragma once

#include <QObject>
#include <QString>

#include "line/RemoteAccess.h"

class AdapterStatistics;
class CallAccounting;
class Clock;
class Prompter;
class ProviderAccounts;
class Scheduler;
struct CallSession;

// Lists the providers, loads the one the user picks, dials it and hangs up.
// Dialing returns at once; the monitor and the timer loop follow the call.
class Dialer : public QObject
{
    Q_OBJECT
public:
    static QString wizardItem() { return QStringLiteral("[Create New DialUp Connection]"); }
    static QString defaultPhoneNumber() { return QStringLiteral("[Default Phone Number]"); }

    Dialer(RemoteAccess &line, Prompter &prompter, Scheduler &scheduler, const Clock &clock, ProviderAccounts &accounts,
           CallAccounting &accounting, AdapterStatistics &statistics, CallSession &session, QObject *parent = nullptr);

    // The phone book's entries, then the wizard item last.
    void FillProviderList();
    // A pick in the provider list.
    void SelectProvider(const QString &text);

    // The toolbar's Connect: refused while connected, while a dial is under way and
    // with no provider loaded. Returns whether a dial was started.
    bool ConnectCommand();
    void DisconnectCommand();

    // Dials the loaded provider. A dial the line refuses at once is shown in the status
    // line and returns false.
    bool DialUP();
    // Ends the call (or the dial, or a pending redial) and stores the counters.
    void hangup();
    // Whether the first active connection is up. Never waits.
    bool IsConnected() const;

    // The attempt is over without a call (failed, refused, or cancelled).
    void endAttempt();

signals:
    // The user picked the wizard item: the window offers to create an entry.
    void newEntryWizardRequested();
    // A pending redial must be dropped (hang-up, another provider, closing).
    void redialCancelled();
    // The line was hung up (a mail check under way ends with it).
    void hungUp();
    // Another provider is about to be loaded: a call still open must be closed first.
    void providerChanging();
    // Another provider's settings and figures were loaded.
    void providerLoaded();
    // The provider list: its items (the phone book's entries, the wizard item last), and
    // the provider it shows.
    void providersListed(const QStringList &items);
    void providerShown(const QString &provider);
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
    const Clock &m_clock;
    ProviderAccounts &m_accounts;
    CallAccounting &m_accounting;
    AdapterStatistics &m_statistics;
    CallSession &m_session;
    RasHandle m_handle = 0;
};
