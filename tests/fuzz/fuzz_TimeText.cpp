// Time texts (the stored counters, TodayDate) on any text: counters read back from both forms,
// minutes are never negative, and a date read formats and reads back.
#include <QDate>
#include <QString>

#include "FuzzSupport.h"
#include "values/TimeCounter.h"
#include "values/TimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const TimeCounter counter = TimeCounter::fromText(text);
    Fuzz::Check(TimeCounter::fromText(counter.plainText()) == counter, "a counter reads back from its plain form");
    Fuzz::Check(TimeCounter::fromText(counter.paddedText()) == counter, "a counter reads back from its padded form");
    Fuzz::Check(TimeTextToMinutes(text) >= 0, "minutes are never negative");

    const TimeParts parts = SplitTimeText(text);
    if (text.count(u':') >= 2)
        Fuzz::Check(parts.hours + u':' + parts.minutes + u':' + parts.seconds == text, "the parts make the text");

    Fuzz::Check(!TextBeforeNull(text).contains(QChar(0)), "the text before a NUL holds none");

    const QDate date = ParseTodayDate(text);
    if (date.isValid() && date.year() >= 2000 && date.year() <= 2099)
        Fuzz::Check(ParseTodayDate(FormatTodayDate(date)) == date, "a date of this century reads back");
    return 0;
}
