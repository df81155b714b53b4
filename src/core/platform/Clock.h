#pragma once

#include <QDateTime>

// Where "now" comes from. Wall time drives dates, tariffs and texts; the monotonic
// milliseconds drive waits and elapsed-time measurement (they never jump at midnight
// or when the user sets the clock).
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock final : public Clock
{
public:
    SystemClock();
    QDateTime now() const override;
    qint64 monotonicMs() const override;

private:
    qint64 m_start;
};
