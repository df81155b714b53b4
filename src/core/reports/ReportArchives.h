#pragma once

#include <QDate>
#include <QString>

#include "platform/DataLocations.h"
#include "reports/CallRecord.h"
#include "reports/ConnectionLog.h"
#include "values/DateTimeFormats.h"

// The three report tables in Logs/: Report.ini (one record per call, 11 fields),
// DayArchive.ini and MonthArchive.ini (one record per provider and closed day or month,
// 4 fields). The writers append one record each (creating Logs/ and the file when
// missing); they do not check KeepReport: the caller does.
class ReportArchives
{
public:
    ReportArchives(DataLocations locations, DateTimeFormats formats);

    static QString reportFileName() { return QStringLiteral("Report.ini"); }
    static QString dayFileName() { return QStringLiteral("DayArchive.ini"); }
    static QString monthFileName() { return QStringLiteral("MonthArchive.ini"); }
    QString path(const QString &fileName) const;

    WriteOutcome WriteReportRecord(const CallRecord &call) const;
    // payment: the day's or month's payment text ("0.0000"), without the symbol.
    WriteOutcome WriteDayArchive(const QString &provider, const QDate &day, const QString &dayTime,
                                 const QString &payment, const QString &currencySymbol) const;
    WriteOutcome WriteMonthArchive(const QString &provider, const QString &monthKey, const QString &monthTime,
                                   const QString &payment, const QString &currencySymbol) const;

private:
    WriteOutcome append(const QString &fileName, const QStringList &fields) const;

    DataLocations m_locations;
    DateTimeFormats m_formats;
};
