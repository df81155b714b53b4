#include "accounting/ProviderAccounts.h"

#include <algorithm>

#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/TariffSelection.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ReportArchives.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "values/TimeText.h"

namespace {

const QString kZero = QStringLiteral("0");

// A period without time online is stored as "0", as a fresh provider has it.
QString storedTime(const TimeCounter &counter)
{
    return counter == TimeCounter() ? kZero : counter.plainText();
}

bool hasFigures(const TimeCounter &counter, const Money &payment)
{
    return !(counter == TimeCounter()) || payment != Money();
}

} // namespace

ProviderAccounts::ProviderAccounts(SettingsStore &store, Prompter &prompter, const Clock &clock,
                                   HolidayCalendar &holidays, const ReportArchives &archives,
                                   CallAccounting &accounting, const GeneralOptions &options, ProviderProfile &profile,
                                   DateTimeFormats formats)
    : m_store(store), m_prompter(prompter), m_clock(clock), m_holidays(holidays), m_archives(archives),
      m_accounting(accounting), m_options(options), m_profile(profile), m_formats(std::move(formats))
{
}

void ProviderAccounts::providerRenamed(const QString &from, const QString &to)
{
    if (m_loaded && m_provider == from)
        m_provider = to;
    if (m_failedProvider == from)
        m_failedProvider = to;
    for (Counters &counters : m_unsaved) {
        if (counters.provider == from)
            counters.provider = to;
    }
}

ProviderConnection ProviderAccounts::connection() const
{
    ProviderConnection connection;
    if (!m_loaded)
        return connection;
    connection.name = m_provider;
    connection.login = m_profile.text(ProviderProfile::Text::LoginName);
    connection.password = m_profile.currentPassword();
    connection.phone = m_profile.currentPhoneNumber();
    connection.redial = m_profile.isChecked(ProviderProfile::Check::Redial);
    connection.keepLog = m_profile.isChecked(ProviderProfile::Check::Log);
    connection.keepReport = m_profile.isChecked(ProviderProfile::Check::Report);
    return connection;
}

void ProviderAccounts::LoadProvider(const QString &provider)
{
    // Counters that cannot be stored now stay in memory, for a later try and for the
    // next time that provider is loaded.
    if (m_loaded && !SaveCounters() && m_currentUnsaved)
        m_unsaved.append(current());
    m_currentUnsaved = false;
    m_closeFailedOn = QDate();
    // Loaded only once its figures are in place: a timer that runs while a message of the
    // load is open must neither close a day nor store the figures held before.
    m_loaded = false;

    // The provider's settings, as its settings dialog would show them; the password the
    // dialer sends is the stored one, or none when it is not saved (a password typed in
    // this session is forgotten when a provider is picked).
    m_profile.setCurrentPassword(QByteArray());
    m_profile.load(m_store, provider);
    const QString section = SettingsLayout::Provider(provider);
    m_provider = provider;
    m_lastStart = QTime();
    m_lastEnd = QTime();

    auto stored = [&](const char *key) { return m_store.GetSetting(section, QLatin1String(key), kZero); };

    AccountingFigures figures;
    figures.total = TimeCounter::fromText(stored("TotTime"));
    figures.today = TimeCounter::fromText(stored("TodayTime"));
    figures.month = TimeCounter::fromText(stored("MonthTime"));
    figures.calls = std::max(0, stored("Calls").trimmed().toInt());
    figures.totalPayment = Money::parseOrZero(stored("Payment")).hundredthsToUnits();
    figures.monthPayment = Money::parseOrZero(stored("Month Payment")).hundredthsToUnits();
    figures.dayPayment = Money::parseOrZero(stored("Day Payment")).hundredthsToUnits();
    m_countersDate = ParseTodayDate(stored("TodayDate"));
    // Counters kept in memory after a failed save are newer than the stored ones.
    const auto unsaved = std::find_if(m_unsaved.begin(), m_unsaved.end(), [&](const Counters &counters) {
        return counters.provider.compare(provider, Qt::CaseInsensitive) == 0;
    });
    if (unsaved != m_unsaved.end()) {
        figures = unsaved->figures;
        m_countersDate = unsaved->date;
        m_lastStart = unsaved->lastStart;
        m_lastEnd = unsaved->lastEnd;
        m_currentUnsaved = true;
        m_unsaved.erase(unsaved);
    }

    const QDateTime now = m_clock.now();
    const LoadedTariff tariff = SelectTariff(m_store, m_holidays, m_prompter, provider, now.date());
    m_accounting.setTariff(tariff);

    m_accounting.setFigures(figures);
    m_loaded = true;
    if (!m_countersDate.isValid())
        adoptUndatedCounters(stored("TodayDate"), now.date());
    CloseFinishedPeriods(now.date());
}

