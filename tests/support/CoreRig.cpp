#include "support/CoreRig.h"

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"

#include <QTest>

namespace {
QString writePhonebook(const TempHome &home, const QString &text)
{
    if (!text.isNull())
        home.writeFile("simulated-phonebook.ini", text.toUtf8());
    return home.locations().simulatedPhonebook();
}
} // namespace

bool RecordingLauncher::start(const QString &commandLine, WindowStyle, QString *error)
{
    started.append(commandLine);
    if (commandLine.startsWith("missing")) {
        *error = QStringLiteral("The program \"%1\" could not be found or is not executable.").arg(commandLine);
        return false;
    }
    return true;
}

CoreRig::CoreRig(const QString &phonebook, const QDateTime &start)
    : clock(start), core(home.locations(), std::make_unique<SimulatedLine>(writePhonebook(home, phonebook), clock),
                         AppSeams{clock, scheduler, prompter, sound, launcher}, DateTimeFormats())
{
}

void CoreRig::loadProvider(const QString &name, const QString &phone, bool redial, const QString &login)
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

QStringList CoreRig::statusesOver(int seconds)
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

ConnectionRig::ConnectionRig(const QString &phonebook, const QDateTime &start) : CoreRig(phonebook, start)
{
    options.setCurrencySymbol("$");
    engine.start();
}

void EngineRig::prepareHome()
{
    const QString provider = SettingsLayout::Provider("Home");
    store.SaveSetting(provider, "KeepLog", "1");
    store.SaveSetting(provider, "KeepReport", "1");
    for (int item = 1; item <= 11; ++item)
        store.SaveSetting(SettingsLayout::LogSettings(), QString::number(item), "1");
    options.load(store);
    loadProvider("Home");
}

void EngineRig::connectAndOpen()
{
    QVERIFY(dialer.ConnectCommand());
    for (int i = 0; i < 100 && !session.CallActive; ++i)
        scheduler.advanceMs(100);
    QVERIFY(session.CallActive);
}
