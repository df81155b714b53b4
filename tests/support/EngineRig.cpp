#include "support/EngineRig.h"

#include "settings/SettingsLayout.h"

#include <QTest>

bool RecordingLauncher::start(const QString &commandLine, WindowStyle, QString *error)
{
    started.append(commandLine);
    if (commandLine.startsWith("missing")) {
        *error = QStringLiteral("The program \"%1\" could not be found or is not executable.").arg(commandLine);
        return false;
    }
    return true;
}

EngineRig::EngineRig(const QString &phonebook, const QDateTime &start)
    : ConnectionRig(phonebook), alarms(profile, accounting, scheduler, sound, [this] { dialer.hangup(); }),
      engine(CallEngineParts{store, clock, scheduler, prompter, session, dialer, monitor, accounting, *accounts,
                             profile, options, holidays, recorder, alarms, statistics, sound, launcher, formats})
{
    presenter.observe(alarms);
    presenter.observe(engine);
    clock.setNow(start);
    engine.start();
}

void EngineRig::prepareHome()
{
    const QString provider = SettingsLayout::Provider("Home");
    store.SaveSetting(provider, "KeepLog", "1");
    store.SaveSetting(provider, "KeepReport", "1");
    for (int item = 1; item <= 11; ++item)
        store.SaveSetting(SettingsLayout::LogSettings(), QString::number(item), "1");
    reloadOptions();
    loadProvider("Home");
}

void EngineRig::connectAndOpen()
{
    QVERIFY(dialer.ConnectCommand());
    for (int i = 0; i < 100 && !session.CallActive; ++i)
        scheduler.advanceMs(100);
    QVERIFY(session.CallActive);
}
