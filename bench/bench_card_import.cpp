// A full driver card download: 28 days, each with as many activity changes as the largest
// generation 1 card holds (240, a change every six minutes) or a typical 40, and 84 vehicle
// records. Reading: the file from disk into its records and local days. Importing: finding the
// driver, vehicles and stored days, and storing every day (one entry each) in one transaction,
// into an empty database file opened by the embedded engine; the re-import of the same file,
// which finds every day stored already, is measured apart.

#include "card_file_writer.h"
#include "temp_database.h"

#include "cards/card_days.h"
#include "cards/card_import.h"
#include "temp_database.h"
#include "db/statement.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDays = 28;
constexpr int kMaxActivityBuffer = 13776; // 28 days of 240 changes

TestCard FullCard(CardGeneration generation, int changesPerDay)
{
    TestCard card;
    card.generation = generation;
    card.activityBufferSize = kMaxActivityBuffer;
    card.oldestAt = kMaxActivityBuffer / 2; // the records wrap round the buffer's end
    const int step = 1440 / changesPerDay;
    for (int d = 0; d < kDays; ++d) {
        TestDay day{QDate(2025, 3, 1).addDays(d), 400 + d, {}};
        for (int c = 0; c < changesPerDay; ++c)
            day.changes.push_back({c * step, (c + d) % 4, c % 7 == 3, c % 5 == 1, false});
        card.days.push_back(day);
        card.vehicles.push_back({QStringLiteral("ZG%1AB").arg(1000 + d % 3), 0x19, 1000 * d, 1000 * d + 400,
                                 Utc(2025, 3, 1 + d, 4), Utc(2025, 3, 1 + d, 20)});
    }
    return card;
}

QString WriteCardFile(const QTemporaryDir& folder, CardGeneration generation, int changesPerDay)
{
    const QString path = folder.filePath(QStringLiteral("kartica.ddd"));
    WriteBytes(path, WriteTestCard(FullCard(generation, changesPerDay)).bytes);
    return path;
}

void BM_ReadCardFile(benchmark::State& state)
{
    const auto generation = state.range(0) == 1 ? CardGeneration::First : CardGeneration::Second;
    QTemporaryDir folder;
    const QString path = WriteCardFile(folder, generation, int(state.range(1)));
    std::size_t days = 0;
    for (auto _ : state) {
        const CardDownload download = ReadCardDownload(path);
        days = LocalCardDays(download).size();
        benchmark::DoNotOptimize(days);
    }
    state.SetLabel(QStringLiteral("generacija %1, %2 lokalnih dana").arg(state.range(0)).arg(days).toStdString());
}
BENCHMARK(BM_ReadCardFile)->Args({1, 240})->Args({2, 240})->Args({1, 40})->Unit(benchmark::kMillisecond);

void BM_ImportCardFile(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = WriteCardFile(folder, CardGeneration::First, int(state.range(0)));
    const bool again = state.range(1) != 0;
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    const SignatureStatus notChecked{SignatureCheck::NotChecked, QStringLiteral("potpis nije provjeren")};
    const auto import = [&] {
        const CardImportPlan plan = PlanCardImport(data.read, ReadCardDownload(path), notChecked);
        return RunCardImport(data.write, plan, NightWindow{}, true);
    };
    if (again)
        import();
    int intervals = 0;
    for (auto _ : state) {
        const CardImportResult result = import();
        if (!result.done || result.stored + result.unchanged == 0)
            state.SkipWithError("import refused");
        state.PauseTiming();
        if (!again) {
            intervals = int(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")));
            data.write.startIfNotActive();
            Statement sql(data.write);
            for (const char* table : {"SATIUNOS", "DUNOS", "UNOS"}) {
                sql.prepare(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
                sql.execute();
            }
            data.write.commit();
        }
        state.ResumeTiming();
    }
    state.SetLabel(again ? "ponovni uvoz (sve već uvezeno)"
                         : QStringLiteral("%1 intervala").arg(intervals).toStdString());
}
BENCHMARK(BM_ImportCardFile)
    ->Args({240, 0})
    ->Args({40, 0})
    ->Args({240, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
