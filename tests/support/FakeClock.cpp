#include "support/FakeClock.h"

FakeClock::FakeClock(QDateTime start) : m_now(std::move(start))
{
}

void FakeClock::advanceMs(qint64 ms)
{
    m_now = m_now.addMSecs(ms);
    m_monotonic += ms;
}
