// Storing one manual entry of a day (twelve intervals) in its own transaction, into a database
// file opened by the embedded engine and into the same kind of database through the Firebird
// server on this computer (run with the environment scripts/firebird_server.sh prints).

#include "temp_database.h"

#include "temp_database.h"
#include "entries/entry_store.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kIntervals = 12;

ManualEntry DayOfIntervals(int dayNumber)
{
    std::vector<IntervalRow> rows;
    for (int i = 0; i < kIntervals; ++i)
        rows.push_back({i % 2 ? ActivityKind::Driving : ActivityKind::Rest, ClockText(i * 2 * kMinutesPerHour),
                        ClockText((i + 1) * 2 * kMinutesPerHour), "", ""});
    ManualEntry entry;
    entry.driverId = 1;
    entry.vehicleId = 1;
    entry.date = QDate(2024, 1, 1).addDays(dayNumber);
    entry.intervals = IntervalsFromRows(rows);
    return entry;
}

void BM_StoreEntry(benchmark::State& state)
{
    const bool onServer = state.range(0) != 0;
    const QByteArray server = qgetenv("VELTRA_SERVER_AVAILABLE");
    if (onServer && server.isEmpty()) {
        state.SkipWithError("no Firebird server: run with the environment of scripts/firebird_server.sh");
        return;
    }
    if (onServer)
        qputenv("VELTRA_TEST_SERVER", server);
    else
        qunsetenv("VELTRA_TEST_SERVER");
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    int day = 0;
    for (auto _ : state) {
        ManualEntry entry = DayOfIntervals(day++);
        if (!StoreManualEntry(data.write, entry).done)
            state.SkipWithError("store refused");
    }
    state.SetLabel(onServer ? "server (localhost)" : "embedded");
}
BENCHMARK(BM_StoreEntry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
