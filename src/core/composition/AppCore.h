#pragma once

#include <QObject>

#include <memory>

#include "accounting/CallAccounting.h"
#include "accounting/CallPreview.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/HolidayEditor.h"
#include "accounting/ProviderAccounts.h"
#include "accounting/TariffEditor.h"
#include "alerts/AlarmMonitor.h"
#include "line/RemoteAccess.h"
#include "mail/MailChecker.h"
#include "mail/Pop3Check.h"
#include "platform/DataLocations.h"
#include "presentation/MainPresenter.h"
#include "presentation/MainState.h"
#include "reports/CallRecorder.h"
#include "reports/ReportArchives.h"
#include "session/CallEngine.h"
#include "session/ConnectionMonitor.h"
#include "session/Dialer.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"
#include "stats/AdapterStatistics.h"

class Clock;
class ProgramLauncher;
class Prompter;
class Scheduler;
class SoundPlayer;

// The seams the program runs on; tests pass doubles.
struct AppSeams
{
    const Clock &clock;
    Scheduler &scheduler;
    Prompter &prompter;
    SoundPlayer &sound;
    ProgramLauncher &launcher;
};

// Everything that is not a widget, wired together: the settings store and models, the
// line, the accounting, the call engine, the presenter of the window's texts. The main
// window binds to its state, forwards the user's commands to it and reacts to its signals.
class AppCore : public QObject
{
    Q_OBJECT
public:
    AppCore(DataLocations locations, std::unique_ptr<RemoteAccess> line, AppSeams seams,
            DateTimeFormats formats = DateTimeFormats::fromSystem(), QObject *parent = nullptr);
    ~AppCore() override;

    // Whether the settings could be opened; why not.
    bool isOpen() const { return m_store.isOpen(); }
    QString openError() const { return m_store.error(); }
    bool isSimulated() const { return m_line->lineKind() == LineKind::Simulated; }

    // What the window does when it is created: settings, date, provider list, timers.
    void start();

    // The texts the window shows; the window tells whether it is minimized.
    const MainState &state() const { return m_state; }
    void setWindowMinimized(bool minimized) { m_presenter.setWindowMinimized(minimized); }

    // The window's commands.
    void selectProvider(const QString &text);
    void connectLine() { m_dialer.ConnectCommand(); }
    void disconnectLine() { m_dialer.DisconnectCommand(); }
    void silenceAlarm() { m_alarms.silence(); }
    void checkMailNow() { m_mail.CheckNow_Click(); }
    void mailPictureClicked() { m_mail.imgEmail_Click(); }
    // Flips the periodic mail check; returns whether it is on now.
    bool toggleMailCheck();
    bool isCheckingMail() const { return m_mail.isChecking(); }
    // The provider settings window edits a copy of the live profile and commits it on OK.
    // Setup (reload) reads the live profile from the store first; Configure keeps what
    // changed while running. Nothing (and the user told) when no provider is loaded.
    std::unique_ptr<ProviderProfile> editProviderSettings(bool reload);
    // OK: the copy is stored (the mail check may refuse it: then nothing is), the live
    // profile is read again and takes the copy's current password, phone and mail.
    ProviderProfile::SaveResult commitProviderSettings(ProviderProfile &edited);
    // The window's actions that take effect at once. The phone numbers are asked for
    // (and the removal confirmed) here; each returns whether something changed.
    bool addPhoneNumber(ProviderProfile &edited);
    bool removePhoneNumber(ProviderProfile &edited);
    // Reset All, or Reset Selected of these counters, after the user's Yes. The window's
    // figures follow; nothing is stored until the counters' next save.
    enum class Reset { All, Selected };
    bool resetCounters(Reset reset, const QList<CallAccounting::Counter> &selected = {});
    // Check2: the alarms' switch. Off, a raised alarm's picture and message go away and
    // its countdown and flashing stop.
    bool alertsOn() const { return m_profile.alertsOn(); }
    void setAlertsOn(bool on);

    // The dial-up entry dialog. An entry as the line keeps it (nothing: no such entry).
    std::optional<PhonebookEntry> phonebookEntry(const QString &name) const { return m_line->entry(name); }
    // Creates the entry (original empty) or edits the entry original, renaming it when the
    // name changed: the provider's settings, counters and log follow the name. A refusal
    // or failure is told; returns whether the entry was saved. The provider list is
    // refreshed after a save.
    bool saveEntry(const QString &original, PhonebookEntry entry);
    // Network Config: the desktop's network settings program, when one is installed.
    void openNetworkConfig();

