#include "composition/AppCore.h"

#include "line/SimulatedLine.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "settings/SettingsLayout.h"

AppCore::AppCore(DataLocations locations_, std::unique_ptr<RemoteAccess> line_, AppSeams seams_,
                 DateTimeFormats formats_, QObject *parent)
    : QObject(parent), locations(std::move(locations_)), formats(std::move(formats_)), seams(seams_),
      store(locations.settingsDatabase()), line(std::move(line_)), holidays(locations.holidayFile()),
      archives(locations, formats), recorder(store, seams.prompter, locations, archives, formats),
      accounts(store, seams.prompter, seams.clock, holidays, archives, accounting, options, profile, formats),
      statistics(*line),
      dialer(*line, seams.prompter, seams.scheduler, seams.clock, accounts, accounting, statistics, session),
      monitor(*line, seams.scheduler, accounts, dialer, session),
      alarms(profile, accounting, seams.scheduler, seams.sound, [this] { dialer.hangup(); }),
      engine(CallEngineParts{store, seams.clock, seams.scheduler, seams.prompter, session, dialer, monitor, accounting,
                             accounts, profile, options, holidays, recorder, alarms, statistics, seams.sound,
                             seams.launcher, formats}),
      pop3(seams.clock), mail(MailCheckerParts{profile, seams.scheduler, seams.prompter, accounting, seams.sound,
                                               seams.clock, pop3, formats})
{
    presenter.observe(accounting);
    presenter.observe(statistics);
    presenter.observe(dialer);
    presenter.observe(alarms);
    presenter.observe(engine);
    presenter.observe(mail);
    // The mailbox is checked while a call is up: first when it opens, never after it ends.
    connect(&engine, &CallEngine::callOpened, &mail, &MailChecker::onCallOpened);
    connect(&engine, &CallEngine::callClosed, &mail, &MailChecker::abort);
    connect(&dialer, &Dialer::hungUp, &mail, &MailChecker::abort);
    connect(&dialer, &Dialer::providerLoaded, &mail, &MailChecker::onProviderLoaded);
}

AppCore::~AppCore()
{
    seams.scheduler.stopAll();
}

void AppCore::seedDemoTariff()
{
    // First start on the simulated line: give its demo providers a tariff, so a newcomer's
    // first call is priced. Nothing is touched once any tariff exists, and a provider the
    // user set up is never priced behind their back.
    if (!isSimulated() || !store.GetAllSettings(SettingsLayout::TariffNames()).isEmpty())
        return;
    const QString name = QStringLiteral("Demo Tariff");
    const QString section = SettingsLayout::Tariff(name);
    SettingsStore::Batch batch(store);
    store.SaveSetting(SettingsLayout::TariffNames(), name, QString(""));
    store.SaveSetting(section, QStringLiteral("Option"), QStringLiteral("0"));
    store.SaveSetting(section, QStringLiteral("FirstStart"), QStringLiteral("08:00"));
    store.SaveSetting(section, QStringLiteral("FirstEnd"), QStringLiteral("20:00"));
    store.SaveSetting(section, QStringLiteral("FirstCost"), QStringLiteral("0.05"));
    store.SaveSetting(section, QStringLiteral("SecondCost"), QStringLiteral("0.02"));
    store.SaveSetting(section, QStringLiteral("Name"), name);
    const QStringList entries = line->RasEnumEntries();
    for (const SimulatedLine::Entry &demo : SimulatedLine::demoEntries()) {
        if (!entries.contains(demo.name))
            continue;
        const QString assignment = SettingsLayout::TariffAssignment(demo.name);
        for (int dayClass = 1; dayClass <= 8; ++dayClass) {
            if (store.GetSetting(assignment, QString::number(dayClass)).isEmpty())
                store.SaveSetting(assignment, QString::number(dayClass), name);
        }
    }
    batch.commit();
}

void AppCore::start()
{
    seedDemoTariff();
    options.load(store);
    presenter.showStart(options.currencySymbol());
    dialer.FillProviderList();
    statistics.refresh(dialer.IsConnected());
    engine.start();
}

QString AppCore::shutDown(const std::function<bool()> &askHangUp)
{
    seams.scheduler.stopAll();
    mail.abort();
    monitor.cancelRedial();
    if (session.dialing && !dialer.IsConnected())
        dialer.hangup();
    if (dialer.IsConnected() && askHangUp())
        dialer.hangup();
    seams.scheduler.stopAll(); // hangup's check of the line is not waited for
    if (session.CallActive)
        engine.closeOpenCall();
    accounts.SaveCounters(ProviderAccounts::Tell::AtExit);
    const RasHandle handle = line->RasEnumConnections();
    const RasStatus status = handle ? line->RasGetConnectStatus(handle) : RasStatus();
    return status.error == RasError::None || status.error == RasError::Pending
               ? ConnectionMonitor::StateText(status.state, accounts.connection().phone)
               : monitor.RasErrorText(status.error);
}
