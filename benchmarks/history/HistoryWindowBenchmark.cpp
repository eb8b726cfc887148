#include <QTableWidget>

#include "WindowBenchmark.h"
#include "gui/history/FrmHistory.h"
#include "history/ConnectionLog.h"
#include "history/HistoryFilter.h"

using namespace tollix;

namespace {

// A data folder whose log holds `count` connections and keeps 1000.
struct Fixture : WindowBenchmarkFolder {
    explicit Fixture(int count)
        : WindowBenchmarkFolder(Now())
    {
        program->LogNumber = 1000;
        const DateTime first = *DateTime::FromCivil(2024, 1, 1, 8, 0, 0);
        for (int i = 0; i < count; ++i) {
            ConnectionLogEntry e{FixName15(i % 3 ? "Home" : "Work"), first.AddSeconds(int64_t(i) * 5000),
                1860 + i, Money::FromRaw(11000 + i), Money::FromRaw(24000 + 7 * i), 11};
            AppendLogEntry(program->LogPath, e);
        }
    }
    static DateTime Now() { return *DateTime::FromCivil(2024, 3, 20, 12, 0, 0); }
};

// Opening the history window on a full 1000-entry log until the grid is filled.
void BM_OpenHistoryWindow(benchmark::State& state)
{
    Fixture fixture(int(state.range(0)));
    for (auto _ : state) {
        auto* window = new FrmHistory(*fixture.program, fixture.clock);
        window->show();
        window->Start();
        benchmark::DoNotOptimize(window->findChild<QTableWidget*>("MSFlexGrid1")->rowCount());
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenHistoryWindow)->Arg(1000)->Unit(benchmark::kMillisecond);

// A filter change: reading, filtering and totalling without the window.
void BM_LoadAndFilterHistory(benchmark::State& state)
{
    Fixture fixture(1000);
    for (auto _ : state) {
        HistoryLoadResult result = LoadHistory(
            fixture.program->LogPath, 1000, fixture.program->Tariffs, 1, kHistoryTwoMonths, Fixture::Now());
        benchmark::DoNotOptimize(SumHistory(result.Entries));
    }
}
BENCHMARK(BM_LoadAndFilterHistory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
