// The checks of driving, rest and working time on the office-sized database: a year of every
// driver (50) and of one, against reading the same intervals alone; and the gaps in the record
// of the last 28 days or of a year.

#include "bench_database.h"

#include "compliance/compliance_check.h"
#include "compliance/record_gaps.h"
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

void BM_FindGaps(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const QDate first = state.range(1) == 0 ? kLastDay.addDays(-28) : kFirstDay;
    const QDateTime now(kLastDay.addDays(1), QTime(0, 0), Qt::UTC);
    size_t gaps = 0;
    size_t conflicts = 0;
    for (auto _ : state) {
        gaps = conflicts = 0;
        for (const DriverGaps& driver : FindRecordGaps(data.read, first, kLastDay, Drivers(state), kDefaultGapMinimum, now)) {
            gaps += driver.result.gaps.size();
            conflicts += driver.result.conflicts.size();
        }
    }
    state.counters["gaps"] = static_cast<double>(gaps);
    state.counters["conflicts"] = static_cast<double>(conflicts);
}
BENCHMARK(BM_FindGaps)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"one", "year"})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
