#pragma once

#include <QDate>
#include <QObject>

#include "session/CallSession.h"

class AdapterStatistics;
class AlarmMonitor;
class CallAccounting;
class CallRecorder;
class Clock;
class GeneralOptions;
class HolidayCalendar;
class ProgramLauncher;
class Prompter;
class RemoteAccess;
class ProviderAccounts;
class ProviderProfile;
class Scheduler;
class SettingsStore;
class SoundPlayer;

// Everything the call engine works with, made once by the program (or a test).
struct CallEngineParts
{
    SettingsStore &store;
    const Clock &clock;
    Scheduler &scheduler;
    Prompter &prompter;
    RemoteAccess &line;
    CallAccounting &accounting;
    ProviderAccounts &accounts;
    ProviderProfile &profile;
    GeneralOptions &options;
    HolidayCalendar &holidays;
    CallRecorder &recorder;
    AlarmMonitor &alarms;
    AdapterStatistics &statistics;
    SoundPlayer &sound;
    ProgramLauncher &launcher;
};

// The main window's timer loop: it sees a call come up and go down, counts the time
// online from the monotonic clock, charges each minute, runs the alarms and closes the
// call (log, report, counters) exactly once. Each handler is guarded only against its
// own re-entry, so a message left open never stops the counting.
class CallEngine : public QObject
{
    Q_OBJECT
public:
    // How often the counters catch up with the clock (they count whole seconds elapsed).
    static constexpr int kCountIntervalMs = 250;
    // While connected the counters are stored at least this often, so a crash loses little.
    static constexpr int kCheckpointSeconds = 60;
    // Counters whose save failed are tried again this often (a lock, a full disk).
    static constexpr int kSaveRetrySeconds = 10;

    explicit CallEngine(const CallEngineParts &parts, QObject *parent = nullptr);

    // Starts Timer1 and the counting timer, as the window does when it is created.
    void start();

    // The call of the moment; the engine alone changes it.
    const CallSession &session() const { return m_session; }

    // The handlers, callable directly from tests.
    void Timer1();
    void tmrStartUp();
    void tmrTime();
    void tmrCost();
    void tmrDUNStats();

    // Programs listed to start after a connection, ticked ones in list order.
    void ExecuteProgram();

    // Closes a call still open now (the program is ending): end time now, minimum charge,
    // log, report and counters, once.
    void closeOpenCall();
    // Another provider is about to be loaded: a call still open is closed first, ending
    // when the line went down (the hang-up), so it is logged, reported and charged as its own.
    void closeCallBeforeProviderChange();
    // A provider was loaded: no call of it is open; with a tariff for today the minutes
    // are charged, also those of a connection this program did not open.
    void onProviderLoaded();
    void startCharging();

    // What the dialer and the monitor tell: a dial is under way (wait for the line to come
    // up), the attempt is over, a redial waits (no waiting for the line meanwhile), the
    // line was hung up (the call's end is now; counting stops).
    void onDialingStarted();
    void onAttemptEnded();
    void onRedialScheduled();
    void onLineDropped();

signals:
    // Timer1 runs: the status line and the clock are refreshed first.
    void ticked();
    // A call is up (the provider list cannot be used), or the line is free again.
    void lineInUse(bool inUse);
    void minimizeRequested();
    // A call was opened: the first mail check may start.
    void callOpened();
    void callClosed();

private:
    void openCall();
    // atExit: the exit sequence's own save tells what is lost.
    void closeCall(const QTime &end, bool atExit = false);
    void closeFinishedDay();
    void retryUnsavedCounters();
    QTime wholeSecondsNow() const;

    bool isConnected() const;

    CallEngineParts m;
    CallSession m_session;
    qint64 m_countFromMs = -1; // monotonic time the counting of this connection started
    qint64 m_secondsCredited = 0;
    qint64 m_minutesCharged = 0;
    bool m_closing = false;
    qint64 m_nextSaveRetryMs = 0;
};
