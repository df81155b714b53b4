#include "support/ConnectionRig.h"

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"

namespace {
QString writePhonebook(const TempHome &home, const QString &text)
{
    if (!text.isNull())
        home.writeFile("simulated-phonebook.ini", text.toUtf8());
    return home.locations().simulatedPhonebook();
}
} // namespace

ConnectionRig::ConnectionRig(const QString &phonebook)
    : scheduler(clock), line(writePhonebook(home, phonebook), clock), statistics(line),
      dialer(line, prompter, scheduler, clock, *accounts, accounting, statistics, session),
      monitor(line, scheduler, *accounts, dialer, session)
{
    presenter.observe(statistics);
    presenter.observe(dialer);
    scheduler.setHandler(Scheduler::Timer::Timer1, [this] { presenter.showStatus(monitor.GetNetStatus()); });
    scheduler.start(Scheduler::Timer::Timer1);
}

void ConnectionRig::loadProvider(const QString &name, const QString &phone, bool redial, const QString &login)
{
    const QString section = SettingsLayout::Provider(name);
    store.SaveSetting(section, "Phone", phone);
    store.SaveSetting(section, "Redial", redial ? "1" : "0");
    store.SaveSetting(section, "Login", login);
    store.SaveSetting(section, "SavePass", "1");
    store.SaveSettingBytes(section, "Password", EncryptPassword("pw", kPasswordKey));
    prompter.allowMessages();
    dialer.SelectProvider(name);
    prompter.allowMessages(false);
    prompter.clear();
}

QStringList ConnectionRig::statusesOver(int seconds)
{
    QStringList seen;
    for (int i = 0; i < seconds * 10; ++i) {
        scheduler.advanceMs(100);
        const QString status = state.text(MainState::Field::Status);
        if (!status.isEmpty() && (seen.isEmpty() || seen.last() != status))
            seen.append(status);
    }
    return seen;
}
