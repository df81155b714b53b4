#include "values/TimeCounter.h"

#include "values/TimeText.h"

#include <algorithm>
#include <limits>

namespace {
constexpr quint32 kMaxPart = std::numeric_limits<quint32>::max();
}

void TimeCounter::addSecond()
{
    // A full counter stops instead of wrapping to zero (stored texts may hold any 32-bit part).
    if (seconds < kMaxPart)
        ++seconds;
    if (seconds >= 60 && minutes < kMaxPart) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60 && hours < kMaxPart) {
        minutes -= 60;
        ++hours;
    }
}

void TimeCounter::addSeconds(quint32 count)
{
    seconds = quint32(std::min<quint64>(quint64(seconds) + count, kMaxPart));
}

QString TimeCounter::plainText() const
{
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes).arg(seconds);
}

QString TimeCounter::paddedText() const
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3").arg(hours, 2, 10, zero).arg(minutes, 2, 10, zero).arg(seconds, 2, 10, zero);
}

TimeCounter TimeCounter::fromText(const QString &text)
{
    const TimeParts parts = SplitTimeText(text);
    auto number = [](const QString &part) -> quint32 {
        bool ok = false;
        const qlonglong value = part.trimmed().toLongLong(&ok);
        return ok && value > 0 && value <= 0xFFFFFFFFLL ? quint32(value) : 0;
    };
    return {number(parts.hours), number(parts.minutes), number(parts.seconds)};
}
