#include "composition/AppCore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "accounting/Tariff.h"
#include "accounting/TariffSelection.h"
#include "line/SimulatedLine.h"
#include "mail/MailSettingsCheck.h"
#include "platform/AutoStart.h"
#include "platform/Clock.h"
#include "platform/Logging.h"
#include "platform/ProgramLauncher.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "reports/ConnectionLog.h"
#include "settings/EntryName.h"
#include "settings/SettingsLayout.h"

AppCore::AppCore(DataLocations locations, std::unique_ptr<RemoteAccess> line, AppSeams seams, DateTimeFormats formats,
                 QObject *parent)
    : QObject(parent), m_locations(std::move(locations)), m_formats(std::move(formats)), m_seams(seams),
      m_store(m_locations.settingsDatabase()), m_line(std::move(line)), m_holidays(m_locations.holidayFile()),
      m_archives(m_locations, m_formats), m_recorder(m_store, m_seams.prompter, m_locations, m_archives, m_formats),
      m_accounts(m_store, m_seams.prompter, m_seams.clock, m_holidays, m_archives, m_accounting, m_options, m_profile,
                 m_formats),
      m_statistics(*m_line),
      m_alarms(m_profile, m_accounting, m_seams.scheduler, m_seams.sound, [this] { m_dialer.hangup(); }),
      m_engine(CallEngineParts{m_store, m_seams.clock, m_seams.scheduler, m_seams.prompter, *m_line, m_accounting,
                               m_accounts, m_profile, m_options, m_holidays, m_recorder, m_alarms, m_statistics,
                               m_seams.sound, m_seams.launcher}),
      m_dialer(*m_line, m_seams.prompter, m_seams.scheduler, m_engine.session(),
               [this] { return m_accounts.connection(); }),
      m_monitor(
          *m_line, m_seams.scheduler, [this] { return m_accounts.connection(); }, m_dialer, m_engine.session()),
      m_pop3(m_seams.clock), m_mail(MailCheckerParts{m_profile, m_seams.scheduler, m_seams.prompter, m_accounting,
                                                     m_seams.sound, m_seams.clock, m_pop3, m_formats})
{
    wire();
}

