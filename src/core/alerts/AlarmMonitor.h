#pragma once

#include <QObject>

#include <functional>

class CallAccounting;
class ProviderProfile;
class Scheduler;
class SoundPlayer;

// The six per-provider alarms: call, today, month and total time reaching an hour and
// minute, the number of calls and the total payment passing a limit. A raised alarm shows
// its picture and message, flashes the caption, plays its sound every second and, when the
// provider asks for it, hangs up after a fifteen-second countdown.
class AlarmMonitor : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCountdown = 15;

    AlarmMonitor(ProviderProfile &profile, const CallAccounting &accounting, Scheduler &scheduler, SoundPlayer &sound,
                 std::function<void()> hangup, QObject *parent = nullptr);

    // Timer1's alarm check.
    void check();
    // Raises alarm n (1..6).
    void AlertSub(int n);
    // A click on imgAlert.
    void silence();
    // The line was hung up: the sound and the flashing stop; the picture stays.
    void lineDropped();
    // The master switch was turned off: indicator hidden, countdown and flashing stopped.
    void switchedOff();

    int lastAlarm() const { return m_lastAlarm; }
    int countdown() const { return m_countdown; }

signals:
    // An alarm went off: the window comes back to normal size (and, hidden in the tray,
    // tells the user with a tray message).
    void alarmRaised(int n, const QString &message);
    // The countdown to the hang-up went down to this many seconds.
    void countdownChanged(int seconds);
    // The alarm's picture goes away (silenced, or the alarms switched off).
    void alarmCleared();
    // tmrFlash: flash the caption once.
    void flashRequested();

private:
    bool conditionHolds(int n) const;
    void alarmTick();

    ProviderProfile &m_profile;
    const CallAccounting &m_accounting;
    Scheduler &m_scheduler;
    SoundPlayer &m_sound;
    std::function<void()> m_hangup;
    int m_lastAlarm = 0;
    int m_countdown = 0;
};

// The message of a raised alarm, for the tray.
QString AlarmDescription(int n);
