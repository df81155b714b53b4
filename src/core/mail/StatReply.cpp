#include "mail/StatReply.h"

QString StatCountText(const QString &reply)
{
    constexpr qsizetype kFirst = 4; // the fifth character
    if (reply.size() <= kFirst)
        return QString();
    const qsizetype blank = reply.indexOf(QLatin1Char(' '), kFirst);
    if (blank < 0)
        return QString();
    return reply.mid(kFirst, blank - kFirst);
}

qint64 StatCountValue(const QString &count)
{
    constexpr qint64 kLimit = qint64(1) << 53;
    qsizetype i = 0;
    bool negative = false;
    if (i < count.size() && (count[i] == QLatin1Char('+') || count[i] == QLatin1Char('-'))) {
        negative = count[i] == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < count.size() && count[i] >= QLatin1Char('0') && count[i] <= QLatin1Char('9'); ++i)
        value = std::min(kLimit, value * 10 + (count[i].unicode() - '0'));
    return negative ? -value : value;
}
