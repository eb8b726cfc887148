#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "base/Gbk.h"
#include "history/ConnectionLog.h"
#include "history/ReportCommand.h"
#include "history/UsageArchive.h"

namespace fs = std::filesystem;
using namespace tollix;

namespace {

fs::path TempDir()
{
    std::string templ = (fs::temp_directory_path() / "tollix-archivebench-XXXXXX").string();
    return ::mkdtemp(templ.data());
}

ConnectionLogEntry Entry(int i)
{
    const char* names[] = {"Home", "163", "中国电信拨号上网", "Office ISP"};
    ConnectionLogEntry e;
    e.ConnectionName = FixName15(names[i % 4]);
    // Hourly connections from 2021 on: 40 000 of them reach into 2025.
    e.StartTime = DateTime::FromCivil(2021, 1, 1)->AddSeconds(int64_t(i) * 3600);
    e.Seconds = 60 * (1 + i % 50);
    e.TelFee = Money::FromRaw(1000 * (i % 50));
    e.NetFee = Money::FromRaw(667 * (i % 90));
    e.CallUnits = int16_t(1 + i % 30);
    return e;
}

// The end of a session as it is today (the log line, flushed to disk) and
// with the archive's step after it (one row, committed to disk).
void BM_EndOfSessionWrite(benchmark::State& state)
{
    const bool withArchive = state.range(0) != 0;
    const fs::path dir = TempDir();
    auto opened = UsageArchive::OpenForWriting(dir);
    int i = 0;
    for (auto _ : state) {
        const ConnectionLogEntry e = Entry(i);
        AppendLogEntry(dir / "time.txt", e);
        if (withArchive) {
            ArchivedConnection c;
            c.SessionKey = "bench-" + std::to_string(i);
            c.Start = e.StartTime;
            c.Seconds = e.Seconds;
            c.ConnectionName = "Home";
            c.TelFee = e.TelFee;
            c.NetFee = e.NetFee;
            c.CallUnits = e.CallUnits;
            if (!opened.Archive->Store(c))
                state.SkipWithError("store failed");
        }
        ++i;
    }
    opened.Archive.reset();
    fs::remove_all(dir);
}
BENCHMARK(BM_EndOfSessionWrite)->ArgName("archive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// `tollix report` over five years of hourly connections (40 000), read from
// the archive, totalled and printed.
void BM_Report(benchmark::State& state)
{
    const fs::path dir = TempDir();
    std::string log;
    for (int i = 0; i < 40000; ++i)
        log += FormatLogLine(Entry(i)) + "\r\n";
    {
        std::ofstream(dir / "time.txt", std::ios::binary) << Utf8ToGbk(log);
        auto opened = UsageArchive::OpenForWriting(dir);  // the import builds the archive
        if (!opened.Archive || opened.ImportedLines != 40000)
            state.SkipWithError("archive not built");
    }
    const std::vector<std::string> args = {"--by", state.range(0) ? "day" : "month", "--format", "csv"};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunReport(args, out, err, dir, *DateTime::FromCivil(2025, 8, 1)) != 0)
            state.SkipWithError("report failed");
        benchmark::DoNotOptimize(out.str().size());
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Report)->ArgName("by_day")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
