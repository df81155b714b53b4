#include "support/ManualScheduler.h"

void ManualScheduler::arm(Timer timer, int intervalMs, bool once)
{
    Slot &slot = m_slots[index(timer)];
    slot.active = true;
    slot.once = once;
    slot.interval = std::max(1, intervalMs);
    slot.due = m_clock.monotonicMs() + slot.interval;
    slot.sequence = ++m_sequence;
}

void ManualScheduler::advanceMs(qint64 ms)
{
    const qint64 target = m_clock.monotonicMs() + ms;
    for (;;) {
        // The next tick due by the target, earliest first.
        std::size_t next = kCount;
        for (std::size_t i = 0; i < kCount; ++i) {
            const Slot &slot = m_slots[i];
            if (!slot.active || slot.due > target)
                continue;
            if (next == kCount || slot.due < m_slots[next].due ||
                (slot.due == m_slots[next].due && slot.sequence < m_slots[next].sequence))
                next = i;
        }
        if (next == kCount)
            break;
        Slot &slot = m_slots[next];
        if (slot.due > m_clock.monotonicMs())
            m_clock.advanceMs(slot.due - m_clock.monotonicMs());
        if (slot.once)
            slot.active = false;
        else
            slot.due += slot.interval;
        slot.sequence = ++m_sequence;
        fire(static_cast<Timer>(next));
    }
    if (target > m_clock.monotonicMs())
        m_clock.advanceMs(target - m_clock.monotonicMs());
}
