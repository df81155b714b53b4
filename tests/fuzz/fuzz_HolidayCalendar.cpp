// Holiday.hl on any bytes: every holiday read is a holiday, its date formats and parses back,
// and the calendar saved and loaded again holds the same holidays.
#include <QDate>

#include "FuzzSupport.h"
#include "accounting/HolidayCalendar.h"
#include "reports/RecordFile.h"

namespace {

bool Same(const QList<Holiday> &a, const QList<Holiday> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Holiday &x, const Holiday &y) { return x.dateText == y.dateText && x.name == y.name; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HolidayCalendar calendar(Fuzz::WriteScratch(QStringLiteral("Holiday.hl"), QByteArrayView(data, size)));
    Fuzz::Check(calendar.LoadHolidays(), "a readable calendar loads");
    const QList<Holiday> &holidays = calendar.holidays();
    Fuzz::Check(calendar.count() == holidays.size() + 1, "the count is one more than the holidays");

    QList<Holiday> quoted;
    for (const Holiday &holiday : holidays) {
        Fuzz::Check(!holiday.dateText.isEmpty() || !holiday.name.isEmpty(), "blank records are skipped");
        const QDate date = HolidayCalendar::parseDate(holiday.dateText);
        if (date.isValid()) {
            Fuzz::Check(calendar.isHoliday(date), "a holiday's date is a holiday");
            Fuzz::Check(HolidayCalendar::parseDate(HolidayCalendar::formatDate(date)) == date,
                        "a holiday's date formats and parses back");
        }
        quoted.append({RecordFile::QuoteField(holiday.dateText), RecordFile::QuoteField(holiday.name)});
    }
    Fuzz::Check(!calendar.isHoliday(QDate()), "an invalid date is never a holiday");
    if (holidays.isEmpty())
        return 0; // saving no rows leaves the file as it is

    HolidayCalendar copy(Fuzz::ScratchPath(QStringLiteral("Holiday-copy.hl")));
    Fuzz::Check(copy.SaveHolidays(holidays), "the calendar saves");
    Fuzz::Check(Same(copy.holidays(), quoted), "the saved holidays are those read (but for double quotes)");
    Fuzz::Check(copy.LoadHolidays() && Same(copy.holidays(), quoted), "the saved calendar reads back the same");
    return 0;
}
