#include "alerts/AlarmMonitor.h"

#include "accounting/CallAccounting.h"
#include "platform/Scheduler.h"
#include "platform/SoundPlayer.h"
#include "settings/ProviderProfile.h"

using Timer = Scheduler::Timer;
using Check = ProviderProfile::Check;

QString AlarmDescription(int n)
{
    switch (n) {
    case 1: return QStringLiteral("The current call has reached its time limit.");
    case 2: return QStringLiteral("Today's time online has reached its limit.");
    case 3: return QStringLiteral("This month's time online has reached its limit.");
    case 4: return QStringLiteral("The total time online has reached its limit.");
    case 5: return QStringLiteral("The number of calls has passed its limit.");
    case 6: return QStringLiteral("The total payment has passed its limit.");
    default: return QString();
    }
}

AlarmMonitor::AlarmMonitor(ProviderProfile &profile, const CallAccounting &accounting, Scheduler &scheduler,
                           SoundPlayer &sound, std::function<void()> hangup, QObject *parent)
    : QObject(parent), m_profile(profile), m_accounting(accounting), m_scheduler(scheduler), m_sound(sound),
      m_hangup(std::move(hangup))
{
    m_scheduler.setHandler(Timer::tmrAlarm, [this] { alarmTick(); });
    m_scheduler.setHandler(Timer::tmrFlash, [this] { emit flashRequested(); });
}

bool AlarmMonitor::conditionHolds(int n) const
{
    const AccountingFigures &figures = m_accounting.figures();
    if (n >= 1 && n <= 4) {
        const std::optional<int> hours = m_profile.alertHours(n);
        const std::optional<int> minutes = m_profile.alertMinutes(n);
        if (!hours || !minutes)
            return false;
        const TimeCounter &counter = n == 1   ? figures.call
                                     : n == 2 ? figures.today
                                     : n == 3 ? figures.month
                                              : figures.total;
        return counter.hours == quint32(*hours) && counter.minutes == quint32(*minutes);
    }
    if (n == 5) {
        const std::optional<int> limit = m_profile.alertCallCount();
        return limit && figures.calls > *limit;
    }
    if (n == 6) {
        const std::optional<Money> limit = m_profile.alertPayment();
        return limit && figures.totalPayment > *limit;
    }
    return false;
}

void AlarmMonitor::check()
{
    if (!m_profile.alertsOn())
        return;
    for (int n = 1; n <= ProviderProfile::kAlarms; ++n) {
        if (m_profile.alarmOn(n) && conditionHolds(n)) {
            m_lastAlarm = n;
            AlertSub(n);
        }
    }
}

void AlarmMonitor::AlertSub(int n)
{
    // Fires once: armed again when the provider's settings are loaded afresh.
    m_profile.setAlarmOn(n, false);
    m_scheduler.start(Timer::tmrAlarm);
    m_scheduler.start(Timer::tmrFlash);
    m_countdown = kCountdown;
    emit alarmRaised(n, AlarmDescription(n));
}

void AlarmMonitor::alarmTick()
{
    if (m_profile.isChecked(Check::Disconnect15)) {
        m_countdown = std::max(0, m_countdown - 1);
        emit countdownChanged(m_countdown);
        if (m_countdown == 0) {
            m_scheduler.stop(Timer::tmrAlarm);
            m_hangup();
        }
    }
    if (m_profile.isChecked(Check::AlertSound))
        m_sound.play(m_profile.text(ProviderProfile::Text::AlertSound));
}

void AlarmMonitor::silence()
{
    if (m_lastAlarm > 0)
        m_profile.setAlarmOn(m_lastAlarm, false);
    emit alarmCleared();
    m_scheduler.stop(Timer::tmrAlarm);
    m_scheduler.stop(Timer::tmrFlash);
}

void AlarmMonitor::lineDropped()
{
    m_scheduler.stop(Timer::tmrFlash);
    m_scheduler.stop(Timer::tmrAlarm);
}

void AlarmMonitor::switchedOff()
{
    emit alarmCleared();
    m_scheduler.stop(Timer::tmrAlarm);
    m_scheduler.stop(Timer::tmrFlash);
}
