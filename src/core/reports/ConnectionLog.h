#pragma once

#include <QString>

#include <array>

#include "reports/CallRecord.h"
#include "values/DateTimeFormats.h"

class DataLocations;
class SettingsStore;

// Which file and which of the eleven items a log entry has ("General Settings\Log Settings").
struct LogOptions
{
    bool sharedFile = true;       // "1 Log": Logs/Connections.log
    bool perProviderFile = false; // "2 Log": Logs/<provider>.log (wins when both are set)
    std::array<bool, 11> items{}; // items 1..11 at index 0..10

    static LogOptions read(const SettingsStore &store);
};

struct WriteOutcome
{
    bool ok = false;
    QString path;
    QString error; // why the write failed, for the user
};

namespace ConnectionLog {

// The entry as it is appended: a double quote, 87 underscores, CR LF, line 1, CR LF,
// line 2, CR LF, line 3, CR LF, 87 underscores, a double quote, CR LF.
QString BuildEntry(const CallRecord &call, const LogOptions &options, const DateTimeFormats &formats);

// The file the entry goes to.
QString FilePath(const DataLocations &locations, const QString &provider, const LogOptions &options);

// Appends the entry (creating Logs/ and the file when missing). Does not check KeepLog
// and shows nothing: the caller does both.
WriteOutcome Write(const DataLocations &locations, const CallRecord &call, const LogOptions &options,
                   const DateTimeFormats &formats);

} // namespace ConnectionLog