void AppCore::wire()
{
    m_presenter.observe(m_accounting);
    m_presenter.observe(m_statistics);
    m_presenter.observe(m_dialer);
    m_presenter.observe(m_alarms);
    m_presenter.observe(m_engine);
    m_presenter.observe(m_mail);
    // Timer1 shows the line's status first.
    connect(&m_engine, &CallEngine::ticked, this, [this] { m_presenter.showTick(m_monitor.GetNetStatus()); });

    // A provider change: a call still open is closed first, then the provider is loaded.
    connect(&m_dialer, &Dialer::redialCancelled, &m_monitor, &ConnectionMonitor::cancelRedial);
    connect(&m_dialer, &Dialer::providerChanging, &m_engine, &CallEngine::closeCallBeforeProviderChange);
    connect(&m_dialer, &Dialer::providerSelected, this,
            [this](const QString &provider) { m_accounts.LoadProvider(provider); });
    connect(&m_dialer, &Dialer::providerLoaded, &m_engine, &CallEngine::onProviderLoaded);
    connect(&m_dialer, &Dialer::providerLoaded, &m_mail, &MailChecker::onProviderLoaded);

    // A dial: the counters of the call restart, the engine waits for the line.
    connect(&m_dialer, &Dialer::connectRequested, &m_statistics, &AdapterStatistics::captureBaselines);
    connect(&m_dialer, &Dialer::connectRequested, &m_accounting, &CallAccounting::ResetCallCounter);
    connect(&m_dialer, &Dialer::connectDialed, &m_accounting, &CallAccounting::CountCall);
    connect(&m_dialer, &Dialer::dialingStarted, &m_engine, &CallEngine::onDialingStarted);
    connect(&m_dialer, &Dialer::attemptEnded, &m_engine, &CallEngine::onAttemptEnded);
    connect(&m_dialer, &Dialer::attemptEnded, &m_monitor, &ConnectionMonitor::cancelRedial);
    connect(&m_monitor, &ConnectionMonitor::redialScheduled, &m_engine, &CallEngine::onRedialScheduled);

    // A hang-up: counting, alarms and periodic mail checks stop; the counters are stored.
    connect(&m_dialer, &Dialer::lineDropped, &m_engine, &CallEngine::onLineDropped);
    connect(&m_dialer, &Dialer::lineDropped, &m_alarms, &AlarmMonitor::lineDropped);
    connect(&m_dialer, &Dialer::lineDropped, &m_mail, &MailChecker::stopPeriodicChecks);
    connect(&m_dialer, &Dialer::hungUp, this, [this] { m_accounts.SaveCounters(); });

    // The mailbox is checked while a call is up: first when it opens, never after it ends.
    connect(&m_engine, &CallEngine::callOpened, &m_mail, &MailChecker::onCallOpened);
    connect(&m_engine, &CallEngine::callClosed, &m_mail, &MailChecker::abort);
    connect(&m_dialer, &Dialer::hungUp, &m_mail, &MailChecker::abort);

    // What the window reacts to.
    connect(&m_dialer, &Dialer::newEntryWizardRequested, this, &AppCore::newEntryWizardRequested);
    connect(&m_monitor, &ConnectionMonitor::restoreWindowRequested, this, &AppCore::restoreWindowRequested);
    connect(&m_engine, &CallEngine::minimizeRequested, this, &AppCore::minimizeRequested);
    connect(&m_alarms, &AlarmMonitor::alarmRaised, this, &AppCore::alarmRaised);
    connect(&m_alarms, &AlarmMonitor::flashRequested, this, &AppCore::flashRequested);
    connect(&m_mail, &MailChecker::countRead, this, &AppCore::mailCountRead);
    connect(&m_mail, &MailChecker::notificationReady, this, &AppCore::mailNotificationReady);
    connect(&m_mail, &MailChecker::beepRequested, this, &AppCore::beepRequested);
    connect(&m_mail, &MailChecker::trayTipChanged, this, &AppCore::trayTipChanged);
    connect(&m_mail, &MailChecker::mailEnableCheckedChanged, this, &AppCore::mailCheckToggled);
}

AppCore::~AppCore()
{
    m_seams.scheduler.stopAll();
}

void AppCore::seedDemoTariff()
{
    // First start on the simulated line: give its demo providers a tariff, so a newcomer's
    // first call is priced. Nothing is touched once any tariff exists, and a provider the
    // user set up is never priced behind their back.
    if (!isSimulated() || !m_store.GetAllSettings(SettingsLayout::TariffNames()).isEmpty())
        return;
    const QString name = QStringLiteral("Demo Tariff");
    TariffFile::Record values;
    values.name = name;
    values.code = 0; // two intervals: 0.05 a minute from 08:00 to 20:00, 0.02 otherwise
    values.firstStart = QStringLiteral("08:00:00");
    values.firstEnd = QStringLiteral("20:00:00");
    values.thirdStart = QStringLiteral("00:00:00");
    values.firstCost = QStringLiteral("0.05");
    values.secondCost = QStringLiteral("0.02");
    values.thirdCost = QStringLiteral("0");
    const QDateTime now = m_seams.clock.now();
    SettingsStore::Batch batch(m_store);
    WriteTariff(m_store, values, m_formats.date(now.date()) + QLatin1Char(' ') + m_formats.time(now.time()));
    const QStringList entries = m_line->RasEnumEntries();
    for (const SimulatedLine::Entry &demo : SimulatedLine::demoEntries()) {
        if (!entries.contains(demo.name))
            continue;
        const QString assignment = SettingsLayout::TariffAssignment(demo.name);
        for (int dayClass = 1; dayClass <= 8; ++dayClass) {
            if (m_store.GetSetting(assignment, QString::number(dayClass)).isEmpty())
                m_store.SaveSetting(assignment, QString::number(dayClass), name);
        }
    }
    batch.commit();
}

void AppCore::start()
{
    seedDemoTariff();
    m_options.load(m_store);
    m_presenter.showStart(m_options.currencySymbol());
    m_dialer.FillProviderList();
    m_statistics.refresh(m_dialer.IsConnected());
    m_engine.start();
}

