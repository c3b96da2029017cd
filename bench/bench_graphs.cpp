// The day graph and the period graph of one driver on the office-sized database (50 drivers,
// 10 years): as the windows read them, the same statements' rows alone (the engine's own time),
// and the queries as first written (left joins, the date cast, the driver id as text).

#include "bench_database.h"
#include "graph_reference.h"

#include "temp_database.h"
#include "db/scopes.h"
#include "reviews/day_record.h"
#include "reviews/period_record.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDriver = 17;
const QDate kLastDay(2026, 11, 30);
const QDate kDay(2026, 6, 15);

// Runs the statements with the parameters each names and reads every row.
void ReadRows(TestConnection& data, const QStringList& statements, const QDate& day, const QDate& from, const QDate& to)
{
    ReadScope scope(data.read);
    Statement sql(data.read);
    for (const QString& text : statements) {
        sql.prepare(text);
        sql.setInt("IDV", kDriver);
        if (text.contains(":D1")) {
            sql.setDate("D1", from);
            sql.setDate("D2", to);
        } else if (text.contains(":D")) {
            sql.setDate("D", day);
        }
        sql.execute();
        while (sql.next())
            benchmark::DoNotOptimize(sql.isNull(0));
    }
}

QDate FirstDay(const benchmark::State& state)
{
    return kLastDay.addDays(1 - state.range(0));
}

void BM_DayGraph(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDayRecord(data.read, kDriver, kDay));
}
BENCHMARK(BM_DayGraph)->Unit(benchmark::kMillisecond);

void BM_DayGraphBare(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        ReadRows(data, DayRecordStatements(), kDay, {}, {});
}
BENCHMARK(BM_DayGraphBare)->Unit(benchmark::kMillisecond);

void BM_DayGraphWritten(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(WrittenDayRecord(data, kDriver, kDay));
}
BENCHMARK(BM_DayGraphWritten)->Unit(benchmark::kMillisecond);

// Opening the period graph: the driver's name and range, and the last 29 days.
void BM_PeriodOpen(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state) {
        const PeriodDriver driver = LoadPeriodDriver(data.read, kDriver);
        const auto [from, to] = InitialPeriod(*driver.lastDay);
        benchmark::DoNotOptimize(LoadPeriodDays(data.read, kDriver, from, to, false));
    }
}
BENCHMARK(BM_PeriodOpen)->Unit(benchmark::kMillisecond);

void BM_PeriodOpenBare(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state) {
        ReadRows(data, PeriodDriverStatements(), {}, {}, {});
        ReadRows(data, {PeriodDaysStatement()}, {}, kLastDay.addDays(-28), kLastDay);
    }
}
BENCHMARK(BM_PeriodOpenBare)->Unit(benchmark::kMillisecond);

void BM_PeriodOpenWritten(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WrittenPeriodDriver(data, kDriver));
        benchmark::DoNotOptimize(WrittenPeriodIntervals(data, kDriver, kLastDay.addDays(-28), kLastDay));
    }
}
BENCHMARK(BM_PeriodOpenWritten)->Unit(benchmark::kMillisecond);

// "Obnovi" of the period graph over 29 days and over ten years (3,652 lines).
void BM_PeriodRefresh(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPeriodDays(data.read, kDriver, FirstDay(state), kLastDay, false));
}
BENCHMARK(BM_PeriodRefresh)->Arg(29)->Arg(3652)->ArgName("days")->Unit(benchmark::kMillisecond);

void BM_PeriodRefreshBare(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        ReadRows(data, {PeriodDaysStatement()}, {}, FirstDay(state), kLastDay);
}
BENCHMARK(BM_PeriodRefreshBare)->Arg(29)->Arg(3652)->ArgName("days")->Unit(benchmark::kMillisecond);

void BM_PeriodRefreshWritten(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(WrittenPeriodIntervals(data, kDriver, FirstDay(state), kLastDay));
}
BENCHMARK(BM_PeriodRefreshWritten)->Arg(29)->Arg(3652)->ArgName("days")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
