#include "values/TimeText.h"

#include <algorithm>
#include <limits>

#include <QStringList>

TimeParts SplitTimeText(const QString &text)
{
    const qsizetype first = text.indexOf(QLatin1Char(':'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char(':'), first + 1);
    if (first < 0 || second < 0)
        return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    return {text.left(first), text.mid(first + 1, second - first - 1), text.mid(second + 1)};
}

namespace {

// A part of a time text as a whole number from 0 to limit: larger numbers, also those too
// long for 64 bits, stop at limit; what is not a number counts as 0.
qint64 timePart(const QString &part, qint64 limit)
{
    const QString text = part.trimmed();
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (ok)
        return std::clamp<qint64>(value, 0, limit);
    const QStringView digits = text.startsWith(QLatin1Char('+')) ? QStringView(text).sliced(1) : QStringView(text);
    const bool tooLong =
        !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return tooLong ? limit : 0;
}

} // namespace

int TimeTextToMinutes(const QString &text)
{
    const TimeParts parts = SplitTimeText(text);
    // Each part at most the result's limit: the seconds below stay far inside 64 bits.
    constexpr qint64 kLimit = std::numeric_limits<int>::max();
    const qint64 seconds =
        timePart(parts.hours, kLimit) * 3600 + timePart(parts.minutes, kLimit) * 60 + timePart(parts.seconds, kLimit);
    qint64 minutes = seconds / 60;
    const qint64 rest = seconds % 60;
    if (rest > 30 || (rest == 30 && minutes % 2 == 1))
        ++minutes;
    return int(std::min<qint64>(minutes, std::numeric_limits<int>::max()));
}

QString MonthKey(const QDate &date)
{
    return QStringLiteral("%1/%2").arg(date.month()).arg(date.year());
}

QString TextBeforeNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QDate ParseTodayDate(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return QDate();
    bool okDay = false, okMonth = false, okYear = false;
    const int day = parts[0].toInt(&okDay);
    const int month = parts[1].toInt(&okMonth);
    int year = parts[2].toInt(&okYear);
    if (!okDay || !okMonth || !okYear || year < 0)
        return QDate();
    if (parts[2].size() <= 2)
        year += 2000;
    return QDate(year, month, day); // invalid when out of range
}

QString FormatTodayDate(const QDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.day()).arg(date.month()).arg(date.year() % 100, 2, 10, QLatin1Char('0'));
}
