#include "accounting/ChargeSettings.h"

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

ChargeSettings ChargeSettings::read(const SettingsStore &store)
{
    const QString section = SettingsLayout::GeneralSettings();
    auto text = [&](const char *key) { return store.GetSetting(section, QLatin1String(key), QStringLiteral("0")); };
    auto flag = [&](const char *key) { return SettingIsTrue(text(key)); };

    ChargeSettings settings;
    settings.addFee = flag("AddCost");
    // A negative fee or minimum charge would pay the user back; it counts as none.
    settings.fee = std::max(Money(), Money::parseOrZero(text("AddCostTxt")).hundredthsToUnits());
    settings.addTime = flag("AddTime");
    bool ok = false;
    const qlonglong seconds = text("AddTimeTxT").trimmed().toLongLong(&ok);
    settings.addSeconds = ok && seconds > 0 ? quint32(std::min<qlonglong>(seconds, qlonglong{24} * 3600)) : 0;
    settings.minimumCharge = flag("AddMinCharge");
    settings.minimum = std::max(Money(), Money::parseOrZero(text("AddMinChargeTxT")).hundredthsToUnits());
    return settings;
}