void ProviderAccounts::adoptUndatedCounters(const QString &storedDate, const QDate &today)
{
    // Without a date the day and month cannot be told; dropping their figures would lose
    // them, so they go on counting in today and this month.
    const AccountingFigures &figures = m_accounting.figures();
    if (!hasFigures(figures.today, figures.dayPayment) && !hasFigures(figures.month, figures.monthPayment))
        return;
    m_countersDate = today;
    if (!storeResetPeriods(false, false, true))
        m_currentUnsaved = true;
    m_prompter.tell(QStringLiteral("The counters of %1 were stored with \"%2\", which is no date. LineMinder "
                                   "keeps their day and month figures and counts them in today and this month.")
                        .arg(m_provider, storedDate),
                    Prompt::Icon::Exclamation);
}

void ProviderAccounts::CloseFinishedPeriods(const QDate &today)
{
    if (!hasPeriodsToClose(today))
        return;
    m_accounting.BookCallCostSoFar();
    AccountingFigures figures = m_accounting.figures();
    const ProviderConnection provider = connection();
    const QString symbol = m_options.currencySymbol();
    const bool monthOver =
        !m_countersDate.isValid() || m_countersDate.month() != today.month() || m_countersDate.year() != today.year();
    const bool archive = provider.keepReport && m_countersDate.isValid();

    // A period restarts only once its record is written; the next period is not closed
    // after a failure, so a kept date never archives a period twice.
    WriteOutcome outcome{true, QString(), QString()};
    if (archive && hasFigures(figures.today, figures.dayPayment))
        outcome = m_archives.WriteDayArchive(provider.name, m_countersDate, figures.today.plainText(),
                                             figures.dayPayment.toFixed(), symbol);
    const bool dayClosed = outcome.ok;
    if (dayClosed) {
        figures.today = TimeCounter();
        figures.dayPayment = Money();
    }
    if (dayClosed && monthOver && archive && hasFigures(figures.month, figures.monthPayment))
        outcome = m_archives.WriteMonthArchive(provider.name, MonthKey(m_countersDate), figures.month.plainText(),
                                               figures.monthPayment.toFixed(), symbol);
    const bool monthClosed = dayClosed && monthOver && outcome.ok;
    if (monthClosed) {
        figures.month = TimeCounter();
        figures.monthPayment = Money();
    }

    m_accounting.setFigures(figures);
    if (outcome.ok)
        m_countersDate = today;
    else
        m_closeFailedOn = today;
    // Store the restart at once, so the closed period is never archived twice.
    if (!storeResetPeriods(dayClosed, monthClosed, outcome.ok))
        m_currentUnsaved = true; // the next save stores the restart with the counters
    if (!outcome.ok)
        m_prompter.fail(QStringLiteral("%1 LineMinder keeps the counters of %2 for %3 and archives them again "
                                       "the next time %2 is loaded.")
                            .arg(outcome.error, provider.name, m_formats.date(m_countersDate)));
}

