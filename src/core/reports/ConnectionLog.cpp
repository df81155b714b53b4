#include "reports/ConnectionLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/DataLocations.h"
#include "platform/TextFiles.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

LogOptions LogOptions::read(const SettingsStore &store)
{
    const QString section = SettingsLayout::LogSettings();
    LogOptions options;
    options.sharedFile = store.GetFlag(section, QLatin1String(SettingsLayout::Key::SharedLog), QStringLiteral("1"));
    options.perProviderFile =
        store.GetFlag(section, QLatin1String(SettingsLayout::Key::PerProviderLog), QStringLiteral("0"));
    for (std::size_t i = 0; i < options.items.size(); ++i)
        options.items[i] = store.GetFlag(section, QString::number(i + 1), QStringLiteral("0"));
    return options;
}

namespace ConnectionLog {

namespace {

const QString kRule(87, QLatin1Char('_'));

} // namespace

QString BuildEntry(const CallRecord &call, const LogOptions &options, const DateTimeFormats &formats)
{
    struct Item
    {
        int number;
        int line;
        QString label;
        QString value;
    };
    // In the order the items are written: the current payment closes line 1 and the tariff
    // name comes after the total payment on line 3.
    const Item items[] = {
        {1, 0, QStringLiteral("  Provider: "), call.provider},
        {2, 0, QStringLiteral(" Started: "),
         formats.date(call.startDate) + QStringLiteral("  ") + formats.time(call.startTime)},
        {3, 0, QStringLiteral(" Ended: "), formats.time(call.endTime)},
        {4, 1, QStringLiteral("  Duration: "), call.duration},
        {5, 1, QStringLiteral("  Today: "), call.todayTime},
        {6, 1, QStringLiteral("  This month: "), call.monthTime},
        {7, 2, QStringLiteral("  Total Time: "), call.totalTime},
        {8, 2, QStringLiteral("  Number of calls: "), call.callsNumber},
        {9, 2, QStringLiteral("  Total Payment: "), call.currencySymbol + call.totalCost},
        {11, 2, QStringLiteral(" Tariff Name: "), call.tariffName},
        {10, 0, QStringLiteral("  Current Payment: "), call.currencySymbol + call.callCost},
    };
    QString lines[3];
    for (const Item &item : items) {
        if (options.items[std::size_t(item.number - 1)])
            lines[item.line] += item.label + item.value;
    }
    const QString &end = TextFiles::kLineEnd;
    return QLatin1Char('"') + kRule + end + lines[0] + end + lines[1] + end + lines[2] + end + kRule +
           QLatin1Char('"') + end;
}

QString FilePath(const DataLocations &locations, const QString &provider, const LogOptions &options)
{
    if (options.perProviderFile)
        return locations.logFile(provider, QStringLiteral(".log"));
    return locations.logsDir() + QStringLiteral("/Connections.log");
}

WriteOutcome Write(const DataLocations &locations, const CallRecord &call, const LogOptions &options,
                   const DateTimeFormats &formats)
{
    WriteOutcome outcome;
    outcome.path = FilePath(locations, call.provider, options);
    QString reason;
    if (!EnsurePrivateFolder(locations.logsDir(), &reason) ||
        !TextFiles::Append(outcome.path, BuildEntry(call, options, formats), &reason)) {
        outcome.error = QStringLiteral("The connection log could not be written to %1: %2.")
                            .arg(QDir::toNativeSeparators(outcome.path), reason);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace ConnectionLog
