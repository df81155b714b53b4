#include "settings/GeneralOptions.h"

#include <iterator>

#include <QLocale>

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {

namespace Key = SettingsLayout::Key;
using Field = SettingsValues::Field;
constexpr int kGeneral = 0; // every value is in "General Settings"

// In the order of GeneralOptions::Check.
constexpr Field kChecks[] = {
    {"chkAddCost", kGeneral, Key::AddCost, "0"},        {"chkAddTime", kGeneral, Key::AddTime, "0"},
    {"chkMinCharge", kGeneral, Key::AddMinCharge, "0"}, {"chkShowSplash", kGeneral, Key::ShowSplash, "1"},
    {"chkSound1", kGeneral, "chkSound1", "0"},          {"chkDisplayDUNStats", kGeneral, "ShowDUNStats", "0"},
    {"chkSound2", kGeneral, "chkSound2", "0"},          {"chkMinimize", kGeneral, "Minimize Conn", "0"},
    {"chkStartMini", kGeneral, "StartMini", "0"},       {"chkOnTop", kGeneral, "OnTop", "0"},
    {"chkStartUp", kGeneral, "StartUp", "0"},           {"chkpPosition", kGeneral, "SavePos", "0"},
};
static_assert(std::size(kChecks) == std::size_t(GeneralOptions::Check::Count_));

// In the order of GeneralOptions::Text.
constexpr Field kTexts[] = {
    {"txtAddCost", kGeneral, Key::AddCostText, "0"},
    {"txtAddTime", kGeneral, Key::AddTimeText, "0"},
    {"txtMinCharge", kGeneral, Key::AddMinChargeText, "0"},
    {"txtSound1", kGeneral, "Sound1", ""},
    {"txtSound2", kGeneral, "Sound2", ""},
};
static_assert(std::size(kTexts) == std::size_t(GeneralOptions::Text::Count_));

QString truthText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// The log items count from 1 (their keys and controls); n is 1..kLogItems here.
std::size_t logIndex(int n)
{
    return static_cast<std::size_t>(n - 1);
}

} // namespace

QString GeneralOptions::controlName(Check check)
{
    return QLatin1String(kChecks[int(check)].control);
}

QString GeneralOptions::controlName(Text text)
{
    return QLatin1String(kTexts[int(text)].control);
}

bool GeneralOptions::isLaunchStyle(int style)
{
    return (style >= 1 && style <= 4) || style == 6;
}

GeneralOptions::GeneralOptions(QObject *parent)
    : QObject(parent), m_values(kChecks, kTexts), m_currencySymbol(QLocale::system().currencySymbol())
{
}

void GeneralOptions::load(const SettingsStore &store)
{
    const QString section = SettingsLayout::GeneralSettings();
    m_values.load(store, {section});
    // "MinNormal" is always written as the opposite; the main window goes by "MinTray".
    m_minimizeToTray = store.GetFlag(section, QStringLiteral("MinTray"), QStringLiteral("false"));

    const QString logs = SettingsLayout::LogSettings();
    // The per-provider files win when both modes are set, as with the log writer.
    m_separateLogs = store.GetFlag(logs, QLatin1String(Key::PerProviderLog), QStringLiteral("0"));
    for (int n = 1; n <= kLogItems; ++n)
        m_logItems[logIndex(n)] = store.GetFlag(logs, QString::number(n), QStringLiteral("0"));

    const int style = store.GetSetting(section, QStringLiteral("NumOfEXEStyle"), QStringLiteral("1")).toInt();
    m_launchStyle = isLaunchStyle(style) ? style : 1;

    // The count shown is always the list's own size: a stored "NumofEXE" that disagrees
    // with the stored entries cannot hide programs or make up missing ones.
    m_programs.clear();
    for (const auto &[key, path] : store.GetAllSettings(SettingsLayout::ExecList()))
        m_programs.append({path, store.GetFlag(SettingsLayout::ExecSelected(), key, QStringLiteral("False"))});

    m_homeUrl = store.GetSetting(section, QLatin1String(Key::HomeUrl),
                                 QStringLiteral("https://github.com/lineminder/lineminder"));
    m_homeEmail =
        store.GetSetting(section, QLatin1String(Key::HomeEmail), QStringLiteral("lineminder@users.noreply.github.com"));
    m_newsUrl = store.GetSetting(section, QLatin1String(Key::NewsUrl));
    m_sysInfoPrograms =
        store
            .GetSetting(section, QLatin1String(Key::SysInfoPrograms),
                        QStringLiteral("hardinfo2;hardinfo;gnome-system-monitor;plasma-systemmonitor;ksysguard"))
            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    emit changed();
}

