#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/DateTime.h"

using tollix::CivilTime;
using tollix::DateTime;
using tollix::test::At;

TEST(DateTime, DayCountMatchesTheStoredForm)
{
    EXPECT_DOUBLE_EQ(At(1998, 10, 5, 12).Days(), 36073.5);
    EXPECT_DOUBLE_EQ(At(1899, 12, 29, 6).Days(), -1.25);
    EXPECT_EQ(DateTime::FromDays(-1.25).ToCivil(), (CivilTime{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(DateTime::FromDays(36073.99999999).ToCivil(), (CivilTime{1998, 10, 6, 0, 0, 0}));
    EXPECT_FALSE(DateTime::FromCivil(1900, 2, 29));
    EXPECT_TRUE(DateTime::FromCivil(2000, 2, 29));
    EXPECT_FALSE(DateTime::FromCivil(99, 1, 1));
    EXPECT_FALSE(DateTime::FromCivil(2026, 13, 1));
    EXPECT_FALSE(DateTime::FromCivil(2026, 1, 1, 24, 0, 0));
    EXPECT_FALSE(DateTime::FromCivil(2026, 1, 1, 23, 59, 60));
    EXPECT_TRUE(DateTime::FromDays(2958465.5).IsValid());  // noon on 31 December 9999
    EXPECT_FALSE(DateTime::FromDays(1e300).IsValid());
}

TEST(DateTime, WeekdaysAndCalendarDifferences)
{
    EXPECT_EQ(At(2026, 12, 6).Weekday(), 1);   // Sunday
    EXPECT_EQ(At(1899, 12, 23).Weekday(), 7);  // Saturday, before day zero
    EXPECT_EQ(tollix::DaysBetween(At(2026, 1, 1, 23, 59), At(2026, 1, 2, 0, 1)), 1);
    // Sunday 6 Dec 2026 to Monday 7 Dec: a new week when weeks start on Monday (2).
    EXPECT_EQ(tollix::WeeksBetween(At(2026, 12, 6), At(2026, 12, 7), 2), 1);
    EXPECT_EQ(tollix::WeeksBetween(At(2026, 12, 6), At(2026, 12, 12), 1), 0);
    EXPECT_EQ(tollix::WeeksBetween(At(2026, 12, 6), At(2026, 12, 13), 1), 1);
    EXPECT_EQ(tollix::MonthsBetween(At(2025, 12, 31), At(2026, 1, 1)), 1);
    EXPECT_EQ(tollix::MonthsBetween(At(2026, 3, 1), At(2026, 1, 31)), -2);
    EXPECT_EQ(tollix::SecondsBetween(At(2026, 1, 1, 23, 59, 30), At(2026, 1, 2, 0, 0, 30)), 60);
    EXPECT_EQ(At(1899, 12, 29, 23, 0).AddSeconds(3600).ToCivil(), (CivilTime{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(At(1899, 12, 30).AddSeconds(-1).ToCivil(), (CivilTime{1899, 12, 29, 23, 59, 59}));
}

TEST(DateTime, ChineseTexts)
{
    EXPECT_EQ(tollix::DateText(At(1998, 7, 5)), "1998年7月5日");
    EXPECT_EQ(tollix::DateTimeText(At(1998, 7, 5, 9, 3, 59)), "1998年07月05日09点03分");
    const struct {
        int32_t s;
        const char* text;
    } durations[]
        = {{3725, "1小时2分5秒"}, {7205, "2小时5秒"}, {0, ""}, {90000, "25小时"}, {-61, "-1分-1秒"}};
    for (const auto& d : durations)
        EXPECT_EQ(tollix::DurationText(d.s), d.text) << d.s;
}

TEST(DateTime, GeneralDateTextRoundTripsInSixteenCharacters)
{
    DateTime t = At(2026, 12, 6, 23, 59, 30);
    std::string text = tollix::GeneralDateText(t);
    EXPECT_EQ(text, "2026-12-06 23:59:30");
    EXPECT_EQ(tollix::GeneralDateText(At(206, 1, 2, 8)), "0206-01-02 08:00:00");
    EXPECT_EQ(tollix::ParseGeneralDate(text.substr(0, 16)), At(2026, 12, 6, 23, 59));
    EXPECT_TRUE(tollix::ParseGeneralDate("1998/10/05"));
    EXPECT_EQ(tollix::ParseGeneralDate(text), t);
    EXPECT_FALSE(tollix::ParseGeneralDate("2026-012-06"));
    EXPECT_FALSE(tollix::ParseGeneralDate("2026-12-06 10:00:00x"));
    EXPECT_FALSE(tollix::ParseGeneralDate("0"));
}

// The clock's seconds since 1970 become the local time of the zone the machine
// is set to, summer time included (POSIX zone rules, no zone files needed).
TEST(DateTime, UnixTimeIsReadInTheLocalZone)
{
    const struct {
        const char* zone;
        int64_t unixSeconds;
        DateTime local;
    } cases[] = {{"CST-8", 1796659199, At(2026, 12, 7, 23, 59, 59)},
        {"EST5EDT,M3.2.0,M11.1.0", 1784116800, At(2026, 7, 15, 8)},
        {"EST5EDT,M3.2.0,M11.1.0", 1796673600, At(2026, 12, 7, 15)}};
    for (const auto& c : cases) {
        tollix::test::ScopedEnv zone("TZ", c.zone);
        EXPECT_EQ(
            tollix::GeneralDateText(tollix::FromUnixTime(c.unixSeconds)), tollix::GeneralDateText(c.local))
            << c.zone << " " << c.unixSeconds;
    }
}
