#include <gtest/gtest.h>

#include "TestSupport.h"
#include "tariff/Fees.h"

using tollix::ConnectionTariff;
using tollix::DateTime;
using tollix::Money;
using tollix::test::At;

// Sunday 6, Monday 7 ... Saturday 12 December 2026.
constexpr int kMon = 7, kSat = 12, kSun = 6;

// The default telephone tariff: 0.12 / 0.06 per 180 s, discounted 21:00 to 07:00.
TEST(CallUnitPrice, DiscountPeriodsDayFlagsAndUnits)
{
    const struct {
        const char* flags;  // everyday, Saturday, Sunday, today; x for -1
        int32_t unit, seconds;
        DateTime at;
        double yuan;
    } cases[] = {{"1000", 180, 180, At(2026, 12, kMon, 12), 0.12},
        {"1000", 180, 181, At(2026, 12, kMon, 12), 0.24}, {"1000", 180, -5, At(2026, 12, kMon, 12), 0},
        {"1000", 180, 181, At(2026, 12, kMon, 22), 0.12},
        // Without the daily period only the day flags discount, the whole day.
        {"0000", 180, 180, At(2026, 12, kMon, 22), 0.12}, {"0100", 180, 180, At(2026, 12, kSat, 12), 0.06},
        {"0100", 180, 180, At(2026, 12, kSun, 12), 0.12}, {"01x0", 180, 180, At(2026, 12, kSun, 0), 0.06},
        {"01x1", 180, 180, At(2026, 12, kMon, 12), 0.06},
        // A unit of zero or below never divides by zero: the default 180 s.
        {"0000", 0, 181, At(2026, 12, kMon, 12), 0.24}, {"0000", 60, 181, At(2026, 12, kMon, 12), 0.48}};
    for (const auto& c : cases) {
        tollix::TelephoneTariff t;
        int16_t* flags[] = {&t.EverydayFlag, &t.SaturdayFlag, &t.SundayFlag, &t.HolidayFlag};
        for (int i = 0; i < 4; ++i)
            *flags[i] = int16_t(c.flags[i] == 'x' ? -1 : c.flags[i] - '0');
        t.TelUnit = c.unit;
        EXPECT_EQ(tollix::CallUnitPrice(t, c.seconds, c.at), Money::FromDouble(c.yuan))
            << c.seconds << " s at " << tollix::GeneralDateText(c.at) << ", flags " << c.flags << ", unit "
            << c.unit;
    }
}

TEST(DiscountRule, PeriodStartAndEndMinutes)
{
    ConnectionTariff c;
    c.EverydayFlag = 1;
    c.StartHour = 21;
    c.StartMinute = 30;
    c.EndHour = 7;
    c.EndMinute = 30;
    const struct {
        DateTime at;
        bool discounted;
    } cases[] = {{At(2026, 12, kMon, 21, 29, 59), false}, {At(2026, 12, kMon, 21, 30), true},
        {At(2026, 12, kMon, 22, 0), true}, {At(2026, 12, kMon, 7, 29, 59), true},
        {At(2026, 12, kMon, 7, 30), false}, {At(2026, 12, kMon, 6, 45), true}};
    for (const auto& x : cases)
        EXPECT_EQ(tollix::DiscountApplies(c, x.at), x.discounted) << tollix::GeneralDateText(x.at);

    // A start earlier than the end discounts every moment of the day.
    c.StartHour = 12;
    c.EndHour = 14;
    c.EndMinute = 0;
    for (int h = 0; h < 24; ++h)
        EXPECT_TRUE(tollix::DiscountApplies(c, At(2026, 12, kMon, h, 17))) << h;
}

// Per minute (type 1, 0.1 full, 0.05 discounted, 21:00 to 07:00), rated hours
// (type 2: only beyond the allowance, at the excess fee or the discount fee),
// and free or unknown types.
TEST(NetFeeFor, EveryFeeType)
{
    const int32_t allowance = 30 * 3600, lots = 999999;
    const struct {
        int16_t type, everyday, fixHour;
        int32_t seconds, used;
        DateTime at;
        double yuan;
    } cases[] = {{1, 0, 30, 60, lots, At(2026, 12, kMon, 12), 0.1},
        {1, 0, 30, 61, lots, At(2026, 12, kMon, 12), 0.2}, {1, 1, 30, 60, lots, At(2026, 12, kMon, 22), 0.05},
        {2, 1, 30, 60, allowance, At(2026, 12, kMon, 12), 0},  // reaching it exactly is within
        {2, 1, 30, 61, allowance + 1, At(2026, 12, kMon, 12), 0.3},
        {2, 1, 30, 60, allowance + 1, At(2026, 12, kMon, 22), 0.05},
        {3, 1, 0, 600, lots, At(2026, 12, kMon, 12), 0}};  // free (0) or unknown
    for (const auto& x : cases) {
        ConnectionTariff c;
        c.FeeType = x.type;
        c.EverydayFlag = x.everyday;
        c.FixHour = x.fixHour;
        c.ExcelFee = Money::FromDouble(0.15);
        EXPECT_EQ(tollix::NetFeeFor(c, x.seconds, x.used, x.at), Money::FromDouble(x.yuan))
            << "type " << x.type << ", " << x.seconds << " s after " << x.used << " s at "
            << tollix::GeneralDateText(x.at);
    }
}
