#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The user's locale forms for dates and times written into the log and the archives:
// the short date format and the time format with seconds. Tests pass fixed patterns.
struct DateTimeFormats
{
    QString shortDate = QStringLiteral("d/M/yyyy");
    QString timeWithSeconds = QStringLiteral("HH:mm:ss");
    QLocale locale = QLocale::c();

    // From the system locale: its short date format and its long time format without
    // the time zone.
    static DateTimeFormats fromSystem();

    QString date(const QDate &date) const { return locale.toString(date, shortDate); }
    QString time(const QTime &time) const { return locale.toString(time, timeWithSeconds); }
};
