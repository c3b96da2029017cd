// The checks of driving, rest and working time on the office-sized database: a year of every
// driver (50) and of one, against reading the same intervals alone.

#include "bench_database.h"

#include "compliance/compliance_check.h"
#include "temp_database.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDriver = 17;
const QDate kFirstDay(2025, 12, 1);
const QDate kLastDay(2026, 11, 30);

std::optional<int> Drivers(const benchmark::State& state)
{
    return state.range(0) == 0 ? std::nullopt : std::optional<int>(kDriver);
}

void BM_CheckYear(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    size_t found = 0;
    for (auto _ : state)
        found = AllInfringements(CheckDrivers(data.read, kFirstDay, kLastDay, Drivers(state), CheckSettings{})).size();
    state.counters["infringements"] = static_cast<double>(found);
}
BENCHMARK(BM_CheckYear)->Arg(0)->Arg(1)->ArgName("one")->Unit(benchmark::kMillisecond);

void BM_ReadYear(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const auto [first, last] = CheckedDays(kFirstDay, kLastDay, CheckSettings{});
    size_t intervals = 0;
    for (auto _ : state) {
        intervals = 0;
        for (const auto& [driver, timeline] : LoadDriverTimelines(data.read, first, last, Drivers(state)))
            intervals += timeline.intervals.size();
    }
    state.counters["intervals"] = static_cast<double>(intervals);
}
BENCHMARK(BM_ReadYear)->Arg(0)->Arg(1)->ArgName("one")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
