#pragma once

#include <QDate>
#include <QString>

// The small text helpers shared by the accounting, the reports and the graphs.

struct TimeParts
{
    QString hours;
    QString minutes;
    QString seconds;
};

// Splits "h:m:s" at its first two colons; without two colons every part is "0".
TimeParts SplitTimeText(const QString &text);

// Whole minutes of an "h:m:s" text, a half minute going to the even neighbour
// (0:0:30 is 0, 0:1:30 is 2). Parts that are not numbers count as 0; a result beyond the
// int range stops at its largest value.
int TimeTextToMinutes(const QString &text);

// The month of a date as stored in the month archive: "3/2024".
QString MonthKey(const QDate &date);

// The text before the first NUL; the whole text when there is none.
QString TextBeforeNull(const QString &text);

// TodayDate is stored "d/m/yy"; the two-digit year is read in the 2000s. "0" and any text
// that is no date give an invalid QDate (which differs from every real day).
QDate ParseTodayDate(const QString &text);
QString FormatTodayDate(const QDate &date);
