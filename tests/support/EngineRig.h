#pragma once

#include "alerts/AlarmMonitor.h"
#include "platform/ProgramLauncher.h"
#include "platform/SoundPlayer.h"
#include "session/CallEngine.h"
#include "settings/GeneralOptions.h"
#include "support/ConnectionRig.h"

// Records what would have been played.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &path) override { played.append(path); }
    bool HasSoundDevice() const override { return true; }
    QStringList played;
};

// Records what would have been started; programs named "missing..." fail.
class RecordingLauncher final : public ProgramLauncher
{
public:
    bool start(const QString &commandLine, WindowStyle, QString *error) override;
    QStringList started;
};

// The whole headless call engine on the simulated line, the fake clock and the manual
// scheduler.
struct EngineRig : ConnectionRig
{
    explicit EngineRig(const QString &phonebook = "[Home]\nNumber=555-0100\nConnectAfter=2\n",
                       const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));

    // Loads "Home" (log, report and all log items on) and reloads the general options.
    void prepareHome();
    // Connect, and run until the call is open.
    void connectAndOpen();
    void reloadOptions() { options.load(store); }

    RecordingSoundPlayer sound;
    RecordingLauncher launcher;
    AlarmMonitor alarms;
    CallEngine engine;
};
