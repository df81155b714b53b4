#pragma once

#include "platform/DataLocations.h"
#include "reports/CallRecord.h"
#include "values/DateTimeFormats.h"

class Prompter;
class ReportArchives;
class SettingsStore;

// Writes a finished call into the connection log and the call report, each when the
// provider's options ask for it, and tells the user how it went.
class CallRecorder
{
public:
    CallRecorder(const SettingsStore &store, Prompter &prompter, DataLocations locations,
                 const ReportArchives &archives, DateTimeFormats formats);

    // "Log Saved!" only after the entry was really written; a failed write shows why,
    // with the critical icon. Returns whether everything asked for was written.
    bool WriteConnectionLog(const CallRecord &call, bool keepLog);
    bool WriteReportRecord(const CallRecord &call, bool keepReport);
    // Both, with every file written before any message is shown: a message left open
    // never holds back a record. "Log Saved!" is not claimed while the call's counters
    // could not be saved (the caller tells that failure).
    bool recordCall(const CallRecord &call, bool keepLog, bool keepReport, bool countersSaved = true);

private:
    const SettingsStore &m_store;
    Prompter &m_prompter;
    DataLocations m_locations;
    const ReportArchives &m_archives;
    DateTimeFormats m_formats;
};