void AppCore::shutDown(const std::function<bool()> &askHangUp)
{
    m_seams.scheduler.stopAll();
    m_mail.abort();
    m_monitor.cancelRedial();
    if (m_engine.session().dialing && !m_dialer.IsConnected())
        m_dialer.hangup();
    if (m_dialer.IsConnected() && askHangUp())
        m_dialer.hangup();
    m_seams.scheduler.stopAll(); // hangup's check of the line is not waited for
    if (m_engine.session().CallActive)
        m_engine.closeOpenCall();
    m_accounts.SaveCounters(ProviderAccounts::Tell::AtExit);
    const RasHandle handle = m_line->RasEnumConnections();
    const RasStatus status = handle ? m_line->RasGetConnectStatus(handle) : RasStatus();
    m_presenter.showStatus(status.error == RasError::None || status.error == RasError::Pending
                               ? ConnectionMonitor::StateText(status.state, m_accounts.connection().phone)
                               : m_monitor.RasErrorText(status.error));
}

void AppCore::selectProvider(const QString &text)
{
    m_dialer.SelectProvider(text);
}

bool AppCore::toggleMailCheck()
{
    m_mail.mnuMailEnable_Click();
    return m_mail.mailEnableChecked();
}

std::unique_ptr<ProviderProfile> AppCore::editProviderSettings(bool reload)
{
    if (!m_accounts.isLoaded()) {
        m_seams.prompter.tell(QStringLiteral("Select Provider!"));
        return nullptr;
    }
    // Never shows (or saves) another provider's settings.
    const QString provider = m_accounts.connection().name;
    if (reload || m_profile.provider() != provider)
        m_profile.load(m_store, provider);
    auto edited = std::make_unique<ProviderProfile>();
    edited->copyFrom(m_profile);
    return edited;
}

ProviderProfile::SaveResult AppCore::commitProviderSettings(ProviderProfile &edited)
{
    // A copy of another provider (picked while the window was open) is not stored.
    if (!m_accounts.isLoaded() || edited.provider() != m_accounts.connection().name)
        return ProviderProfile::SaveResult::NoProvider;
    const ProviderProfile::SaveResult result = edited.save(
        m_store, [this](const ProviderProfile &profile) { return CheckMailSettings(profile, m_seams.prompter); });
    if (result == ProviderProfile::SaveResult::Saved) {
        auto assignment = [this] {
            QStringList days;
            for (int day = 1; day <= ProviderProfile::kDays; ++day)
                days << m_profile.tariffLabel(day);
            return days;
        };
        const QStringList assignedBefore = assignment();
        m_profile.load(m_store, edited.provider());
        m_profile.takeCurrentValues(edited);
        if (assignment() != assignedBefore)
            repickTariff();
    }
    return result;
}

void AppCore::repickTariff()
{
    // A tariff just assigned or edited prices the next call at once; a call already under way
    // (or being dialled) keeps the tariff it began with until the day ends.
    const CallSession &call = m_engine.session();
    if (m_accounts.isLoaded() && !call.CallActive && !call.dialing)
        m_accounting.setTariff(SelectTariff(m_store, m_holidays, m_seams.prompter, m_accounts.connection().name,
                                            m_seams.clock.now().date()));
}

std::unique_ptr<GeneralOptions> AppCore::editGeneralOptions() const
{
    auto edited = std::make_unique<GeneralOptions>();
    edited->load(m_store);
    edited->setChecked(GeneralOptions::Check::StartUp, AutoStart::IsEnabled());
    return edited;
}

bool AppCore::commitGeneralOptions(GeneralOptions &edited)
{
    if (!edited.save(m_store)) {
        m_seams.prompter.fail(QStringLiteral("The settings could not be saved: %1").arg(m_store.error()));
        return false;
    }
    m_options.load(m_store);
    QString reason;
    if (!AutoStart::SetEnabled(edited.isChecked(GeneralOptions::Check::StartUp),
                               QCoreApplication::applicationFilePath(), &reason)) {
        m_seams.prompter.fail(QStringLiteral("The log-in start could not be changed: %1.").arg(reason));
        return false;
    }
    return true;
}

