#include <gtest/gtest.h>

#include "TestSupport.h"
#include "meter/Statistics.h"

#include <limits>

using namespace tollix;
using namespace tollix::test;

namespace {

UsageRecord Used(DateTime start, int64_t telYuan, int64_t netYuan)
{
    return UsageRecord{start, Money::FromYuan(telYuan), Money::FromYuan(netYuan), 4, 3600, 20};
}

}  // namespace

// Whether a record started at `start` is still current at `now`: days by the
// calendar, weeks from the reset weekday (0 Sunday ... 6 Saturday, out of range
// the nearest), months from the reset day of the month.
TEST(StatisticsPeriods, SameDayWeekAndMonth)
{
    const struct {
        char period;  // D, W or M
        int reset;
        DateTime start, now;
        bool same;
    } cases[] = {{'D', 0, At(2026, 3, 10, 23, 59, 59), At(2026, 3, 11), false},
        {'D', 0, At(2026, 3, 10, 22), At(2026, 3, 10, 8), true},  // clock set back, same date
        {'D', 0, At(2026, 3, 11, 8), At(2026, 3, 10, 8), false},  // clock set back a day
        // 6 December 2026 is a Sunday.
        {'W', 1, At(2026, 12, 6, 12), At(2026, 12, 7, 0, 0, 1), false},
        {'W', 0, At(2026, 12, 6, 12), At(2026, 12, 6, 8), true},  // clock back within the week
        {'W', 0, At(2026, 12, 14), At(2026, 12, 12), false},      // start in a later week
        {'W', 6, At(2026, 12, 11), At(2026, 12, 12), false},
        {'W', 6, At(2026, 12, 12), At(2026, 12, 18), true},
        {'W', -4, At(2026, 12, 6), At(2026, 12, 12), true},
        {'W', 9, At(2026, 12, 11), At(2026, 12, 12), false}, {'W', 0, At(2026, 12, 27), At(2027, 1, 2), true},
        {'M', 1, At(2026, 1, 31, 23, 59), At(2026, 2, 1), false},
        {'M', 15, At(2026, 3, 10), At(2026, 3, 14, 23, 59), true},
        {'M', 15, At(2026, 3, 10), At(2026, 3, 15), false},
        {'M', 15, At(2026, 3, 20), At(2026, 4, 14, 23, 59), true},
        {'M', 15, At(2026, 3, 20), At(2026, 4, 15), false}, {'M', 15, At(2026, 1, 20), At(2026, 3, 1), false},
        // A start before the reset day belongs to the statistics month that
        // ended on that day, so it is not current a calendar month later.
        {'M', 15, At(2026, 3, 10), At(2026, 4, 10), false}, {'M', 15, At(2026, 3, 15), At(2026, 4, 14), true},
        {'M', 15, At(2025, 12, 20), At(2026, 1, 10), true},
        // Clock set back.
        {'M', 15, At(2026, 3, 20), At(2026, 3, 16), true}, {'M', 15, At(2026, 4, 20), At(2026, 3, 10), false},
        // Reset days past the month's end are its last day.
        {'M', 40, At(2026, 1, 31), At(2026, 2, 28), true}, {'M', 40, At(2026, 1, 31), At(2026, 3, 1), false},
        {'M', 31, At(2026, 3, 1), At(2026, 3, 31), false}};
    for (const auto& c : cases) {
        const bool same = c.period == 'D' ? SameDayPeriod(c.now, c.start)
            : c.period == 'W'             ? SameWeekPeriod(c.now, c.start, c.reset)
                                          : SameMonthPeriod(c.now, c.start, c.reset, c.now);
        EXPECT_EQ(same, c.same) << c.period << c.reset << ": " << DateTimeText(c.start) << " / "
                                << DateTimeText(c.now);
    }
}

