// The working-time record of one driver on the office-sized database: a year and five years,
// built with two statements for the whole period, built day by day (two statements a day, as
// first specified), and the two statements alone.

#include "bench_database.h"
#include "worktime_reference.h"

#include "temp_database.h"
#include "db/scopes.h"
#include "worktime/worktime_record.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDriver = 17;
const QDate kLastDay(2026, 11, 30);

QDate FirstDay(const benchmark::State& state)
{
    return kLastDay.addYears(-static_cast<int>(state.range(0))).addDays(1);
}

void BM_WorkTimeRecord(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadWorkTimeRecord(data.read, kDriver, FirstDay(state), kLastDay));
}
BENCHMARK(BM_WorkTimeRecord)->Arg(1)->Arg(5)->ArgName("years")->Unit(benchmark::kMillisecond);

void BM_WorkTimeRecordDayByDay(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(PerDayWorkTimeRecord(data, kDriver, FirstDay(state), kLastDay));
}
BENCHMARK(BM_WorkTimeRecordDayByDay)->Arg(1)->Arg(5)->ArgName("years")->Unit(benchmark::kMillisecond);

void BM_WorkTimeBareQueries(benchmark::State& state)
{
    TestConnection& data = BenchDatabase();
    for (auto _ : state) {
        ReadScope scope(data.read);
        Statement sql(data.read);
        sql.prepare("SELECT DUNOS.DATUM,S1,S2,S3,S4,S5,N1,N2,NAP FROM UNOS\nJOIN DUNOS ON UNOS.IDUNOS=DUNOS.IDUNOS\n"
                    "WHERE UNOS.IDVOZAC=:IDDJ AND DUNOS.DATUM>=:D1 AND DUNOS.DATUM<=:D2\n"
                    "PLAN SORT (JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1)))\nORDER BY DUNOS.DATUM,DUNOS.IDD");
        sql.setInt("IDDJ", kDriver);
        sql.setDate("D1", FirstDay(state));
        sql.setDate("D2", kLastDay);
        sql.execute();
        while (sql.next())
            benchmark::DoNotOptimize(sql.intValue(1));
        sql.prepare("SELECT TIP,RAZOD,RAZDO FROM AKTPOTVRDA WHERE IDVOZ=:IDV AND CAST(RAZOD AS DATE)<=:D2 AND\n"
                    "((RAZDO IS NULL AND CAST(RAZOD AS DATE)>=:D1) OR CAST(RAZDO AS DATE)>=:D1)\nORDER BY IDP");
        sql.setInt("IDV", kDriver);
        sql.setDate("D1", FirstDay(state));
        sql.setDate("D2", kLastDay);
        sql.execute();
        while (sql.next())
            benchmark::DoNotOptimize(sql.intValue(0));
    }
}
BENCHMARK(BM_WorkTimeBareQueries)->Arg(1)->Arg(5)->ArgName("years")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
