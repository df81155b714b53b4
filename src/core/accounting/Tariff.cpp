#include "accounting/Tariff.h"

#include "settings/EntryName.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {

bool strictlyBetween(int t, int low, int high)
{
    return low < t && t < high;
}

} // namespace

std::optional<int> ParseTimeOfDay(const QString &text)
{
    static const char *const formats[] = {"H:mm:ss", "H:mm", "h:mm:ss AP", "h:mm AP", "h:mm:ssAP", "h:mmAP"};
    const QString trimmed = text.trimmed();
    for (const char *format : formats) {
        const QTime time = QTime::fromString(trimmed, QLatin1String(format));
        if (time.isValid())
            return time.msecsSinceStartOfDay() / 1000;
    }
    return std::nullopt;
}

bool WriteTariff(SettingsStore &store, const TariffFile::Record &values, const QString &savedOn)
{
    if (!EntryName::IsSectionName(values.name))
        return false;
    const QString section = SettingsLayout::Tariff(values.name);
    auto save = [&](const char *key, const QString &value) { store.SaveSetting(section, QLatin1String(key), value); };
    SettingsStore::Batch batch(store);
    save("Option", QString::number(values.code));
    store.SaveSetting(SettingsLayout::TariffNames(), values.name, QStringLiteral(""));
    save("SavedOn", savedOn);
    save("Name", values.name);
    save("FirstStart", values.firstStart);
    save("FirstEnd", values.firstEnd);
    save("FirstCost", values.firstCost);
    save("SecondCost", values.secondCost);
    if (values.code == 1) {
        save("ThirdStart", values.thirdStart);
        save("ThirdCost", values.thirdCost);
    }
    return batch.commit();
}

TariffFile::Record ReadTariffTexts(const SettingsStore &store, const QString &name)
{
    const QString section = SettingsLayout::Tariff(name);
    auto value = [&](const char *key) { return store.GetSetting(section, QLatin1String(key)); };
    TariffFile::Record texts;
    texts.name = name;
    // As the pricing reads it: a missing or empty option is two intervals.
    const QString option = value("Option").trimmed();
    bool ok = true;
    texts.code = option.isEmpty() ? 0 : option.toInt(&ok);
    if (!ok)
        texts.code = -1;
    texts.firstStart = value("FirstStart");
    texts.firstEnd = value("FirstEnd");
    texts.thirdStart = value("ThirdStart");
    texts.firstCost = value("FirstCost");
    texts.secondCost = value("SecondCost");
    texts.thirdCost = value("ThirdCost");
    return texts;
}

Money Tariff::GetMinuteCost(int t) const
{
    switch (option) {
    case 2: return firstCost;
    case 0: return strictlyBetween(t, firstStart, firstEnd) ? firstCost : secondCost;
    case 1:
        if (strictlyBetween(t, firstStart, firstEnd))
            return firstCost;
        if (strictlyBetween(t, firstEnd, thirdStart))
            return secondCost;
        return thirdCost;
    default: return Money();
    }
}

std::optional<Tariff> Tariff::read(const SettingsStore &store, const QString &name)
{
    const QString section = SettingsLayout::Tariff(name);
    // A name with a backslash would read a subsection of another tariff.
    if (!EntryName::IsSectionName(name) || store.GetAllSettings(section).isEmpty())
        return std::nullopt;

    Tariff tariff;
    bool optionOk = false;
    const QString optionText = store.GetSetting(section, QStringLiteral("Option"), QStringLiteral("0")).trimmed();
    const uint option = optionText.isEmpty() ? 0 : optionText.toUInt(&optionOk);
    if (!optionText.isEmpty() && (!optionOk || option > 255))
        return std::nullopt;
    tariff.option = quint8(option);
    if (tariff.option > 2)
        return tariff; // prices nothing; its texts play no part

    auto cost = [&](const char *key) { return Money::parse(store.GetSetting(section, QLatin1String(key))); };
    auto bound = [&](const char *key) { return ParseTimeOfDay(store.GetSetting(section, QLatin1String(key))); };

    const auto firstCost = cost("FirstCost");
    if (!firstCost)
        return std::nullopt;
    tariff.firstCost = *firstCost;
    if (tariff.option == 2)
        return tariff;

    const auto firstStart = bound("FirstStart");
    const auto firstEnd = bound("FirstEnd");
    const auto secondCost = cost("SecondCost");
    if (!firstStart || !firstEnd || !secondCost)
        return std::nullopt;
    tariff.firstStart = *firstStart;
    tariff.firstEnd = *firstEnd;
    tariff.secondCost = *secondCost;
    if (tariff.option == 0)
        return tariff;

    const auto thirdStart = bound("ThirdStart");
    const auto thirdCost = cost("ThirdCost");
    if (!thirdStart || !thirdCost)
        return std::nullopt;
    tariff.thirdStart = *thirdStart;
    tariff.thirdCost = *thirdCost;
    return tariff;
}

Money LoadedTariff::GetMinuteCost(const QString &timeText) const
{
    const QTime time = QTime::fromString(timeText, QStringLiteral("HH:mm:ss"));
    return GetMinuteCost(time.isValid() ? time : QTime(0, 0));
}

Money LoadedTariff::GetMinuteCost(const QTime &time) const
{
    if (!TariffAssigned)
        return Money();
    return rates.GetMinuteCost(time.msecsSinceStartOfDay() / 1000);
}
