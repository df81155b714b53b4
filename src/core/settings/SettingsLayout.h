#pragma once

#include <QString>

// Section paths of the settings store. Note the blank in "Providers " and
// "Tariff Profile ": it is part of the stored name.
namespace SettingsLayout {

// One line a section, as a table.
// clang-format off
inline QString GeneralSettings() { return QStringLiteral("General Settings"); }
inline QString LogSettings() { return QStringLiteral("General Settings\\Log Settings"); }
inline QString ExecList() { return QStringLiteral("General Settings\\Exec"); }
inline QString ExecSelected() { return QStringLiteral("General Settings\\Exec Selected"); }

inline QString Provider(const QString &provider) { return QStringLiteral("Providers \\") + provider; }
inline QString ProviderPhoneNumbers(const QString &provider) { return Provider(provider) + QStringLiteral("\\Phone Numbers"); }
inline QString ProviderMail(const QString &provider) { return Provider(provider) + QStringLiteral("\\E-Mail"); }
inline QString ProviderAlerts(const QString &provider) { return Provider(provider) + QStringLiteral("\\Alerts"); }

inline QString TariffAssignment(const QString &provider) { return QStringLiteral("Tariff Profile \\Providers\\") + provider; }
inline QString TariffNames() { return QStringLiteral("Tariff Profile \\Tariff Names"); }
inline QString Tariff(const QString &tariff) { return TariffNames() + QLatin1Char('\\') + tariff; }
// clang-format on

// The entry the phone-number list always starts with; stored as "Phone" when chosen.
inline QString DefaultPhoneNumber()
{
    return QStringLiteral("[Default Phone Number]");
}

// Keys read or written by more than one part of the program.
namespace Key {
// In GeneralSettings(): the charges added to every call and the splash screen.
inline constexpr const char *AddCost = "AddCost";
inline constexpr const char *AddCostText = "AddCostTxt";
inline constexpr const char *AddTime = "AddTime";
inline constexpr const char *AddTimeText = "AddTimeTxT";
inline constexpr const char *AddMinCharge = "AddMinCharge";
inline constexpr const char *AddMinChargeText = "AddMinChargeTxT";
inline constexpr const char *ShowSplash = "ShowSplash";
// In GeneralSettings(): the about box's links, the news server (empty: none) and the system
// information viewers to try, in order (";" between them).
inline constexpr const char *HomeUrl = "HomeURL";
inline constexpr const char *HomeEmail = "HomeEmail";
inline constexpr const char *NewsUrl = "NewsURL";
inline constexpr const char *SysInfoPrograms = "SysInfoPrograms";
// In LogSettings(): one shared log file, or one per provider.
inline constexpr const char *SharedLog = "1 Log";
inline constexpr const char *PerProviderLog = "2 Log";
// In Provider().
inline constexpr const char *SavePass = "SavePass";
inline constexpr const char *Password = "Password";
inline constexpr const char *Login = "Login";
inline constexpr const char *Phone = "Phone";
} // namespace Key

} // namespace SettingsLayout
