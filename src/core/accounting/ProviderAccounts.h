#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include "accounting/CallAccounting.h"
#include "accounting/ProviderConnection.h"
#include "values/DateTimeFormats.h"

class Clock;
class GeneralOptions;
class HolidayCalendar;
class Prompter;
class ProviderProfile;
class ReportArchives;
class SettingsStore;

// Loads a provider's counters and settings, closes finished days and months into the
// archives, and stores the counters again. The figures always belong to the provider
// loaded last, and are only ever stored under that provider's name.
class ProviderAccounts
{
public:
    ProviderAccounts(SettingsStore &store, Prompter &prompter, const Clock &clock, HolidayCalendar &holidays,
                     const ReportArchives &archives, CallAccounting &accounting, const GeneralOptions &options,
                     ProviderProfile &profile, DateTimeFormats formats = DateTimeFormats::fromSystem());

    // Stores the counters of the provider loaded before (nothing counted is lost: when
    // that fails they are kept in memory), then loads this one: settings, today's tariff,
    // counters; a finished day or month is archived and its counters restart.
    void LoadProvider(const QString &provider);

    // When a failed save is told to the user; at exit it is told always, as a loss.
    enum class Tell { Now, Later, AtExit };
    // Stores the loaded provider's counters as one transaction, after any counters whose
    // save failed before. A failure keeps them in memory for the next try and is told
    // once (Tell::Later: by tellSaveFailure) until a save succeeds again. Does nothing
    // (and returns false) when no provider is loaded.
    bool SaveCounters(Tell tell = Tell::Now);
    bool hasUnsavedCounters() const { return m_currentUnsaved || !m_unsaved.isEmpty(); }
    void tellSaveFailure();

    // Archives the day and the month that are over on this date and restarts their
    // counters (also used when the date changes while the program runs). A period whose
    // record cannot be written keeps its counters and their date, and is tried again at
    // the next load (or the next date).
    void CloseFinishedPeriods(const QDate &today);
    bool hasPeriodsToClose(const QDate &today) const
    {
        return m_loaded && m_countersDate != today && m_closeFailedOn != today;
    }

    // Start and end time of the last call, stored with the counters.
    void setLastCallTimes(const QTime &start, const QTime &end);

    // The provider's settings were moved to a new name: its figures, stored or not yet,
    // belong to that name from now on.
    void providerRenamed(const QString &from, const QString &to);
    bool isLoaded() const { return m_loaded; }
    // What the live provider settings hold now (Configure may change them).
    ProviderConnection connection() const;
    QDate countersDate() const { return m_countersDate; }

private:
    // The counters of one provider as they are stored.
    struct Counters
    {
        QString provider;
        QString login;
        AccountingFigures figures;
        QDate date;
        QTime lastStart;
        QTime lastEnd;
    };
    Counters current() const;
    bool store(const Counters &counters);
    void adoptUndatedCounters(const QString &storedDate, const QDate &today);
    bool storeResetPeriods(bool day, bool month, bool date);

    SettingsStore &m_store;
    Prompter &m_prompter;
    const Clock &m_clock;
    HolidayCalendar &m_holidays;
    const ReportArchives &m_archives;
    CallAccounting &m_accounting;
    const GeneralOptions &m_options;
    ProviderProfile &m_profile;
    DateTimeFormats m_formats;

    bool m_loaded = false;
    QString m_provider;
    QDate m_countersDate; // the day the today counter belongs to
    QTime m_lastStart;
    QTime m_lastEnd;
    QDate m_closeFailedOn; // an archive write failed when closing on this date

    bool m_currentUnsaved = false; // the loaded provider's last save failed
    QList<Counters> m_unsaved;     // providers loaded before whose save failed
    QString m_failedProvider;
    QString m_failure; // why the last save failed; empty once one succeeds
    bool m_failureTold = false;
};
