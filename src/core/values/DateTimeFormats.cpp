#include "values/DateTimeFormats.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

// The log and the archives record wall-clock times; a zone name in them only varies with
// the machine's settings, so the "t" run is dropped together with the blank or the
// brackets that only exist to set it apart ("HH:mm:ss t", "t HH:mm:ss", "H:mm:ss (t)").
// Text in single quotes is literal and left alone.
QString withoutTimeZone(const QString &format)
{
    QString result = format;
    bool quoted = false;
    qsizetype i = 0;
    while (i < result.size()) {
        const QChar c = result.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            ++i;
            continue;
        }
        qsizetype begin = i;
        qsizetype end = i;
        while (end < result.size() && result.at(end) == QLatin1Char('t'))
            ++end;
        if (begin > 0 && end < result.size()) {
            const QChar open = result.at(begin - 1);
            const QChar close = result.at(end);
            if ((open == QLatin1Char('(') && close == QLatin1Char(')')) ||
                (open == QLatin1Char('[') && close == QLatin1Char(']'))) {
                --begin;
                ++end;
            }
        }
        if (begin > 0 && isBlank(result.at(begin - 1)))
            --begin;
        else if (end < result.size() && isBlank(result.at(end)))
            ++end;
        result.remove(begin, end - begin);
        i = begin;
    }
    return result.trimmed();
}

// Whether a date format writes day, month and year as numbers only: no month or day names
// ("MMM", "ddd"), no other pattern letters. Quoted literal text is allowed.
bool isNumericDate(const QString &format)
{
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || !c.isLetter())
            continue;
        if (c != QLatin1Char('d') && c != QLatin1Char('M') && c != QLatin1Char('y'))
            return false;
        qsizetype run = 1;
        while (i + 1 < format.size() && format.at(i + 1) == c) {
            ++run;
            ++i;
        }
        if (c != QLatin1Char('y') && run > 2)
            return false;
    }
    return true;
}

} // namespace

DateTimeFormats DateTimeFormats::fromSystem()
{
    DateTimeFormats formats;
    formats.locale = QLocale();
    const QString shortDate = formats.locale.dateFormat(QLocale::ShortFormat);
    if (isNumericDate(shortDate))
        formats.shortDate = shortDate;
    formats.timeWithSeconds = withoutTimeZone(formats.locale.timeFormat(QLocale::LongFormat));
    return formats;
}