void AppCore::viewSharedLog()
{
    // The shared file whichever log mode is chosen: the per-provider files are in the same folder.
    const QString path = ConnectionLog::FilePath(m_locations, {}, LogOptions{});
    if (!QFileInfo(path).isFile()) {
        m_seams.prompter.tell(
            QStringLiteral("There is no shared log file yet: %1 is written when the first call is logged to it.")
                .arg(QDir::toNativeSeparators(path)),
            Prompt::Icon::Information);
        return;
    }
    QString error;
    if (!m_seams.launcher.open(path, &error))
        m_seams.prompter.fail(error);
}

CallPreview::Result AppCore::previewCall(const QString &provider, const QDateTime &start, qint64 seconds)
{
    return CallPreview::Price(m_store, m_holidays, provider, start, seconds);
}

QDateTime AppCore::now() const
{
    return m_seams.clock.now();
}

std::unique_ptr<TariffEditor> AppCore::editTariffs()
{
    auto editor = std::make_unique<TariffEditor>(TariffEditor::Seams{m_store, m_seams.prompter, m_seams.clock,
                                                                     [this] { return m_dialer.IsConnected(); },
                                                                     m_noTariffWarningShown},
                                                 m_formats);
    connect(editor.get(), &TariffEditor::tariffsChanged, this, &AppCore::repickTariff);
    return editor;
}

std::unique_ptr<HolidayEditor> AppCore::editHolidays()
{
    auto editor = std::make_unique<HolidayEditor>(m_locations.holidayFile(), m_seams.prompter, m_seams.clock);
    connect(editor.get(), &HolidayEditor::saved, this, [this] { m_holidays.LoadHolidays(); });
    return editor;
}

bool AppCore::addPhoneNumber(ProviderProfile &edited)
{
    // Stored at once (Cancel keeps it), so the live list has it at once too.
    const std::optional<QString> number = m_seams.prompter.input(
        QStringLiteral("New Phone Number"), QStringLiteral("Please enter new phone number for \n") + edited.provider());
    if (!number)
        return false;
    switch (edited.addPhoneNumber(m_store, *number)) {
    case ProviderProfile::PhoneAdded::Added: m_profile.takePhoneNumbers(edited); return true;
    case ProviderProfile::PhoneAdded::Duplicate:
        m_seams.prompter.tell(QStringLiteral("This phone number already exists!"));
        return false;
    case ProviderProfile::PhoneAdded::Empty: return false;
    }
    return false;
}

bool AppCore::removePhoneNumber(ProviderProfile &edited)
{
    if (!edited.canRemovePhoneNumber())
        return false;
    Prompt prompt;
    prompt.text = QStringLiteral("Are you sure to delete this phone number?");
    prompt.icon = Prompt::Icon::Question;
    prompt.buttons = Prompt::Buttons::YesNo;
    if (m_seams.prompter.ask(prompt) != Prompt::Answer::Yes || !edited.removePhoneNumber(m_store))
        return false;
    m_profile.takePhoneNumbers(edited); // stored at once, so listed at once
    return true;
}

bool AppCore::resetCounters(Reset reset, const QList<CallAccounting::Counter> &selected)
{
    using Counter = CallAccounting::Counter;
    Prompt prompt;
    prompt.text = reset == Reset::All ? QStringLiteral("Are you sure to RESET all Timers and Counters?")
                                      : QStringLiteral("Are you sure to RESET all Selected Timers and Counters?");
    prompt.icon = Prompt::Icon::Question;
    prompt.buttons = Prompt::Buttons::YesNo;
    if (m_seams.prompter.ask(prompt) != Prompt::Answer::Yes)
        return false;
    m_accounting.ResetCounters(reset == Reset::All ? QList<Counter>{Counter::Current, Counter::Today, Counter::Month,
                                                                    Counter::Total, Counter::Calls, Counter::Cost}
                                                   : selected);
    return true;
}

void AppCore::setAlertsOn(bool on)
{
    m_profile.setAlertsOn(on);
    if (!on)
        m_alarms.switchedOff();
}

void AppCore::storeWindowPosition(qint64 leftTwips, qint64 topTwips)
{
    const QString section = SettingsLayout::GeneralSettings();
    m_store.SaveSetting(section, QStringLiteral("PosTop"), QString::number(topTwips));
    m_store.SaveSetting(section, QStringLiteral("PosLeft"), QString::number(leftTwips));
}

