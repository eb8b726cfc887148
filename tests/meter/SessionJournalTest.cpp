#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ManualClock.h"
#include "TestSupport.h"
#include "base/Clock.h"
#include "history/ConnectionLog.h"
#include "meter/ConnectionSession.h"
#include "meter/Program.h"
#include "meter/SessionJournal.h"

namespace fs = std::filesystem;
using namespace tollix;

namespace {

using tollix::test::At;

class JournalFixture : public ::testing::Test {
protected:
    // A program run: loads the settings and statistics at `now`.
    std::unique_ptr<Program> Run(DateTime now)
    {
        clock_.Set(now);
        auto program = std::make_unique<Program>(dir_);
        LoadSettings(*program, {"Home"}, now);
        return program;
    }

    // A session of `seconds` connected ticks that the machine then loses power in.
    void CrashDuring(DateTime start, int seconds)
    {
        auto program = Run(start);
        ASSERT_TRUE(OpenStatistics(*program, start, nullptr));
        ConnectionSession session(*program, clock_);
        for (int i = 0; i < seconds; ++i) {
            session.Tick(true, "Home");
            clock_.Advance(1);
        }
        program->StatsFile.Close();
    }

    tollix::test::TempFolder folder_{"tollix-journal"};
    fs::path dir_ = folder_.Path();
    ManualClock clock_;
};

}  // namespace

TEST_F(JournalFixture, FollowsTheOpenSessionAndGoesWithIt)
{
    auto program = Run(At(2026, 12, 7, 12, 34, 56));  // kept to the second
    ASSERT_TRUE(OpenStatistics(*program, clock_.Now(), nullptr));
    ConnectionSession session(*program, clock_);
    const fs::path journal = program->JournalPath;
    session.Tick(true, "Home");
    ASSERT_TRUE(fs::exists(journal));
    clock_.Advance(130);
    session.Tick(true, "Home");
    auto state = ReadSessionJournal(journal);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->SessionSeconds, 130);
    EXPECT_EQ(state->MinutesCharged, 3);
    EXPECT_EQ(state->ConnectionName, "Home");
    EXPECT_EQ(state->SessionStart, At(2026, 12, 7, 12, 34, 56));
    session.Tick(false, "");
    EXPECT_FALSE(fs::exists(journal));  // recorded: nothing left to recover

    session.Tick(true, "Home");
    ASSERT_TRUE(fs::exists(journal));
    session.Discard();  // the user's own choice to drop it
    EXPECT_FALSE(fs::exists(journal));
}

TEST_F(JournalFixture, CrashedSessionIsRecoveredIntoItsOwnPeriods)
{
    const struct {
        const char* what;
        DateTime restart;
        int todayConnections;  // of the record current after the restart
        int weekConnections;
    } cases[] = {
        {"same day", At(2026, 12, 7, 14, 0, 0), 1, 1},
        {"next day, same week", At(2026, 12, 8, 9, 0, 0), 0, 1},
        {"next week", At(2026, 12, 14, 9, 0, 0), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir_ / "time.txt");
        fs::remove(dir_ / "Price.DB");
        CrashDuring(At(2026, 12, 7, 12, 0, 0), 200);  // last journal entry at 180 s

        auto program = Run(c.restart);
        RecoveryResult result = RecoverOpenSession(*program);
        ASSERT_TRUE(result.Recovered) << result.Error;
        EXPECT_NE(result.Report.find("Home"), std::string::npos);
        EXPECT_FALSE(fs::exists(program->JournalPath));
        ASSERT_TRUE(OpenStatistics(*program, c.restart, nullptr));
        const auto& r = program->Stats.Records;
        EXPECT_EQ(r[Today].Connections, c.todayConnections);
        EXPECT_EQ(r[Week].Connections, c.weekConnections);
        EXPECT_EQ(r[Total].Connections, 1);
        EXPECT_EQ(r[Total].Seconds, 180);
        EXPECT_EQ(r[Total].CallUnits, 2);  // the second unit began at 180 s
        EXPECT_EQ(r[Total].TelFee, Money::FromRaw(2400));
        EXPECT_EQ(r[Total].NetFee, Money::FromRaw(4000));

        auto log = LoadConnectionLog(program->LogPath, 50);
        ASSERT_EQ(log.Entries.size(), 1u);
        EXPECT_EQ(log.Entries[0].Seconds, 180);
        EXPECT_EQ(log.Entries[0].StartTime, At(2026, 12, 7, 12, 0, 0));

        // Recovered once only.
        EXPECT_FALSE(RecoverOpenSession(*program).Recovered);
    }
}

