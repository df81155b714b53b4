#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The forms of the texts the program writes into the log, the archives and its windows.
// Dates and times follow the user's locale: its short date format when that is numeric
// (otherwise, as in the C locale's "14 Mar 2026", the numeric fallback below) and its time
// format with seconds. Amounts do not follow the locale: they are written with "." on every
// locale (Money::toFixed), so that archives and stored payments read back the same anywhere,
// and readers accept "." and ",". Tests pass fixed patterns.
struct DateTimeFormats
{
    QString shortDate = QStringLiteral("d/M/yyyy");
    QString timeWithSeconds = QStringLiteral("HH:mm:ss");
    QLocale locale = QLocale::c();

    // From the default locale (the system's unless the program set another): its short date
    // format and its long time format without the time zone.
    static DateTimeFormats fromSystem();

    QString date(const QDate &date) const { return locale.toString(date, shortDate); }
    QString time(const QTime &time) const { return locale.toString(time, timeWithSeconds); }
};