bool GeneralOptions::save(SettingsStore &store)
{
    const QString section = SettingsLayout::GeneralSettings();
    const QStringList sections{section};
    auto writeCheck = [&](Check check) { m_values.saveCheck(store, sections, int(check)); };
    auto writeText = [&](Text t) { m_values.saveText(store, sections, int(t)); };

    SettingsStore::Batch batch(store);
    writeCheck(Check::AddCost);
    writeCheck(Check::AddTime);
    writeText(Text::AddCost);
    writeText(Text::AddTime);
    writeCheck(Check::MinCharge);
    writeText(Text::MinCharge);
    writeCheck(Check::ShowSplash);
    writeCheck(Check::Sound1);
    writeCheck(Check::DisplayDUNStats);
    writeText(Text::Sound1);
    writeCheck(Check::Sound2);
    writeText(Text::Sound2);
    writeCheck(Check::Minimize);
    writeCheck(Check::StartMini);
    writeCheck(Check::OnTop);

    const QString logs = SettingsLayout::LogSettings();
    for (int n = 1; n <= kLogItems; ++n)
        store.SaveSetting(logs, QString::number(n), QString::number(int(m_logItems[logIndex(n)])));
    store.SaveSetting(logs, QLatin1String(Key::SharedLog), truthText(!m_separateLogs));
    store.SaveSetting(logs, QLatin1String(Key::PerProviderLog), truthText(m_separateLogs));

    writeCheck(Check::StartUp);
    store.SaveSetting(section, QStringLiteral("MinTray"), truthText(m_minimizeToTray));
    store.SaveSetting(section, QStringLiteral("MinNormal"), truthText(!m_minimizeToTray));
    writeCheck(Check::Position);

    store.SaveSetting(section, QStringLiteral("NumofEXE"), QString::number(programCount()));
    store.SaveSetting(section, QStringLiteral("NumofEXEStyle"), QString::number(m_launchStyle));
    // Rewritten whole, so a shorter list leaves no entries of the longer one behind.
    store.DeleteSetting(SettingsLayout::ExecList());
    store.DeleteSetting(SettingsLayout::ExecSelected());
    for (int i = 0; i < programCount(); ++i) {
        store.SaveSetting(SettingsLayout::ExecList(), QString::number(i), m_programs[i].path);
        store.SaveSetting(SettingsLayout::ExecSelected(), QString::number(i), truthText(m_programs[i].ticked));
    }
    return batch.commit();
}

bool GeneralOptions::isChecked(Check check) const
{
    return m_values.isChecked(int(check));
}

void GeneralOptions::setChecked(Check check, bool on)
{
    if (m_values.setChecked(int(check), on))
        emit changed();
}

QString GeneralOptions::text(Text text) const
{
    return m_values.text(int(text));
}

void GeneralOptions::setText(Text text, const QString &value)
{
    if (m_values.setText(int(text), value))
        emit changed();
}

void GeneralOptions::setMinimizeToTray(bool tray)
{
    if (m_minimizeToTray == tray)
        return;
    m_minimizeToTray = tray;
    emit changed();
}

void GeneralOptions::setSeparateLogs(bool separate)
{
    if (m_separateLogs == separate)
        return;
    m_separateLogs = separate;
    emit changed();
}

bool GeneralOptions::logItem(int n) const
{
    return n >= 1 && n <= kLogItems && m_logItems[logIndex(n)];
}

void GeneralOptions::setLogItem(int n, bool on)
{
    if (n < 1 || n > kLogItems || m_logItems[logIndex(n)] == on)
        return;
    m_logItems[logIndex(n)] = on;
    emit changed();
}

bool GeneralOptions::addProgram(const QString &path)
{
    if (path.isEmpty())
        return false;
    m_programs.append({path, false});
    emit changed();
    return true;
}

bool GeneralOptions::removeProgram(int index)
{
    if (index < 0 || index >= programCount())
        return false;
    m_programs.removeAt(index);
    emit changed();
    return true;
}

bool GeneralOptions::setProgramTicked(int index, bool ticked)
{
    if (index < 0 || index >= programCount())
        return false;
    if (m_programs[index].ticked != ticked) {
        m_programs[index].ticked = ticked;
        emit changed();
    }
    return true;
}

bool GeneralOptions::setLaunchStyle(int style)
{
    if (!isLaunchStyle(style))
        return false;
    if (m_launchStyle != style) {
        m_launchStyle = style;
        emit changed();
    }
    return true;
}

void GeneralOptions::setCurrencySymbol(const QString &symbol)
{
    if (m_currencySymbol == symbol)
        return;
    m_currencySymbol = symbol;
    emit changed();
}