bool AppCore::saveEntry(const QString &original, PhonebookEntry entry)
{
    entry.name = entry.name.trimmed();
    if (const auto refused = EntryName::Refusal(entry.name)) {
        m_seams.prompter.tell(*refused, Prompt::Icon::Exclamation);
        return false;
    }
    QString error;
    if (original.isEmpty()) {
        if (!m_line->RasCreatePhonebookEntry(entry, &error)) {
            m_seams.prompter.tell(QStringLiteral("The new dial-up entry could not be created.\n\n") + error,
                                  Prompt::Icon::Critical);
            return false;
        }
        m_dialer.FillProviderList();
        return true;
    }
    if (entry.name != original && !renameEntry(original, entry.name))
        return false;
    const bool edited = m_line->RasEditPhonebookEntry(entry, &error);
    if (!edited)
        m_seams.prompter.tell(QStringLiteral("EditEntry Method Failed\n\n") + error, Prompt::Icon::Critical);
    if (edited || entry.name != original)
        m_dialer.FillProviderList();
    return edited;
}

bool AppCore::renameEntry(const QString &from, const QString &to)
{
    const bool loaded = m_accounts.isLoaded() && m_accounts.connection().name == from;
    const CallSession &session = m_engine.session();
    if (loaded && (session.CallActive || session.dialing || m_monitor.redialPending() || m_dialer.IsConnected())) {
        m_seams.prompter.tell(
            QStringLiteral("\"%1\" cannot be renamed while a call on it runs. Hang up first.").arg(from),
            Prompt::Icon::Exclamation);
        return false;
    }
    // The counters counted so far are stored under the old name, then move with it.
    if (loaded && !m_accounts.SaveCounters())
        return false;
    QString error;
    if (!m_line->RasRenamePhonebookEntry(from, to, &error)) {
        m_seams.prompter.tell(QStringLiteral("EditEntry Method Failed\n\n") + error, Prompt::Icon::Critical);
        return false;
    }
    SettingsStore::Batch batch(m_store);
    m_store.MoveSection(SettingsLayout::Provider(from), SettingsLayout::Provider(to));
    m_store.MoveSection(SettingsLayout::TariffAssignment(from), SettingsLayout::TariffAssignment(to));
    if (!m_store.GetSetting(SettingsLayout::Provider(to), QStringLiteral("Name")).isEmpty())
        m_store.SaveSetting(SettingsLayout::Provider(to), QStringLiteral("Name"), to);
    if (!batch.commit()) {
        const QString reason = m_store.error();
        m_line->RasRenamePhonebookEntry(to, from, nullptr);
        m_seams.prompter.tell(QStringLiteral("EditEntry Method Failed\n\nThe settings of \"%1\" could not be moved to "
                                             "the new name (%2), so the entry keeps its name.")
                                  .arg(from, reason),
                              Prompt::Icon::Critical);
        return false;
    }
    // The provider's own log file follows; one already there under the new name is kept.
    const QString oldLog = m_locations.logFile(from, QStringLiteral(".log"));
    const QString newLog = m_locations.logFile(to, QStringLiteral(".log"));
    if (QFile::exists(oldLog) && !QFile::exists(newLog) && !QFile::rename(oldLog, newLog))
        qCWarning(lcSettings) << "the log" << oldLog << "could not be renamed to" << newLog;
    m_accounts.providerRenamed(from, to);
    if (loaded) {
        m_profile.load(m_store, to);
        m_state.setSelectedProvider(to);
    }
    return true;
}

void AppCore::openNetworkConfig()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("nm-connection-editor"));
    if (program.isEmpty()) {
        m_seams.prompter.tell(QStringLiteral("No network settings program was found. Install nm-connection-editor, "
                                             "or use the network settings of your desktop."),
                              Prompt::Icon::Information);
        return;
    }
    QString error;
    if (!m_seams.launcher.start(program, ProgramLauncher::WindowStyle::NormalFocus, &error))
        m_seams.prompter.tell(error, Prompt::Icon::Critical);
}