TEST(Statistics, StartUpRollsOverOnlyEndedPeriods)
{
    // Wednesday 10 June 2026; weeks start on Monday, months on the 5th.
    const DateTime now = At(2026, 6, 10, 9, 0);
    const DateTime day = At(2026, 6, 10, 1), week = At(2026, 6, 8), month = At(2026, 6, 5),
                   total = At(2020, 1, 1);
    const struct {
        const char* name;
        DateTime start[4];  // none: a never-used record
        bool reset[4];
        bool told = false;  // that the clock lies behind the records
    } cases[] = {
        {"never used", {}, {true, true, true, true}},
        {"new day and month", {At(2026, 6, 9, 23), week, At(2026, 6, 4), total}, {true, false, true, false}},
        {"new week only", {day, At(2026, 6, 7), month, total}, {false, true, false, false}},
        // Only a forward move of the clock ends a period: set right again, it
        // finds the records whole.
        {"clock set back to before every start",
            {At(2026, 7, 1), At(2026, 7, 1), At(2026, 7, 1), At(2026, 7, 1)}, {false, false, false, false},
            true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        StatisticsFile file(dir.Path() / "Price.DB");
        ASSERT_TRUE(file.Open());
        UsageRecord stored[4];
        for (int n = 0; n < 4; ++n)
            if (c.start[n].Days() != 0)
                stored[n] = Used(c.start[n], 2 * n + 1, 2 * n + 2);
        // Call units, not connections, tell a used record from a new one.
        stored[1].Connections = 0;
        for (int n = 1; n <= 4; ++n)
            ASSERT_TRUE(file.Put(n, stored[n - 1]));

        Statistics stats;
        ASSERT_TRUE(stats.StartUp(file, now, 1, 5));
        for (size_t i = 0; i < 4; ++i) {
            UsageRecord expected = stored[i];
            if (c.reset[i])
                ResetUsageRecord(expected, now);
            EXPECT_EQ(stats.Records[i], expected) << i;
            EXPECT_EQ(file.Get(int(i) + 1), expected) << i;
            // The first connection of a new period must not carry the old fees.
            EXPECT_EQ(stats.RunningTelFee[i], expected.TelFee) << i;
            EXPECT_EQ(stats.RunningNetFee[i], expected.NetFee) << i;
        }
        EXPECT_EQ(stats.Notice.empty(), !c.told) << stats.Notice;
        stats.Notice.clear();
        ASSERT_TRUE(stats.RollOverPeriods(file, now, 1, 5));
        EXPECT_EQ(stats.Notice, "") << "said once";
    }
}

TEST(Statistics, DamagedStartDatesKeepTheTotals)
{
    const DateTime now = At(2026, 6, 10, 9, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    UsageRecord negative = Used(DateTime::FromDays(2958466.0), 3, 4);  // 1 January 10000
    negative.Seconds = -1;
    const UsageRecord stored[4] = {Used(DateTime::FromDays(nan), 1, 2), negative, Used(At(2026, 6, 5), 5, 6),
        Used(DateTime::FromDays(nan), 7, 8)};
    UsageRecord expected[4] = {{}, {}, stored[2], stored[3]};
    ResetUsageRecord(expected[0], now);      // a period with no date starts anew
    ResetUsageRecord(expected[1], now);      // as does one with nothing sound
    expected[3].StartDate = At(2026, 6, 5);  // the earliest period still on record

    TempFolder dir;
    StatisticsFile file(dir.Path() / "Price.DB");
    ASSERT_TRUE(file.Open());
    for (int n = 1; n <= 4; ++n)
        ASSERT_TRUE(file.Put(n, stored[n - 1]));
    Statistics stats;
    ASSERT_TRUE(stats.StartUp(file, now, 1, 5));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(stats.Records[i], expected[i]) << i;
        EXPECT_EQ(file.Get(int(i) + 1), expected[i]) << i;
    }
    EXPECT_NE(stats.Notice.find("总计：数值都已保留，开始日期改为 2026年6月5日"), std::string::npos)
        << stats.Notice;
}

TEST(Statistics, UserResetAndWritesTouchOnlyTheirRecords)
{
    TempFolder dir;
    StatisticsFile file(dir.Path() / "Price.DB");
    ASSERT_TRUE(file.Open());
    Statistics stats;
    for (size_t i = 0; i < 4; ++i)
        stats.Records[i] = Used(At(2026, 6, 1), int64_t(i + 1), int64_t(i + 10));
    ASSERT_TRUE(stats.WriteAll(file));
    stats.LoadRunningTotals();
    stats.RunningTelFee[Month] += Money::FromYuan(100);  // a connection in progress

    const DateTime now = At(2026, 6, 2, 12, 30);
    ASSERT_TRUE(stats.ResetPeriod(file, Month, now));
    UsageRecord zeroed;
    zeroed.StartDate = now;
    EXPECT_EQ(stats.Records[Month], zeroed);
    EXPECT_EQ(stats.RunningTelFee[Month], Money());
    EXPECT_EQ(stats.RunningNetFee[Month], Money());
    EXPECT_EQ(stats.RunningTelFee[Week], Money::FromYuan(2));
    ASSERT_TRUE(stats.ResetPeriod(file, Total, now));
    EXPECT_EQ(stats.Records[Total], zeroed);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(file.Get(n), stats.Records[size_t(n - 1)]) << n;
    EXPECT_FALSE(stats.ResetPeriod(file, static_cast<Period>(7), now));
}
