// The call engine's cost: a whole hour of a call (every timer of the loop, on virtual time)
// and one Timer1 tick while connected.
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

#include "BenchmarkMain.h"

namespace {

std::unique_ptr<EngineRig> connectedRig()
{
    auto rig = std::make_unique<EngineRig>();
    StoreFixtures::writeTariff(rig->store, "Flat", {"2", "", "", "0.10", "0", {}, {}});
    StoreFixtures::assignTariff(rig->store, "Home", "Flat");
    rig->prepareHome();
    rig->prompter.allowMessages();
    rig->dialer.ConnectCommand();
    rig->scheduler.advanceSeconds(3);
    return rig;
}

void BM_ConnectedHour(benchmark::State &bench)
{
    for (auto _ : bench) {
        bench.PauseTiming();
        auto rig = connectedRig();
        bench.ResumeTiming();
        rig->scheduler.advanceSeconds(3600);
        benchmark::DoNotOptimize(rig->accounting.figures().total.hours);
    }
}
BENCHMARK(BM_ConnectedHour)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Timer1Tick(benchmark::State &bench)
{
    auto rig = connectedRig();
    for (auto _ : bench)
        rig->engine.Timer1();
}
BENCHMARK(BM_Timer1Tick)->Unit(benchmark::kMicrosecond);

void BM_StatisticsTick(benchmark::State &bench)
{
    auto rig = connectedRig();
    for (auto _ : bench)
        rig->engine.tmrDUNStats();
}
BENCHMARK(BM_StatisticsTick)->Unit(benchmark::kMicrosecond);

} // namespace

LINEMINDER_BENCHMARK_MAIN()