// A journal is trusted only whole: every line a key and value, every number
// nothing but digits, the start a real date and no count below zero.
TEST_F(JournalFixture, DamagedJournalIsSetAsideNotTrusted)
{
    const std::string body = "start=46363.5\nseconds=200\nunits=2\nminutes=4\ntariff=1\ntelfee=0\nnetfee=0\n";
    const std::string good = "tollix-session 1\n" + body + "name=Home\n";
    const std::string bad[] = {"", "garbage\n", "tollix-session 2\n" + body + "name=Home\n",
        "tollix-session 1\n" + body, good + "a line without a value\n", good + "seconds=-5\n",
        good + "units=2x\n", good + "start=nan\n", good + "start=1e300\n"};
    for (const auto& text : bad) {
        auto program = Run(At(2026, 12, 7, 12, 0, 0));
        std::ofstream(program->JournalPath, std::ios::binary) << text;
        RecoveryResult result = RecoverOpenSession(*program);
        EXPECT_FALSE(result.Recovered) << text;
        EXPECT_FALSE(result.Error.empty()) << text;
        EXPECT_FALSE(fs::exists(program->JournalPath));
        EXPECT_TRUE(fs::exists(fs::path(program->JournalPath.string() + ".damaged")));
        EXPECT_FALSE(fs::exists(program->LogPath));
        fs::remove(program->JournalPath.string() + ".damaged");
    }
    auto program = Run(At(2026, 12, 7, 12, 0, 0));
    std::ofstream(program->JournalPath, std::ios::binary) << good;
    EXPECT_TRUE(RecoverOpenSession(*program).Recovered) << "the undamaged journal";
}

// A journal written between two whole minutes: the statistics and the log get
// the time rounded up to the minute, the log its call units for that time, and
// the month follows the user's reset day.
TEST_F(JournalFixture, RecoveredSessionIsRoundedAndCountedInItsStatisticsMonth)
{
    std::ofstream(dir_ / "tollix.ini", std::ios::binary) << "[Reset]\r\nMonth=15\r\n";
    auto first = Run(At(2026, 11, 20, 9, 0, 0));  // every period starts on 20 November
    ASSERT_TRUE(OpenStatistics(*first, clock_.Now(), nullptr));
    first->StatsFile.Close();
    SessionState s;
    s.SessionStart = At(2026, 12, 10, 12, 0, 0);  // still November's statistics month
    s.SessionSeconds = 130;
    s.UnitsCharged = 1;
    s.MinutesCharged = 3;
    s.SessionTelFee = Money::FromRaw(1200);
    s.SessionNetFee = Money::FromRaw(3000);
    s.ConnectionName = "Home";
    ASSERT_TRUE(WriteSessionJournal(first->JournalPath, s));

    auto program = Run(At(2026, 12, 10, 14, 0, 0));
    ASSERT_TRUE(RecoverOpenSession(*program).Recovered);
    const auto& r = program->Stats.Records;
    EXPECT_EQ(r[Today].Connections + r[Week].Connections, 0) << "the day and week of 20 November are over";
    for (Period p : {Month, Total}) {
        EXPECT_EQ(r[p].Connections, 1) << p;
        EXPECT_EQ(r[p].Seconds, 180) << p;
        EXPECT_EQ(r[p].CallUnits, 1) << p;
        EXPECT_EQ(r[p].TelFee, Money::FromRaw(1200)) << p;
        EXPECT_EQ(r[p].NetFee, Money::FromRaw(3000)) << p;
        EXPECT_EQ(program->Stats.RunningNetFee[p], Money::FromRaw(3000)) << p;
    }
    auto log = LoadConnectionLog(program->LogPath, 50).Entries;
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(FormatLogLine(log[0]), "\"Home           \",180,#2026-12-10 12:00:00#,0.3,0.12,2");
}

TEST_F(JournalFixture, HugeJournalValuesStopAtTheEndsOfTheirRange)
{
    char start[64];
    std::snprintf(start, sizeof start, "%.17g", At(2026, 12, 7, 12, 0, 0).Days());
    const std::string text = std::string("tollix-session 1\nstart=") + start
        + "\nseconds=2147483647\nunits=2147483647\nminutes=1\ntariff=0\n"
          "telfee=9223372036854775807\nnetfee=-9223372036854775808\nname=Home\n";
    {
        StatisticsFile file(dir_ / "Price.DB");
        ASSERT_TRUE(file.Open());
        UsageRecord total;
        total.StartDate = At(2026, 1, 1);
        total.Connections = INT16_MAX;
        ASSERT_TRUE(file.Put(4, total));
    }
    // Two such crashes in a row: the second would carry every total past its end.
    for (int round = 0; round < 2; ++round) {
        auto program = Run(At(2026, 12, 7, 13, 0, 0));
        std::ofstream(program->JournalPath, std::ios::binary) << text;
        RecoveryResult result = RecoverOpenSession(*program);
        ASSERT_TRUE(result.Recovered) << result.Error;
        const UsageRecord& total = program->Stats.Records[Total];
        EXPECT_EQ(total.Connections, INT16_MAX);
        EXPECT_EQ(total.Seconds, INT32_MAX);
        EXPECT_EQ(total.CallUnits, INT32_MAX);
        EXPECT_EQ(total.TelFee.Raw(), INT64_MAX);
        EXPECT_EQ(total.NetFee.Raw(), INT64_MIN);
    }
    auto log = LoadConnectionLog(dir_ / "time.txt", 50);
    EXPECT_EQ(log.DamagedLine, 0);
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(log.Entries[0].TelFee.Raw(), INT64_MAX);
    EXPECT_EQ(log.Entries[0].NetFee.Raw(), INT64_MIN);
}
