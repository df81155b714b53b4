#pragma once

#include "platform/Scheduler.h"
#include "support/FakeClock.h"

// Virtual time for the named timers: advance() moves the fake clock forward and fires
// every tick that falls due on the way, in time order (ties in the order they were
// armed). A handler may advance time itself (a message left open for minutes): the
// other timers then fire inside it, as they do under a real modal message.
class ManualScheduler final : public Scheduler
{
public:
    explicit ManualScheduler(FakeClock &clock) : m_clock(clock) {}

    using Scheduler::start;
    void start(Timer timer, int intervalMs) override { arm(timer, intervalMs, false); }
    void startOnce(Timer timer, int delayMs) override { arm(timer, delayMs, true); }
    void stop(Timer timer) override { m_slots[index(timer)].active = false; }
    bool isActive(Timer timer) const override { return m_slots[index(timer)].active; }

    void advanceMs(qint64 ms);
    void advanceSeconds(qint64 seconds) { advanceMs(seconds * 1000); }

private:
    struct Slot
    {
        bool active = false;
        bool once = false;
        int interval = 0;
        qint64 due = 0;
        quint64 sequence = 0;
    };
    void arm(Timer timer, int intervalMs, bool once);

    FakeClock &m_clock;
    std::array<Slot, kCount> m_slots;
    quint64 m_sequence = 0;
};
