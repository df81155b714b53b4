#pragma once

#include <QString>

// Section paths of the settings store. Note the blank in "Providers " and
// "Tariff Profile ": it is part of the stored name.
namespace SettingsLayout {

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

} // namespace SettingsLayout
