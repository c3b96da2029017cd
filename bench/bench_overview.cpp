// Opening the entry overview on an office-sized database (50 drivers, 10 years: about 182,000
// entry days and 1.35 million intervals): the three lists' first batches as the window reads
// them, without and with a driver filter, against the same first lines of the queries as
// written, which group and sort the whole database before their first row.

#include "bench_database.h"
#include "overview_reference.h"

#include "db/data_module.h"
#include "reviews/overview_queries.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>


namespace {

constexpr int kFirstScreen = 200;
constexpr int kFilterDriver = 17;

OverviewFilter FilterOf(const benchmark::State& state)
{
    OverviewFilter filter;
    if (state.range(0))
        filter.driverId = kFilterDriver;
    return filter;
}

void BM_OverviewFirstScreen(benchmark::State& state)
{
    TDataModule1& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        EntriesReader entries(data.Read, filter);
        EntryDaysReader days(data.Read, filter);
        DayTotalsReader totals(data.Read, filter);
        benchmark::DoNotOptimize(entries.fetch(kFirstScreen));
        benchmark::DoNotOptimize(days.fetch(kFirstScreen));
        benchmark::DoNotOptimize(totals.fetch(kFirstScreen));
    }
}
BENCHMARK(BM_OverviewFirstScreen)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

void BM_OverviewBareQueries(benchmark::State& state)
{
    TDataModule1& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        for (const QString& sql : {OverviewQuery<OverviewEntryRow>(filter), OverviewQuery<OverviewDayRow>(filter),
                                   OverviewQuery<OverviewTotalRow>(filter)}) {
            Statement statement(data.Read);
            data.Read.startIfNotActive();
            statement.prepare(sql);
            BindOverviewFilter(statement, filter);
            statement.execute();
            for (int row = 0; row < kFirstScreen && statement.next(); ++row)
                benchmark::DoNotOptimize(statement.isNull(0));
        }
    }
}
BENCHMARK(BM_OverviewBareQueries)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

void BM_OverviewWrittenQueries(benchmark::State& state)
{
    TDataModule1& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        for (int list = 0; list < 3; ++list)
            benchmark::DoNotOptimize(WrittenOverviewRows(data, list, filter, kFirstScreen));
    }
}
BENCHMARK(BM_OverviewWrittenQueries)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

void BM_OverviewCopyAllEntries(benchmark::State& state)
{
    TDataModule1& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(OverviewCopyText<OverviewEntryRow>(data.Read, OverviewFilter{}));
}
BENCHMARK(BM_OverviewCopyAllEntries)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
