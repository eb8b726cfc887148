#include <QEventLoop>

#include "WindowBenchmark.h"
#include "gui/charts/FrmCharts.h"
#include "history/UsageArchive.h"

using namespace tollix;

namespace {

// An archive of five years of connections, one every 66 minutes (about
// 40 000), in two names.
struct Fixture : WindowBenchmarkFolder {
    Fixture()
        : WindowBenchmarkFolder(Now())
    {
        auto archive = UsageArchive::OpenForWriting(program->DataFolder).Archive;
        const DateTime first = *DateTime::FromCivil(2020, 1, 1, 8, 0, 0);
        for (int i = 0; i < kConnections; ++i) {
            ArchivedConnection c;
            c.SessionKey = "bench " + std::to_string(i);
            c.Start = first.AddSeconds(int64_t(i) * 66 * 60);
            c.Seconds = 60 * (1 + i % 50);
            c.ConnectionName = i % 3 ? "Home" : "Work";
            c.TelFee = Money::FromRaw(1200 * (1 + i % 5));
            c.NetFee = Money::FromRaw(1000 * (1 + i % 50));
            c.ReceivedBytes = 4000 * c.Seconds;
            c.SentBytes = 500 * c.Seconds;
            archive->Store(c);
        }
    }
    static constexpr int kConnections = 40000;
    static DateTime Now() { return *DateTime::FromCivil(2024, 12, 20, 12, 0, 0); }
};

// From the window's creation until the archive is read and both charts and
// the forecast are drawn.
Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void BM_OpenChartsWindow(benchmark::State& state)
{
    Fixture& fixture = Shared();
    for (auto _ : state) {
        auto* window = new FrmCharts(*fixture.program, fixture.clock);
        QEventLoop wait;
        QObject::connect(window, &FrmCharts::loaded, &wait, &QEventLoop::quit);
        window->show();
        window->Start();
        wait.exec();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["connections"] = Fixture::kConnections;
}
BENCHMARK(BM_OpenChartsWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// The worker's part alone: every connection read from the archive.
void BM_ReadWholeArchive(benchmark::State& state)
{
    Fixture& fixture = Shared();
    const auto file = fixture.program->DataFolder / kUsageArchiveFileName;
    for (auto _ : state) {
        auto archive = UsageArchive::OpenReadOnly(file);
        benchmark::DoNotOptimize(
            archive->Query(*DateTime::FromCivil(1900, 1, 1), *DateTime::FromCivil(9999, 1, 1))->size());
    }
}
BENCHMARK(BM_ReadWholeArchive)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
