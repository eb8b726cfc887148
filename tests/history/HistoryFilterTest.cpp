#include <gtest/gtest.h>

#include "TestSupport.h"
#include "history/ConnectionLog.h"
#include "history/HistoryFilter.h"
#include "history/LogEntries.h"
#include "tariff/TariffSet.h"

#include <climits>

using tollix::ConnectionLogEntry;
using tollix::DateTime;
using tollix::test::At;
using tollix::test::LogEntry;

namespace {

// Wednesday 15 May 2024, noon.
const DateTime kNow = At(2024, 5, 15, 12, 0, 0);

TEST(HistoryFilterTest, PeriodsUseCalendarBoundaries)
{
    const struct {
        DateTime start;
        int16_t period;
        bool expected;
    } cases[] = {
        {At(2024, 5, 15, 0, 0, 0), tollix::kHistoryToday, true},
        {At(2024, 5, 14, 23, 59, 59), tollix::kHistoryToday, false},  // one second before today
        {At(2024, 5, 16, 1, 0, 0), tollix::kHistoryToday, false},     // a clock set wrong
        {At(2024, 5, 12, 0, 0, 0), tollix::kHistoryThisWeek, true},   // Sunday starts the week
        {At(2024, 5, 19, 9, 0, 0), tollix::kHistoryThisWeek, false},  // next Sunday
        {At(2024, 4, 30, 23, 59, 0), tollix::kHistoryThisMonth, false},
        {At(2024, 4, 1, 0, 0, 0), tollix::kHistoryTwoMonths, true},
        {At(2024, 3, 31, 23, 59, 0), tollix::kHistoryTwoMonths, false},
        {At(2024, 6, 1, 0, 0, 0), tollix::kHistoryTwoMonths, false},  // future month
        {At(2024, 6, 1, 0, 0, 0), tollix::kHistoryThisMonth, false},
        {At(1998, 1, 1, 0, 0, 0), tollix::kHistoryAll, true},
        {At(2030, 1, 1, 0, 0, 0), 7, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::InHistoryPeriod(c.start, c.period, kNow), c.expected)
            << tollix::DateTimeText(c.start) << " period " << c.period;
}

TEST(HistoryFilterTest, ConnectionNamesMatchAsLogged)
{
    const struct {
        std::string logged, phonebook;
        bool expected;
    } cases[] = {
        {"Home", "Home ", true},
        {"Home", "Hom", false},
        // The log keeps 15 characters, so a longer phonebook name matches nothing.
        {"A-very-long-connection", "A-very-long-connection", false},
        {"ZONE", "zone", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::SameConnectionName(tollix::FixName15(c.logged), c.phonebook), c.expected)
            << "'" << c.logged << "' vs '" << c.phonebook << "'";
}

TEST(HistoryFilterTest, FilterKeepsAsManyFromTheTopAsPassTheFilter)
{
    // After the clock was set back, the newest line carries an older date: the
    // count of today's entries is taken from the top of the list.
    const std::vector<ConnectionLogEntry> outOfOrder = {LogEntry("Home", At(2024, 5, 1, 10)),
        LogEntry("Home", At(2024, 5, 15, 9)), LogEntry("Home", At(2024, 5, 15, 8))};
    EXPECT_EQ(tollix::FilterHistory(outOfOrder, nullptr, tollix::kHistoryToday, kNow),
        (std::vector{outOfOrder[0], outOfOrder[1]}));
}

// The history window's rows: the log filtered by the last connection of the
// phonebook, numbered, named without padding, and summed; a total beyond 32
// bits of seconds does not wrap into a negative time.
TEST(HistoryFilterTest, LoadedRowsAndTheirTotals)
{
    tollix::test::TempFolder dir;
    const auto log = dir.Path() / "time.txt";
    ASSERT_TRUE(tollix::AppendMissingLogEntries(log,
        {LogEntry("Work", At(2024, 4, 30, 9), 3725, "0.36", "1.5"),
            LogEntry("Home", At(2024, 5, 2, 8), 60, "0.12", "0.1"),
            LogEntry("Work", At(2024, 5, 14, 20, 5), 120, "0.24", "0.2")}));
    tollix::TariffSet tariffs;
    tariffs.Connections.resize(2);
    tariffs.Connections[0].Name = "Home";
    tariffs.Connections[1].Name = "work";
    EXPECT_EQ(tollix::LoadHistory(log, 50, tariffs, 0, tollix::kHistoryThisMonth, kNow).Entries.size(), 2u);
    const auto shown = tollix::LoadHistory(log, 50, tariffs, 2, tollix::kHistoryTwoMonths, kNow);
    EXPECT_EQ(shown.LogCount, 3u);
    ASSERT_EQ(shown.Entries.size(), 2u);
    EXPECT_EQ(shown.Entries[0].ConnectionName, "Work");
    using Row = tollix::HistoryRowTexts;
    EXPECT_EQ(tollix::HistoryEntryRow(shown.Entries[0], 1),
        (Row{"1", "Work", "2024年05月14日20点05分", "2分", "0.2", "0.24", "0.44"}));
    EXPECT_EQ(tollix::HistoryTotalsRow(tollix::SumHistory(shown.Entries)),
        (Row{"合计", "", "", "1小时4分5秒", "1.7", "0.6", "2.3"}));
    const tollix::HistoryTotals big = tollix::SumHistory(std::vector(3, LogEntry("Home", kNow, INT32_MAX)));
    EXPECT_EQ(big.Seconds, 3LL * INT32_MAX);
    EXPECT_EQ(tollix::HistoryTotalsRow(big)[3], tollix::DurationText(INT32_MAX));
}

}  // namespace
