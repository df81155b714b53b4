#include "platform/Scheduler.h"

int Scheduler::defaultInterval(Timer timer)
{
    switch (timer) {
    case Timer::Timer1: return 1000;
    case Timer::tmrStartUp: return 900;
    case Timer::tmrTime: return 970;
    case Timer::tmrCost: return 60000;
    case Timer::tmrDUNStats: return 50;
    case Timer::tmrAlarm: return 1000;
    case Timer::tmrFlash: return 300;
    case Timer::tmrCheck: return 60000;
    case Timer::tmrRedial: return 2000;
    case Timer::tmrHangUpCheck: return 3000;
    case Timer::Count_: break;
    }
    return 1000;
}

QString Scheduler::name(Timer timer)
{
    static const char *const names[] = {"Timer1",   "tmrStartUp", "tmrTime",  "tmrCost",   "tmrDUNStats",
                                        "tmrAlarm", "tmrFlash",   "tmrCheck", "tmrRedial", "tmrHangUpCheck"};
    const auto i = index(timer);
    return i < kCount ? QLatin1String(names[i]) : QString();
}

void Scheduler::setHandler(Timer timer, Handler handler)
{
    m_handlers[index(timer)] = std::move(handler);
}

void Scheduler::stopAll()
{
    for (std::size_t i = 0; i < kCount; ++i)
        stop(static_cast<Timer>(i));
}

void Scheduler::fire(Timer timer)
{
    const auto i = index(timer);
    if (m_running[i] || !m_handlers[i])
        return;
    m_running[i] = true;
    // Copy: the handler may replace itself while it runs.
    const Handler handler = m_handlers[i];
    handler();
    m_running[i] = false;
}
