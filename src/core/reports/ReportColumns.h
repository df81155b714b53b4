#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "reports/ReportStyle.h"
#include "values/DateTimeFormats.h"

// What the three report tables hold: their files, their column headers and how each
// column's texts are ordered when the table is sorted by it.
namespace ReportColumns {

QString FileName(ReportStyle style);
// The record's fields in the file: 11 for calls, 4 for days and months.
int FieldCount(ReportStyle style);
// Row 0 of the table; the daily and monthly tables begin with the mark column "Select".
QStringList Headers(ReportStyle style);
// The column that shows field 0: 0, or 1 behind the mark column.
int FirstFieldColumn(ReportStyle style);

// How a column's texts compare. A text the column's form does not fit is ordered as text.
enum class Order {
    Text,
    Number,
    Date,      // the locale's short date
    ClockTime, // the locale's time of day with seconds
    Duration,  // "h:m:s" (or a bare number of seconds such as "0")
    Money,     // an amount with the currency symbol before or after it
    MonthDate, // "3/2001"
};
Order FieldOrder(ReportStyle style, int field);

// A cell's place in its column's order: every value that fits the column's form before
// every text, values by their number, texts by their rank among the column's texts.
struct SortKey
{
    bool isText = false;
    double value = 0;

    friend bool operator<(const SortKey &a, const SortKey &b)
    {
        return a.isText != b.isText ? b.isText : a.value < b.value;
    }
};

// Reads numeric day, month and year fields in the order the short date format gives
// them; QDate::fromString would cost a microsecond a cell on a million rows.
class DateReader
{
public:
    explicit DateReader(const QString &shortDateFormat);
    // year * 10000 + month * 100 + day, or nothing when the text is not such a date.
    std::optional<double> read(QByteArrayView text) const;

private:
    int m_dayAt = 0, m_monthAt = 1, m_yearAt = 2; // positions among the three numbers
    bool m_usable = false;
};

// The value of a text of the given form, or nothing when it does not fit the form (then
// it sorts as text).
std::optional<double> ReadValue(Order order, QByteArrayView text, const DateReader &dates);

} // namespace ReportColumns
