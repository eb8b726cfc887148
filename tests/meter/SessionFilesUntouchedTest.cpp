// While a connection is up the meter keeps its totals in memory: the data files
// are written once when a session opens and once when it closes, never in
// between, so a busy line costs no disk traffic and a file copied or backed up
// mid-session is whole. Only the crash journal changes in between.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "ManualClock.h"
#include "TestSupport.h"
#include "base/Clock.h"
#include "meter/ConnectionSession.h"
#include "meter/Program.h"

namespace fs = std::filesystem;
using namespace tollix;

namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s = 0)
{
    return *DateTime::FromCivil(y, mo, d, h, mi, s);
}

// Every file of the data folder but the journal, as its bytes and modification
// time. The times are first set far into the past, so a write (or a file
// replaced by rename) shows even within the file system's timestamp granularity.
std::map<std::string, std::string> Snapshot(const fs::path& dir, const fs::path& journal, bool backdate)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path() == journal)
            continue;
        if (backdate)
            fs::last_write_time(
                entry.path(), fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 20));
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()]
            = std::to_string(fs::last_write_time(entry.path()).time_since_epoch().count()) + " "
            + std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

using Steps = std::function<void(ConnectionSession&, ManualClock&)>;

void Seconds(ConnectionSession& session, ManualClock& clock, int count, const std::string& name = "Home")
{
    for (int i = 0; i < count; ++i) {
        clock.Advance(1);
        ASSERT_FALSE(session.Tick(true, name).Ended);
    }
}

}  // namespace

TEST(SessionFilesUntouched, OnlyTheJournalChangesBetweenStartAndEnd)
{
    const std::string discount = "[Telephone Fee]\r\nEveryday Flag=1\r\n[Home]\r\nEveryday Flag=1\r\n";
    const struct {
        const char* what;
        DateTime start;
        std::string ini;
        Steps steps;  // what happens after the opening tick, with the line up
    } cases[] = {
        {"five minutes", At(2026, 12, 7, 12, 0), "",
            [](ConnectionSession& s, ManualClock& c) { Seconds(s, c, 300); }},
        {"across the discount start and midnight", At(2026, 12, 7, 20, 57), discount,
            [](ConnectionSession& s, ManualClock& c) {
                Seconds(s, c, 240);
                c.Advance(3 * 3600);  // a stall of three hours, caught up in one tick
                Seconds(s, c, 120);
            }},
        {"wall clock corrected both ways", At(2026, 12, 7, 12, 0), "",
            [](ConnectionSession& s, ManualClock& c) {
                Seconds(s, c, 100);
                c.SetWallOnly(At(2026, 12, 7, 11, 0));
                Seconds(s, c, 100);
                c.SetWallOnly(At(2026, 12, 8, 12, 0));
                Seconds(s, c, 100);
            }},
        {"name known only after the start", At(2026, 12, 7, 12, 0), "[Work]\r\nFull Fee=300\r\n",
            [](ConnectionSession& s, ManualClock& c) {
                Seconds(s, c, 90, "");
                Seconds(s, c, 200, "Work");
            }},
        {"rated hours past the allowance", At(2026, 12, 7, 12, 0),
            "[Home]\r\nFee Type=2\r\nFix Hour=0\r\nExcel Fee=150\r\n",
            [](ConnectionSession& s, ManualClock& c) { Seconds(s, c, 400); }},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tollix::test::TempFolder folder("tollix-quiet");
        const fs::path dir = folder.Path();
        std::ofstream(dir / "tollix.ini", std::ios::binary) << c.ini;

        ManualClock clock(c.start.AddSeconds(-3600));
        Program program(dir);
        LoadSettings(program, {"Home", "Work", "Other"}, clock.Now());
        std::string error;
        ASSERT_TRUE(OpenStatistics(program, clock.Now(), &error)) << error;
        ConnectionSession session(program, clock);
        // An earlier connection, so that both data files exist and hold something.
        session.Tick(true, "Home");
        Seconds(session, clock, 30);
        ASSERT_TRUE(session.Tick(false, "").Ended);

        clock.Set(c.start);
        ASSERT_TRUE(session.Tick(true, "Home").Started);
        const auto atStart = Snapshot(dir, program.JournalPath, true);
        ASSERT_TRUE(atStart.count("Price.DB"));
        ASSERT_TRUE(atStart.count("time.txt"));

        c.steps(session, clock);
        ASSERT_FALSE(session.Idle());
        EXPECT_EQ(Snapshot(dir, program.JournalPath, false), atStart);
        // The crash protection did its work meanwhile.
        EXPECT_TRUE(fs::exists(program.JournalPath));

        clock.Advance(1);
        TickResult end = session.Tick(false, "");
        ASSERT_TRUE(end.Ended);
        EXPECT_EQ(end.Error, "");
        // The end does write both files, so the quiet above was not for want of
        // anything to record.
        const auto atEnd = Snapshot(dir, program.JournalPath, false);
        EXPECT_NE(atStart.at("Price.DB"), atEnd.at("Price.DB"));
        EXPECT_NE(atStart.at("time.txt"), atEnd.at("time.txt"));
        EXPECT_FALSE(fs::exists(program.JournalPath));
    }
}
