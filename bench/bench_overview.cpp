// The entry overview on an office-sized database (50 drivers, 10 years: about 182,000 entry
// days and 1.35 million intervals), without and with a driver filter:
// - the first screen: the three lists as the window reads them (each on a worker with a
//   connection of its own, until its first batch is there), the same first batches' rows alone
//   (the engine's own time), and the same first lines of the queries as written, which group
//   and sort the whole database before their first row;
// - Ctrl+End in the entry days: the list's length by its groups, then the last batch; the same
//   two reads on the benchmark's transaction; the query as written read to its last row;
// - copying every entry.

#include "bench_database.h"
#include "overview_reference.h"

#include "temp_database.h"
#include "reviews/overview_queries.h"
#include "reviews/ui/overview_models.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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

// Lets the worker's results in until the condition holds.
template <typename Condition>
void WaitUntil(Condition done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_OverviewFirstScreen(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    EntriesModel entries;
    EntryDaysModel days;
    DayTotalsModel totals;
    for (auto _ : state) {
        entries.reload(data.connection, filter);
        days.reload(data.connection, filter);
        totals.reload(data.connection, filter);
        WaitUntil([&] { return !entries.isWaiting() && !days.isWaiting() && !totals.isWaiting(); });
        state.PauseTiming();
        entries.stop();
        days.stop();
        totals.stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverviewFirstScreen)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OverviewBareQueries(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        for (const QString& sql : {OverviewQuery<OverviewEntryRow>(filter), OverviewQuery<OverviewDayRow>(filter),
                                   OverviewQuery<OverviewTotalRow>(filter)}) {
            Statement statement(data.read);
            data.read.startIfNotActive();
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
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        for (int list = 0; list < 3; ++list)
            benchmark::DoNotOptimize(WrittenOverviewRows(data, list, filter, kFirstScreen));
    }
}
BENCHMARK(BM_OverviewWrittenQueries)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

// From reading the list anew to its last line read, as Ctrl+End right after opening waits.
void BM_OverviewCtrlEnd(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    EntryDaysModel days;
    for (auto _ : state) {
        days.reload(data.connection, filter);
        days.count();
        WaitUntil([&] { return days.isCounted(); });
        const int last = days.rowCount() - 1;
        days.data(days.index(last, 1), Qt::DisplayRole);
        WaitUntil([&] { return days.isLoaded(last); });
        state.PauseTiming();
        days.stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverviewCtrlEnd)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OverviewCtrlEndBare(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state) {
        const std::vector<OverviewGroup> groups = LoadOverviewGroups<OverviewDayRow>(data.read, filter);
        EntryDaysReader reader(data.read, filter, OverviewStart{groups.back().date, 0});
        benchmark::DoNotOptimize(reader.fetch(kFirstScreen));
    }
}
BENCHMARK(BM_OverviewCtrlEndBare)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

void BM_OverviewCtrlEndWritten(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    const OverviewFilter filter = FilterOf(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(WrittenOverviewRows(data, 1, filter));
}
BENCHMARK(BM_OverviewCtrlEndWritten)->Arg(0)->Arg(1)->ArgName("driver")->Unit(benchmark::kMillisecond);

void BM_OverviewCopyAllEntries(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(OverviewCopyText<OverviewEntryRow>(data.read, OverviewFilter{}));
}
BENCHMARK(BM_OverviewCopyAllEntries)->Unit(benchmark::kMillisecond)->Iterations(2);

// Every day-totals line of the database, each date's drivers in the order of their names.
void BM_OverviewCopyAllDayTotals(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(OverviewCopyText<OverviewTotalRow>(data.read, OverviewFilter{}));
}
BENCHMARK(BM_OverviewCopyAllDayTotals)->Unit(benchmark::kMillisecond)->Iterations(2);

// The driver list of the filter: every driver with an entry, by name.
void BM_OverviewDrivers(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadOverviewDrivers(data.read));
}
BENCHMARK(BM_OverviewDrivers)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