    // The general settings window edits a copy read afresh from the store (its start-up box
    // shows whether the autostart entry exists) and commits it on OK: stored, the autostart
    // entry written or removed, the live options read again. A failure is told; returns
    // whether everything was stored.
    std::unique_ptr<GeneralOptions> editGeneralOptions() const;
    bool commitGeneralOptions(GeneralOptions &edited);
    // The launch style takes effect at once, before OK; Cancel sets back the one from before.
    void setLaunchStyle(int style) { m_options.setLaunchStyle(style); }
    // View: the shared log file with the desktop's handler; without one the user is told.
    void viewSharedLog();
    QString logsFolder() const { return m_locations.logsDir(); }
    // The tariff page's model. A tariff saved or deleted while no call is up or being dialled
    // re-picks the day's tariff at once; a call keeps the tariff it began with.
    std::unique_ptr<TariffEditor> editTariffs();
    // The holiday editor's model on Holiday.hl. After a save the calendar in use reads the
    // file again, so the next tariff choice (a provider loaded, midnight) uses the new list.
    std::unique_ptr<HolidayEditor> editHolidays();

    // The call-cost preview: a call on provider from start for seconds, priced by the
    // accounting as a real call is, with the settings and holidays as stored now.
    CallPreview::Result previewCall(const QString &provider, const QDateTime &start, qint64 seconds);
    // The providers to preview (the phone book's entries), the one picked (empty: none), now.
    QStringList providerNames() { return m_line->RasEnumEntries(); }
    QString pickedProvider() const { return m_accounts.isLoaded() ? m_accounts.connection().name : QString(); }
    QDateTime now() const;
    // How dates and times are written in the logs and reports.
    const DateTimeFormats &formats() const { return m_formats; }

    // What the window reads and writes of the settings.
    const GeneralOptions &options() const { return m_options; }
    const SettingsStore &settings() const { return m_store; }
    void storeWindowPosition(qint64 leftTwips, qint64 topTwips);
    // What the mail notification window works with, and the message boxes.
    ProviderProfile &profile() { return m_profile; }
    ProgramLauncher &launcher() { return m_seams.launcher; }
    Prompter &prompter() { return m_seams.prompter; }
    // Whether a dial-up call is up (the news window goes online only then, or when the
    // system says it is online by another way).
    bool isLineConnected() const { return m_dialer.IsConnected(); }

    // The exit sequence: timers stopped first (nothing runs twice), no redial, a dial in
    // progress hung up; with a call up, askHangUp decides (true: hang up); a call still
    // open is closed and recorded with the end time of now; the counters are stored. The
    // status line shows the last status, taken without side effects.
    void shutDown(const std::function<bool()> &askHangUp);

signals:
    // The user picked the wizard item: the window offers to create an entry.
    void newEntryWizardRequested();
    // A failed call brings a minimized window back.
    void restoreWindowRequested();
    // A call was opened with "minimize on connect".
    void minimizeRequested();
    // An alarm went off (the window comes back, or the tray tells); flash the caption once.
    void alarmRaised(int n, const QString &message);
    void flashRequested();
    // The mail check: a count read (for a notification window already open), a count to
    // announce (the window opens), a beep without a sound device, the tray tip, the
    // "Enable" mark.
    void mailCountRead(const QString &message, const QString &checkedAt);
    void mailNotificationReady(const QString &message, const QString &checkedAt);
    void beepRequested();
    void trayTipChanged(const QString &tip);
    void mailCheckToggled(bool on);

private:
    friend struct CoreRig; // the tests reach the parts

    void seedDemoTariff();
    // The loaded provider's tariff for today again, unless a call is up or being dialled.
    void repickTariff();
    bool renameEntry(const QString &from, const QString &to);
    void wire();

    const DataLocations m_locations;
    const DateTimeFormats m_formats;
    AppSeams m_seams;
    SettingsStore m_store;
    MainState m_state;
    MainPresenter m_presenter{m_state, m_seams.clock, m_formats};
    std::unique_ptr<RemoteAccess> m_line;
    GeneralOptions m_options;
    ProviderProfile m_profile;
    HolidayCalendar m_holidays;
    ReportArchives m_archives;
    CallRecorder m_recorder;
    CallAccounting m_accounting;
    ProviderAccounts m_accounts;
    AdapterStatistics m_statistics;
    AlarmMonitor m_alarms;
    CallEngine m_engine;
    Dialer m_dialer;
    bool m_noTariffWarningShown = false;
    ConnectionMonitor m_monitor;
    Pop3Check m_pop3;
    MailChecker m_mail;
};
