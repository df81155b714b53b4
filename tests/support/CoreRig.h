#pragma once

#include "composition/AppCore.h"
#include "line/SimulatedLine.h"
#include "platform/ProgramLauncher.h"
#include "platform/SoundPlayer.h"
#include "support/FakeClock.h"
#include "support/ManualScheduler.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

// Records what would have been played; "device" says whether there is a sound device.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &path) override { played.append(path); }
    bool HasSoundDevice() const override { return device; }
    QStringList played;
    bool device = true;
};

// Records what would have been started; programs named "missing..." fail.
class RecordingLauncher final : public ProgramLauncher
{
public:
    bool start(const QString &commandLine, WindowStyle, QString *error) override;
    bool open(const QString &path, QString *) override
    {
        opened.append(path);
        return true;
    }
    QStringList started;
    QStringList opened;
};

// The program's core as it runs, wired by AppCore, on test seams: a temp home, the fake
// clock, the manual scheduler, scripted prompts, recorded sounds and programs, the
// simulated line (its demo phone book unless one is given). The parts are reachable here.
struct CoreRig
{
    explicit CoreRig(const QString &phonebook = QString(),
                     const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));

    // Writes the provider's connection settings and picks it in the list.
    void loadProvider(const QString &name, const QString &phone = "[Default Phone Number]", bool redial = false,
                      const QString &login = QString());
    // Status texts seen over the next seconds, each new text once.
    QStringList statusesOver(int seconds);

    TempHome home;
    FakeClock clock;
    ManualScheduler scheduler{clock};
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    RecordingLauncher launcher;
    AppCore core;

    SettingsStore &store = core.m_store;
    const MainState &state = core.m_state;
    MainPresenter &presenter = core.m_presenter;
    SimulatedLine &line = static_cast<SimulatedLine &>(*core.m_line);
    GeneralOptions &options = core.m_options;
    ProviderProfile &profile = core.m_profile;
    HolidayCalendar &holidays = core.m_holidays;
    CallAccounting &accounting = core.m_accounting;
    ProviderAccounts &accounts = core.m_accounts;
    AdapterStatistics &statistics = core.m_statistics;
    AlarmMonitor &alarms = core.m_alarms;
    CallEngine &engine = core.m_engine;
    const CallSession &session = core.m_engine.session();
    Dialer &dialer = core.m_dialer;
    ConnectionMonitor &monitor = core.m_monitor;
    Pop3Check &pop3 = core.m_pop3;
    MailChecker &mail = core.m_mail;
};

// The core on the simulated line with its timer loop running, as the window starts it
// (without the start's settings, provider list and demo tariff); amounts in "$".
struct ConnectionRig : CoreRig
{
    explicit ConnectionRig(const QString &phonebook = QString(),
                           const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
};

// The running core with "Home" in the phone book, dialed in two seconds.
struct EngineRig : ConnectionRig
{
    explicit EngineRig(const QString &phonebook = "[Home]\nNumber=555-0100\nConnectAfter=2\n",
                       const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)))
        : ConnectionRig(phonebook, start)
    {
    }

    // Loads "Home" (log, report and all log items on) and reloads the general options.
    void prepareHome();
    // Connect, and run until the call is open.
    void connectAndOpen();
};
