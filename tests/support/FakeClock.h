#pragma once

#include "platform/Clock.h"

// A clock that only moves when told to. Wall time and monotonic time advance together.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));

    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }

    void advanceMs(qint64 ms);
    void advanceSeconds(qint64 seconds) { advanceMs(seconds * 1000); }
    // Sets the wall time only (the user changed the clock); monotonic time is untouched.
    void setNow(const QDateTime &now) { m_now = now; }

private:
    QDateTime m_now;
    qint64 m_monotonic = 0;
};
