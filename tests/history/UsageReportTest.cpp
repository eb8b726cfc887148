#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "TestSupport.h"
#include "history/ReportCommand.h"
#include "history/UsageReport.h"

using namespace tollix;
using namespace tollix::test;

namespace {

ArchivedConnection C(const char* name, DateTime start, int32_t seconds, int64_t telRaw, int64_t netRaw)
{
    ArchivedConnection c;
    c.ConnectionName = name;
    c.Start = start;
    c.Seconds = seconds;
    c.TelFee = Money::FromRaw(telRaw);
    c.NetFee = Money::FromRaw(netRaw);
    return c;
}

// Weeks from Monday, statistics months from the 15th: 14 March 2026 is a
// Saturday, 15 March a Sunday, 16 March a Monday.
const ReportCalendar kMonday15{1, 15};
const std::vector<ArchivedConnection> kUse = {
    C("B", At(2026, 1, 10, 10), 60, 1000, 2000),
    C("A", At(2026, 3, 14, 23, 50), 600, 10000, 20000),
    C("B", At(2026, 3, 15, 0, 10), 120, 5000, 0),
    C("A", At(2026, 3, 16, 8), 180, 2500, 7500),
    C("B", At(2026, 4, 14, 23, 59, 59), 60, 100, 0),
    C("B", At(2026, 4, 15), 60, 0, 10000),
};

// Key, connections, seconds, telephone and net fee (raw).
using Row = std::tuple<std::string, int64_t, int64_t, int64_t, int64_t>;

}  // namespace

TEST(UsageReport, TotalsAcrossWeekAndMonthResetDays)
{
    const ReportRange march1ToMay1{At(2026, 3, 1), At(2026, 5, 1)};
    const ReportRange always{At(1900, 1, 1), At(9999, 1, 1)};
    const struct {
        const char* what;
        ReportCalendar calendar;
        ReportGrouping by;
        ReportRange range;
        std::vector<ArchivedConnection> use;
        std::vector<Row> expected;
    } cases[] = {
        {"weeks from Monday: Sunday the 15th ends the week of the 9th", kMonday15, ReportGrouping::Week,
            march1ToMay1, kUse,
            {{"2026-03-09", 2, 720, 15000, 20000}, {"2026-03-16", 1, 180, 2500, 7500},
                {"2026-04-13", 2, 120, 100, 10000}}},
        {"months from the 15th: the 14th is last month, 14 April still this one", kMonday15,
            ReportGrouping::Month, march1ToMay1, kUse,
            {{"2026-02", 1, 600, 10000, 20000}, {"2026-03", 3, 360, 7600, 7500},
                {"2026-04", 1, 60, 0, 10000}}},
        {"years are twelve statistics months: 10 January belongs to 2025", kMonday15, ReportGrouping::Year,
            always, kUse, {{"2025", 1, 60, 1000, 2000}, {"2026", 5, 1020, 17600, 37500}}},
        {"by connection, within the range", kMonday15, ReportGrouping::Connection, march1ToMay1, kUse,
            {{"A", 2, 780, 12500, 27500}, {"B", 3, 240, 5100, 10000}}},
        {"reset day 31: February has none, so its month starts on 1 March", {0, 31}, ReportGrouping::Month,
            always, {C("A", At(2026, 2, 28), 60, 1, 0), C("A", At(2026, 3, 1), 60, 2, 0)},
            {{"2026-01", 1, 60, 1, 0}, {"2026-02", 1, 60, 2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Row> rows;
        for (const ReportRow& row : AggregateUsage(c.use, c.by, c.range, c.calendar).Rows)
            rows.push_back({row.Key, row.Totals.Connections, row.Totals.Seconds, row.Totals.TelFee.Raw(),
                row.Totals.NetFee.Raw()});
        EXPECT_EQ(rows, c.expected);
    }
    EXPECT_EQ(AggregateUsage(kUse, ReportGrouping::Week, march1ToMay1, kMonday15).Total.Seconds, 1020);
}

TEST(UsageReport, ForecastsTheMonthAtTodaysPace)
{
    // 24 March is day 10 of the 31-day month from 15 March (the forecast scales
    // by both); 1.5 yuan and 300 seconds so far (14 April's connection lies in
    // the future).
    const MonthForecast f = ForecastMonth(kUse, At(2026, 3, 24, 12), kMonday15);
    EXPECT_EQ(f.SoFar.TotalFee(), Money::FromRaw(15000));
    EXPECT_EQ(f.TotalFee, Money::FromRaw(46500));
    EXPECT_EQ(f.Seconds, 930);
}

TEST(ReportCommand, BadArgumentsAreRefusedWithExitTwo)
{
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--by", "hour"}, "--by 只能是"},
        {{"--period", "decade"}, "--period 只能是"},
        {{"--format", "xml"}, "--format 只能是"},
        {{"--from", "2026-02-30"}, "日期“2026-02-30”无效"},
        {{"--to=2026-3-5"}, "日期“2026-3-5”无效"},
        {{"--from", "2026-03-02", "--to", "2026-03-01"}, "开始日期晚于结束日期"},
        {{"--period", "month", "--from", "2026-03-01"}, "不能和 --from、--to 同时使用"},
        {{"--from"}, "缺少值"},
        {{"monthly"}, "无法识别的参数“monthly”"},
    };
    TempFolder home;
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunReport(c.args, out, err, home.Path(), At(2026, 3, 24)), 2) << c.says;
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));  // nothing created, even on the way
}

// Before the first connection there is no archive and nothing to report; a
// log still waiting to be taken over is not "nothing".
TEST(ReportCommand, NoArchiveYetIsAnEmptyReportUnlessALogWaits)
{
    TempFolder home;
    std::ostringstream out, err;
    EXPECT_EQ(RunReport({"--format", "csv"}, out, err, home.Path(), At(2026, 3, 24)), 0) << err.str();
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
    WriteFile(home.Path() / "time.txt", "");
    EXPECT_EQ(RunReport({}, out, err, home.Path(), At(2026, 3, 24)), 1);
    EXPECT_NE(err.str().find("usage.sqlite"), std::string::npos) << err.str();
}
