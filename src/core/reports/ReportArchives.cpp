#include "reports/ReportArchives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/DataLocations.h"
#include "platform/TextFiles.h"
#include "reports/RecordFile.h"

namespace {

// A write cut short (full disk, power loss) leaves a last line without its end; the next
// record must not be glued onto it, or both would be read as one damaged record.
bool endsWithLineEnd(const QString &path)
{
    QFile file(path);
    if (!TextFiles::OpenRegular(file, QIODevice::ReadOnly) || file.size() == 0)
        return true;
    char last = 0;
    return !file.seek(file.size() - 1) || !file.getChar(&last) || last == '\n';
}

QString describe(const QString &fileName)
{
    if (fileName == ReportArchives::dayFileName())
        return QStringLiteral("The day archive");
    if (fileName == ReportArchives::monthFileName())
        return QStringLiteral("The month archive");
    return QStringLiteral("The call report");
}

} // namespace

ReportArchives::ReportArchives(DataLocations locations, DateTimeFormats formats)
    : m_locations(std::move(locations)), m_formats(std::move(formats))
{
}

QString ReportArchives::path(const QString &fileName) const
{
    return m_locations.logsDir() + QLatin1Char('/') + fileName;
}

WriteOutcome ReportArchives::WriteReportRecord(const CallRecord &call) const
{
    return append(reportFileName(), {
                                        call.provider,
                                        call.callsNumber,
                                        m_formats.date(call.startDate),
                                        m_formats.time(call.startTime),
                                        m_formats.time(call.endTime),
                                        call.duration,
                                        call.currencySymbol + call.callCost,
                                        call.todayTime,
                                        call.monthTime,
                                        call.totalTime,
                                        call.currencySymbol + call.totalCost,
                                    });
}

WriteOutcome ReportArchives::WriteDayArchive(const QString &provider, const QDate &day, const QString &dayTime,
                                             const QString &payment, const QString &currencySymbol) const
{
    return append(dayFileName(), {provider, m_formats.date(day), dayTime, currencySymbol + payment});
}

WriteOutcome ReportArchives::WriteMonthArchive(const QString &provider, const QString &monthKey,
                                               const QString &monthTime, const QString &payment,
                                               const QString &currencySymbol) const
{
    return append(monthFileName(), {provider, monthKey, monthTime, currencySymbol + payment});
}

WriteOutcome ReportArchives::append(const QString &fileName, const QStringList &fields) const
{
    WriteOutcome outcome;
    outcome.path = path(fileName);
    QString record = RecordFile::FormatRecord(fields);
    QString reason;
    bool written = EnsurePrivateFolder(m_locations.logsDir(), &reason);
    if (written) {
        if (!endsWithLineEnd(outcome.path))
            record.prepend(TextFiles::kLineEnd);
        written = TextFiles::Append(outcome.path, record, &reason);
    }
    if (!written) {
        outcome.error = QStringLiteral("%1 could not be written to %2: %3.")
                            .arg(describe(fileName), QDir::toNativeSeparators(outcome.path), reason);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
