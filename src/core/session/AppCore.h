#pragma once

#include <QObject>

#include <memory>

#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/ProviderAccounts.h"
#include "alerts/AlarmMonitor.h"
#include "line/RemoteAccess.h"
#include "mail/MailChecker.h"
#include "mail/Pop3Check.h"
#include "platform/DataLocations.h"
#include "presentation/MainState.h"
#include "reports/CallRecorder.h"
#include "reports/ReportArchives.h"
#include "session/CallEngine.h"
#include "session/CallSession.h"
#include "session/ConnectionMonitor.h"
#include "session/Dialer.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"
#include "stats/AdapterStatistics.h"

class Clock;
class ProgramLauncher;
class Prompter;
class Scheduler;
class SoundPlayer;

// The seams the program runs on; tests pass doubles.
struct AppSeams
{
    const Clock &clock;
    Scheduler &scheduler;
    Prompter &prompter;
    SoundPlayer &sound;
    ProgramLauncher &launcher;
};

// Everything that is not a widget, wired together: the settings store and models, the
// line, the accounting, the call engine. The main window shows its state and forwards
// the user's commands to it.
class AppCore : public QObject
{
    Q_OBJECT
public:
    AppCore(DataLocations locations, std::unique_ptr<RemoteAccess> line, AppSeams seams,
            DateTimeFormats formats = DateTimeFormats::fromSystem(), QObject *parent = nullptr);
    ~AppCore() override;

    bool isOpen() const { return store.isOpen(); }
    bool isSimulated() const { return line->lineKind() == LineKind::Simulated; }

    // What the window does when it is created: settings, date, provider list, timers.
    void start();
    void seedDemoTariff();

    // The exit sequence: timers stopped first (nothing runs twice), no redial, a dial in
    // progress hung up; with a call up, askHangUp decides (true: hang up); a call still
    // open is closed and recorded with the end time of now; the counters are stored.
    // Returns the last status text, taken without side effects.
    QString shutDown(const std::function<bool()> &askHangUp);

    const DataLocations locations;
    const DateTimeFormats formats;
    AppSeams seams;
    SettingsStore store;
    MainState state;
    CallSession session;
    std::unique_ptr<RemoteAccess> line;
    GeneralOptions options;
    ProviderProfile profile;
    HolidayCalendar holidays;
    ReportArchives archives;
    CallRecorder recorder;
    CallAccounting accounting;
    ProviderAccounts accounts;
    AdapterStatistics statistics;
    Dialer dialer;
    ConnectionMonitor monitor;
    AlarmMonitor alarms;
    CallEngine engine;
    Pop3Check pop3;
    MailChecker mail;
};
