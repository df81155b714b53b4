#include "platform/Clock.h"

#include <chrono>

namespace {
qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

SystemClock::SystemClock() : m_start(steadyMs())
{
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::monotonicMs() const
{
    return steadyMs() - m_start;
}
