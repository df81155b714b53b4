// Budgets: storing the counters (one durable transaction) < 20 ms; the cost of a minute
// is asked once a minute, so it only has to be far below a millisecond.
#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/ProviderAccounts.h"
#include "accounting/Tariff.h"
#include "platform/Clock.h"
#include "platform/DataLocations.h"
#include "platform/Prompter.h"
#include "reports/ReportArchives.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>

#include "BenchmarkMain.h"

namespace {

void BM_SaveCounters(benchmark::State &bench)
{
    QTemporaryDir dir;
    const DataLocations locations = DataLocations::inside(dir.path());
    locations.ensureFolders();
    SettingsStore store(locations.settingsDatabase());
    QuietPrompter prompter;
    SystemClock clock;
    HolidayCalendar holidays(locations.holidayFile());
    ReportArchives archives(locations, DateTimeFormats());
    CallAccounting accounting;
    GeneralOptions options;
    ProviderProfile profile;
    ProviderAccounts accounts(store, prompter, clock, holidays, archives, accounting, options, profile,
                              DateTimeFormats());
    accounts.LoadProvider(QStringLiteral("Home"));
    accounting.BeginCall();
    for (auto _ : bench) {
        accounting.CountSecond();
        benchmark::DoNotOptimize(accounts.SaveCounters());
    }
}
BENCHMARK(BM_SaveCounters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetMinuteCost(benchmark::State &bench)
{
    LoadedTariff tariff;
    tariff.TariffAssigned = true;
    tariff.rates.option = 1;
    tariff.rates.firstStart = 8 * 3600;
    tariff.rates.firstEnd = 17 * 3600;
    tariff.rates.thirdStart = 22 * 3600;
    tariff.rates.firstCost = Money::parseOrZero(u"0.12");
    tariff.rates.secondCost = Money::parseOrZero(u"0.08");
    tariff.rates.thirdCost = Money::parseOrZero(u"0.02");
    const QString times[] = {QStringLiteral("07:59:59"), QStringLiteral("12:00:00"), QStringLiteral("18:30:00"),
                             QStringLiteral("23:00:00")};
    std::size_t i = 0;
    for (auto _ : bench)
        benchmark::DoNotOptimize(tariff.GetMinuteCost(times[i++ % 4]));
}
BENCHMARK(BM_GetMinuteCost);

} // namespace

LINEMINDER_BENCHMARK_MAIN()