bool ProviderAccounts::storeResetPeriods(bool day, bool month, bool date)
{
    if (!day && !month && !date)
        return true;
    const QString section = SettingsLayout::Provider(m_provider);
    SettingsStore::Batch batch(m_store);
    if (date)
        m_store.SaveSetting(section, QStringLiteral("TodayDate"), FormatTodayDate(m_countersDate));
    if (day) {
        m_store.SaveSetting(section, QStringLiteral("TodayTime"), kZero);
        m_store.SaveSetting(section, QStringLiteral("Day Payment"), kZero);
    }
    if (month) {
        m_store.SaveSetting(section, QStringLiteral("MonthTime"), kZero);
        m_store.SaveSetting(section, QStringLiteral("Month Payment"), kZero);
    }
    return batch.commit();
}

void ProviderAccounts::setLastCallTimes(const QTime &start, const QTime &end)
{
    m_lastStart = start;
    m_lastEnd = end;
}

ProviderAccounts::Counters ProviderAccounts::current() const
{
    return {m_provider,
            m_profile.text(ProviderProfile::Text::LoginName),
            m_accounting.figures(),
            m_countersDate,
            m_lastStart,
            m_lastEnd};
}

bool ProviderAccounts::SaveCounters(Tell tell)
{
    if (!m_loaded)
        return false;
    // One failure ends the round: the others would only wait for the same lock.
    bool ok = store(current());
    m_currentUnsaved = !ok;
    if (!ok)
        m_failedProvider = m_provider;
    while (ok && !m_unsaved.isEmpty()) {
        ok = store(m_unsaved.first());
        if (ok)
            m_unsaved.removeFirst();
        else
            m_failedProvider = m_unsaved.first().provider;
    }
    if (ok) {
        m_failure.clear();
        m_failureTold = false;
        return true;
    }
    m_failure = m_store.error();
    if (tell == Tell::AtExit)
        m_prompter.fail(QStringLiteral("LineMinder could not save the counters of %1: %2. What was counted since "
                                       "their last save is lost.")
                            .arg(m_failedProvider, m_failure));
    else if (tell == Tell::Now)
        tellSaveFailure();
    return false;
}

void ProviderAccounts::tellSaveFailure()
{
    if (m_failure.isEmpty() || m_failureTold)
        return;
    m_failureTold = true;
    m_prompter.fail(QStringLiteral("LineMinder could not save the counters of %1: %2. They are kept and saved "
                                   "again at the next chance.")
                        .arg(m_failedProvider, m_failure));
}

bool ProviderAccounts::store(const Counters &counters)
{
    const AccountingFigures &figures = counters.figures;
    const QString section = SettingsLayout::Provider(counters.provider);
    SettingsStore::Batch batch(m_store);
    m_store.SaveSetting(section, QStringLiteral("Name"), counters.provider);
    m_store.SaveSetting(section, QLatin1String(SettingsLayout::Key::Login), counters.login);
    m_store.SaveSetting(section, QStringLiteral("TotTime"), figures.total.paddedText());
    m_store.SaveSetting(section, QStringLiteral("Calls"), QString::number(figures.calls));
    // Only a call that happened replaces the stored times of the last call.
    if (counters.lastStart.isValid())
        m_store.SaveSetting(section, QStringLiteral("StartTime"), m_formats.time(counters.lastStart));
    if (counters.lastEnd.isValid())
        m_store.SaveSetting(section, QStringLiteral("EndTime"), m_formats.time(counters.lastEnd));
    m_store.SaveSetting(section, QStringLiteral("TodayDate"), FormatTodayDate(counters.date));
    m_store.SaveSetting(section, QStringLiteral("TodayTime"), storedTime(figures.today));
    m_store.SaveSetting(section, QStringLiteral("MonthTime"), storedTime(figures.month));
    m_store.SaveSetting(section, QStringLiteral("Payment"), figures.totalPayment.unitsToHundredths().toPlain());
    m_store.SaveSetting(section, QStringLiteral("Month Payment"), figures.monthPayment.unitsToHundredths().toPlain());
    m_store.SaveSetting(section, QStringLiteral("Day Payment"), figures.dayPayment.unitsToHundredths().toPlain());
    return batch.commit();
}
