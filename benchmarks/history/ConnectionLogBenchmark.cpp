#include <benchmark/benchmark.h>

#include "base/Gbk.h"
#include "history/ConnectionLog.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A log of `lines` connections under a few names, Chinese ones among them, as
// the program writes it.
fs::path MakeLog(int lines)
{
    std::string templ = (fs::temp_directory_path() / "tollix-logbench-XXXXXX").string();
    fs::path dir = ::mkdtemp(templ.data());
    const char* names[] = {"Home", "163", "中国电信拨号上网", "Office ISP"};
    std::ofstream out(dir / "time.txt", std::ios::binary);
    std::string text;
    for (int i = 0; i < lines; ++i) {
        tollix::ConnectionLogEntry e;
        e.ConnectionName = tollix::FixName15(names[i % 4]);
        e.StartTime = *tollix::DateTime::FromCivil(2026, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60);
        e.Seconds = 60 * (1 + i % 90);
        e.TelFee = tollix::Money::FromRaw(1000 * (i % 50));
        e.NetFee = tollix::Money::FromRaw(667 * (i % 90));
        e.CallUnits = int16_t(1 + i % 30);
        text += tollix::FormatLogLine(e) + "\r\n";
        if (i % 1000 == 999 || i + 1 == lines) {
            out << tollix::Utf8ToGbk(text);  // in slices, so the set-up stays small
            text.clear();
        }
    }
    return dir / "time.txt";
}

// The history window's load of a log already at its kept length: every line
// read, checked and handed over; the file is already in the written form.
void BM_LoadKeptLog(benchmark::State& state)
{
    const int lines = int(state.range(0));
    const fs::path log = MakeLog(lines);
    for (auto _ : state) {
        auto result = tollix::LoadConnectionLog(log, lines);
        benchmark::DoNotOptimize(result.Entries.data());
        if (int(result.Entries.size()) != lines)
            state.SkipWithError("wrong entry count");
    }
    fs::remove_all(log.parent_path());
}
BENCHMARK(BM_LoadKeptLog)->Arg(1000)->Unit(benchmark::kMillisecond);

// A log grown by hand to 100,000 lines, cut to the longest kept length. Each
// run starts from a fresh copy, since the load itself shortens the file.
void BM_LoadAndTrimLongLog(benchmark::State& state)
{
    const int lines = int(state.range(0));
    const fs::path log = MakeLog(lines);
    const fs::path work = log.parent_path() / "work.txt";
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(log, work, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        auto result = tollix::LoadConnectionLog(work, 1000);
        benchmark::DoNotOptimize(result.Entries.data());
        if (result.Entries.size() != 1000 || !result.Rewritten)
            state.SkipWithError("wrong result");
    }
    fs::remove_all(log.parent_path());
}
BENCHMARK(BM_LoadAndTrimLongLog)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
