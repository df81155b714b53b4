#include "accounting/TariffSelection.h"

#include "accounting/HolidayCalendar.h"
#include "platform/Prompter.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {
constexpr int kHolidayClass = 8;
}

int DayClassOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1; // Qt: Monday 1 ... Sunday 7
}

LoadedTariff SelectTariff(const SettingsStore &store, HolidayCalendar &holidays, Prompter &prompter,
                          const QString &provider, const QDate &date)
{
    int dayClass = DayClassOf(date);
    holidays.LoadHolidays();
    if (holidays.isHoliday(date)) {
        prompter.tell(QStringLiteral("Holiday's Tariff is Active!!"));
        dayClass = kHolidayClass;
    }

    LoadedTariff loaded;
    const QString name = store.GetSetting(SettingsLayout::TariffAssignment(provider), QString::number(dayClass));
    const std::optional<Tariff> tariff = Tariff::read(store, name);
    if (!tariff) {
        prompter.tell(QStringLiteral("You don't have any assigned tariff for today!"));
        return loaded;
    }
    loaded.TariffAssigned = true;
    loaded.name = name;
    loaded.rates = *tariff;
    return loaded;
}
