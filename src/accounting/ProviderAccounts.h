#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include "reports/DateTimeFormats.h"

class CallAccounting;
class Clock;
class HolidayCalendar;
class MainState;
class Prompter;
class ProviderProfile;
class ReportArchives;
class SettingsStore;

// What the dialer needs of the loaded provider.
struct ProviderConnection
{
    QString name;
    QString login;
    QByteArray password; // unscrambled; empty when not saved
    QString phone;
    bool redial = false;
    bool keepLog = false;
    bool keepReport = false;
};

// Loads a provider's counters and settings, closes finished days and months into the
// archives, and stores the counters again. The figures always belong to the provider
// loaded last, and are only ever stored under that provider's name.
class ProviderAccounts
{
public:
    ProviderAccounts(SettingsStore &store, Prompter &prompter, const Clock &clock, HolidayCalendar &holidays,
                     const ReportArchives &archives, CallAccounting &accounting, MainState &state,
                     ProviderProfile &profile, DateTimeFormats formats = DateTimeFormats::fromSystem());

    // Stores the counters of the provider loaded before (nothing counted is lost), then
    // loads this one: settings, today's tariff, counters; a finished day or month is
    // archived and its counters restart.
    void LoadProvider(const QString &provider);
    // Stores the loaded provider's counters as one transaction. Does nothing (and
    // returns false) when no provider is loaded.
    bool SaveCounters();

    // Archives the day and the month that are over on this date and restarts their
    // counters (also used when the date changes while the program runs).
    void CloseFinishedPeriods(const QDate &today);

    // Start and end time of the last call, stored with the counters.
    void setLastCallTimes(const QTime &start, const QTime &end);

    bool isLoaded() const { return m_loaded; }
    // What the live provider settings hold now (Configure may change them).
    ProviderConnection connection() const;
    QDate countersDate() const { return m_countersDate; }

private:
    void storeResetPeriods(bool month);
    void reportArchiveFailure(const QString &error);

    SettingsStore &m_store;
    Prompter &m_prompter;
    const Clock &m_clock;
    HolidayCalendar &m_holidays;
    const ReportArchives &m_archives;
    CallAccounting &m_accounting;
    MainState &m_state;
    ProviderProfile &m_profile;
    DateTimeFormats m_formats;

    bool m_loaded = false;
    QString m_provider;
    QDate m_countersDate; // the day the today counter belongs to
    QTime m_lastStart;
    QTime m_lastEnd;
};
