#pragma once

#include "composition/AppCore.h"
#include "line/SimulatedLine.h"
#include "support/EngineRig.h"
#include "support/FakeClock.h"
#include "support/ManualScheduler.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

// The program's core as it runs, wired by AppCore, on test seams: a temp home, the fake
// clock, the manual scheduler, scripted prompts, recorded sounds and programs, the
// simulated line (its demo phone book unless one is given). The parts are reachable here.
struct CoreRig
{
    explicit CoreRig(const QString &phonebook = QString(),
                     const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));

    TempHome home;
    FakeClock clock;
    ManualScheduler scheduler{clock};
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    RecordingLauncher launcher;
    AppCore core;

    SettingsStore &store = core.m_store;
    RemoteAccess &line = *core.m_line;
    ProviderProfile &profile = core.m_profile;
    const CallSession &session = core.m_session;
    ConnectionMonitor &monitor = core.m_monitor;
    MailChecker &mail = core.m_mail;
    AlarmMonitor &alarms = core.m_alarms;
    Dialer &dialer = core.m_dialer;
};
