#include "reports/DateTimeFormats.h"

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

} // namespace

DateTimeFormats DateTimeFormats::fromSystem()
{
    DateTimeFormats formats;
    formats.locale = QLocale::system();
    formats.shortDate = formats.locale.dateFormat(QLocale::ShortFormat);
    formats.timeWithSeconds = withoutTimeZone(formats.locale.timeFormat(QLocale::LongFormat));
    return formats;
}
