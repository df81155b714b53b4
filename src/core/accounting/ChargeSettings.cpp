#include "accounting/ChargeSettings.h"

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

using namespace SettingsLayout;

ChargeSettings ChargeSettings::read(const SettingsStore &store)
{
    const QString section = GeneralSettings();
    auto text = [&](const char *key) { return store.GetSetting(section, QLatin1String(key), QStringLiteral("0")); };
    auto flag = [&](const char *key) { return SettingIsTrue(text(key)); };

    ChargeSettings settings;
    settings.addFee = flag(Key::AddCost);
    // A negative fee or minimum charge would pay the user back; it counts as none.
    settings.fee = std::max(Money(), Money::parseOrZero(text(Key::AddCostText)).hundredthsToUnits());
    settings.addTime = flag(Key::AddTime);
    bool ok = false;
    const qlonglong seconds = text(Key::AddTimeText).trimmed().toLongLong(&ok);
    settings.addSeconds = ok && seconds > 0 ? quint32(std::min<qlonglong>(seconds, qlonglong{24} * 3600)) : 0;
    settings.minimumCharge = flag(Key::AddMinCharge);
    settings.minimum = std::max(Money(), Money::parseOrZero(text(Key::AddMinChargeText)).hundredthsToUnits());
    return settings;
}
