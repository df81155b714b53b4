#include "accounting/TimeCounter.h"

#include "accounting/TimeText.h"

void TimeCounter::addSecond()
{
    ++seconds;
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++hours;
    }
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
