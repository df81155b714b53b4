#include "reports/CallRecorder.h"

#include "platform/Prompter.h"
#include "reports/ConnectionLog.h"
#include "reports/ReportArchives.h"

CallRecorder::CallRecorder(const SettingsStore &store, Prompter &prompter, DataLocations locations,
                           const ReportArchives &archives, DateTimeFormats formats)
    : m_store(store), m_prompter(prompter), m_locations(std::move(locations)), m_archives(archives),
      m_formats(std::move(formats))
{
}

bool CallRecorder::WriteConnectionLog(const CallRecord &call, bool keepLog)
{
    if (!keepLog)
        return true;
    const WriteOutcome outcome = ConnectionLog::Write(m_locations, call, LogOptions::read(m_store), m_formats);
    if (!outcome.ok) {
        m_prompter.fail(outcome.error);
        return false;
    }
    m_prompter.tell(QStringLiteral("Log Saved!"));
    return true;
}

bool CallRecorder::WriteReportRecord(const CallRecord &call, bool keepReport)
{
    if (!keepReport)
        return true;
    const WriteOutcome outcome = m_archives.WriteReportRecord(call);
    if (!outcome.ok) {
        m_prompter.fail(outcome.error);
        return false;
    }
    return true;
}

bool CallRecorder::recordCall(const CallRecord &call, bool keepLog, bool keepReport, bool countersSaved)
{
    WriteOutcome log{true, QString(), QString()};
    if (keepLog)
        log = ConnectionLog::Write(m_locations, call, LogOptions::read(m_store), m_formats);
    WriteOutcome report{true, QString(), QString()};
    if (keepReport)
        report = m_archives.WriteReportRecord(call);
    if (!log.ok)
        m_prompter.fail(log.error);
    if (!report.ok)
        m_prompter.fail(report.error);
    if (keepLog && log.ok && countersSaved)
        m_prompter.tell(QStringLiteral("Log Saved!"));
    return log.ok && report.ok;
}
