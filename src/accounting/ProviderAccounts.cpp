#include "accounting/ProviderAccounts.h"

#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/TariffSelection.h"
#include "accounting/TimeText.h"
#include "mainwindow/MainState.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ReportArchives.h"
#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"

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
                                   CallAccounting &accounting, MainState &state, ProviderProfile &profile,
                                   DateTimeFormats formats)
    : m_store(store), m_prompter(prompter), m_clock(clock), m_holidays(holidays), m_archives(archives),
      m_accounting(accounting), m_state(state), m_profile(profile), m_formats(std::move(formats))
{
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
    if (m_loaded)
        SaveCounters();
    // Loaded only once its figures are in place: a timer that runs while a message of the
    // load is open must neither close a day nor store the figures held before.
    m_loaded = false;

    // The provider's settings, as its settings dialog would show them; the password the
    // dialer sends is the stored one, or none when it is not saved.
    m_profile.load(m_store, provider);
    const QString section = SettingsLayout::Provider(provider);
    m_profile.setCurrentPassword(
        m_store.GetSetting(section, QStringLiteral("SavePass"), kZero).trimmed().toInt() == 1
            ? DecryptPassword(m_store.GetSettingBytes(section, QStringLiteral("Password")), kPasswordKey)
            : QByteArray());
    m_provider = provider;
    m_lastStart = QTime();
    m_lastEnd = QTime();

    auto stored = [&](const char *key) { return m_store.GetSetting(section, QLatin1String(key), kZero); };

    AccountingFigures figures;
    figures.total = TimeCounter::fromText(stored("TotTime"));
    figures.today = TimeCounter::fromText(stored("TodayTime"));
    figures.month = TimeCounter::fromText(stored("MonthTime"));
    bool callsOk = false;
    figures.calls = std::max(0, stored("Calls").trimmed().toInt(&callsOk));
    figures.totalPayment = Money::parseOrZero(stored("Payment")).hundredthsToUnits();
    figures.monthPayment = Money::parseOrZero(stored("Month Payment")).hundredthsToUnits();
    figures.dayPayment = Money::parseOrZero(stored("Day Payment")).hundredthsToUnits();
    m_countersDate = ParseTodayDate(stored("TodayDate"));

    const QDateTime now = m_clock.now();
    const LoadedTariff tariff = SelectTariff(m_store, m_holidays, m_prompter, provider, now.date());
    m_accounting.setTariff(tariff);
    ShowTariff(m_state, tariff, now.time());

    m_accounting.setFigures(figures);
    m_loaded = true;
    CloseFinishedPeriods(now.date());
}

void ProviderAccounts::CloseFinishedPeriods(const QDate &today)
{
    if (!m_loaded || m_countersDate == today)
        return;
    AccountingFigures figures = m_accounting.figures();
    const ProviderConnection provider = connection();
    const QString symbol = m_state.text(MainState::Field::Sym);
    const bool monthOver = !m_countersDate.isValid() || m_countersDate.month() != today.month() ||
                           m_countersDate.year() != today.year();

    if (provider.keepReport && m_countersDate.isValid() && hasFigures(figures.today, figures.dayPayment)) {
        const WriteOutcome outcome = m_archives.WriteDayArchive(provider.name, m_countersDate, figures.today.plainText(),
                                                                figures.dayPayment.toFixed(), symbol);
        if (!outcome.ok)
            reportArchiveFailure(outcome.error);
    }
    figures.today = TimeCounter();
    figures.dayPayment = Money();

    if (monthOver) {
        if (provider.keepReport && m_countersDate.isValid() && hasFigures(figures.month, figures.monthPayment)) {
            const WriteOutcome outcome = m_archives.WriteMonthArchive(
                provider.name, MonthKey(m_countersDate), figures.month.plainText(), figures.monthPayment.toFixed(), symbol);
            if (!outcome.ok)
                reportArchiveFailure(outcome.error);
        }
        figures.month = TimeCounter();
        figures.monthPayment = Money();
    }

    m_countersDate = today;
    m_accounting.setFigures(figures);
    // Store the restart at once, so the closed period is never archived twice.
    storeResetPeriods(monthOver);
}

void ProviderAccounts::storeResetPeriods(bool month)
{
    const QString section = SettingsLayout::Provider(m_provider);
    SettingsStore::Batch batch(m_store);
    m_store.SaveSetting(section, QStringLiteral("TodayDate"), FormatTodayDate(m_countersDate));
    m_store.SaveSetting(section, QStringLiteral("TodayTime"), kZero);
    m_store.SaveSetting(section, QStringLiteral("Day Payment"), kZero);
    if (month) {
        m_store.SaveSetting(section, QStringLiteral("MonthTime"), kZero);
        m_store.SaveSetting(section, QStringLiteral("Month Payment"), kZero);
    }
    batch.commit();
}

void ProviderAccounts::reportArchiveFailure(const QString &error)
{
    m_prompter.fail(error);
}

void ProviderAccounts::setLastCallTimes(const QTime &start, const QTime &end)
{
    m_lastStart = start;
    m_lastEnd = end;
}

bool ProviderAccounts::SaveCounters()
{
    if (!m_loaded)
        return false;
    const AccountingFigures &figures = m_accounting.figures();
    const QString section = SettingsLayout::Provider(m_provider);
    SettingsStore::Batch batch(m_store);
    m_store.SaveSetting(section, QStringLiteral("Name"), m_provider);
    m_store.SaveSetting(section, QStringLiteral("Login"), m_profile.text(ProviderProfile::Text::LoginName));
    m_store.SaveSetting(section, QStringLiteral("TotTime"), figures.total.paddedText());
    m_store.SaveSetting(section, QStringLiteral("Calls"), QString::number(figures.calls));
    // Only a call that happened replaces the stored times of the last call.
    if (m_lastStart.isValid())
        m_store.SaveSetting(section, QStringLiteral("StartTime"), m_formats.time(m_lastStart));
    if (m_lastEnd.isValid())
        m_store.SaveSetting(section, QStringLiteral("EndTime"), m_formats.time(m_lastEnd));
    m_store.SaveSetting(section, QStringLiteral("TodayDate"), FormatTodayDate(m_countersDate));
    m_store.SaveSetting(section, QStringLiteral("TodayTime"), storedTime(figures.today));
    m_store.SaveSetting(section, QStringLiteral("MonthTime"), storedTime(figures.month));
    m_store.SaveSetting(section, QStringLiteral("Payment"), figures.totalPayment.unitsToHundredths().toPlain());
    m_store.SaveSetting(section, QStringLiteral("Month Payment"), figures.monthPayment.unitsToHundredths().toPlain());
    m_store.SaveSetting(section, QStringLiteral("Day Payment"), figures.dayPayment.unitsToHundredths().toPlain());
    return batch.commit();
}
