#include <gtest/gtest.h>

#include "tariff/Fees.h"

using tollix::ConnectionTariff;
using tollix::DateTime;
using tollix::Money;
using tollix::TelephoneTariff;

namespace {

// Sunday 6, Monday 7 ... Saturday 12 December 2026.
DateTime At(int d, int h, int mi = 0, int s = 0)
{
    return *DateTime::FromCivil(2026, 12, d, h, mi, s);
}
constexpr int kMonday = 7, kSaturday = 12, kSunday = 6;

Money Yuan(double y)
{
    return Money::FromDouble(y);
}

TelephoneTariff Telephone(bool everyday)
{
    TelephoneTariff t; // 0.12 / 0.06 per 180 s, 21:00 to 07:00
    t.EverydayFlag = everyday ? 1 : 0;
    return t;
}

} // namespace

TEST(CallUnitPrice, DiscountPeriodBoundaries)
{
    const TelephoneTariff t = Telephone(true);
    const struct {
        int32_t seconds;
        DateTime at;
        double yuan;
    } cases[] = {
        { 180, At(kMonday, 20, 59, 59), 0.12 },
        { 180, At(kMonday, 21, 0, 0), 0.06 },
        { 180, At(kMonday, 6, 59, 59), 0.06 },
        { 180, At(kMonday, 7, 0, 0), 0.12 },
        { 180, At(kMonday, 23, 59, 59), 0.06 },
        { 180, At(kMonday, 0, 0, 0), 0.06 },
        { 181, At(kMonday, 12, 0, 0), 0.24 },
        { 360, At(kMonday, 12, 0, 0), 0.24 },
        { 1, At(kMonday, 12, 0, 0), 0.12 },
        { 0, At(kMonday, 12, 0, 0), 0 },
        { -5, At(kMonday, 12, 0, 0), 0 },
        { 181, At(kMonday, 22, 0, 0), 0.12 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::CallUnitPrice(t, c.seconds, c.at), Yuan(c.yuan))
            << c.seconds << " s at " << tollix::GeneralDateText(c.at);
}

TEST(CallUnitPrice, DayFlagsWithoutTheDailyPeriod)
{
    TelephoneTariff t = Telephone(false);
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kMonday, 22)), Yuan(0.12));
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kSaturday, 12)), Yuan(0.12));
    t.SaturdayFlag = 1;
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kSaturday, 12)), Yuan(0.06));
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kSunday, 12)), Yuan(0.12));
    t.SundayFlag = -1;
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kSunday, 0)), Yuan(0.06));
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kMonday, 12)), Yuan(0.12));
    t.HolidayFlag = 1;
    EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kMonday, 12)), Yuan(0.06));
}

TEST(CallUnitPrice, UnitOfZeroOrBelowNeverDividesByZero)
{
    TelephoneTariff t = Telephone(false);
    for (int32_t unit : { 0, -1, -180 }) {
        t.TelUnit = unit;
        EXPECT_EQ(tollix::CallUnitPrice(t, 180, At(kMonday, 12)), Yuan(0.12)) << unit;
        EXPECT_EQ(tollix::CallUnitPrice(t, 181, At(kMonday, 12)), Yuan(0.24)) << unit;
    }
    t.TelUnit = 60;
    EXPECT_EQ(tollix::CallUnitPrice(t, 181, At(kMonday, 12)), Yuan(0.48));
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
    } cases[] = {
        { At(kMonday, 21, 29, 59), false },
        { At(kMonday, 21, 30), true },
        { At(kMonday, 22, 0), true },
        { At(kMonday, 7, 29, 59), true },
        { At(kMonday, 7, 30), false },
        { At(kMonday, 6, 45), true },
        { At(kMonday, 21, 0), false },
        { At(kMonday, 12, 0), false },
    };
    for (const auto& x : cases)
        EXPECT_EQ(tollix::DiscountApplies(c, x.at), x.discounted) << tollix::GeneralDateText(x.at);

    // A start earlier than the end discounts every moment of the day.
    c.StartHour = 12;
    c.StartMinute = 0;
    c.EndHour = 14;
    c.EndMinute = 0;
    for (int h = 0; h < 24; ++h)
        EXPECT_TRUE(tollix::DiscountApplies(c, At(kMonday, h, 17))) << h;
    c.EverydayFlag = 0;
    EXPECT_FALSE(tollix::DiscountApplies(c, At(kMonday, 13)));
}

TEST(NetFeeFor, PerMinute)
{
    ConnectionTariff c; // type 1, 0.1 full, 0.05 discount, 21:00 to 07:00
    const struct {
        int32_t seconds;
        DateTime at;
        bool everyday;
        double yuan;
    } cases[] = {
        { 60, At(kMonday, 12), false, 0.1 },
        { 61, At(kMonday, 12), false, 0.2 },
        { 120, At(kMonday, 12), false, 0.2 },
        { 0, At(kMonday, 12), false, 0 },
        { 1, At(kMonday, 12), false, 0.1 },
        { 60, At(kMonday, 22), false, 0.1 },
        { 60, At(kMonday, 22), true, 0.05 },
        { 300, At(kMonday, 3), true, 0.25 },
        { 60, At(kMonday, 7), true, 0.1 },
    };
    for (const auto& x : cases) {
        c.EverydayFlag = x.everyday ? 1 : 0;
        EXPECT_EQ(tollix::NetFeeFor(c, x.seconds, 999999, x.at), Yuan(x.yuan))
            << x.seconds << " s at " << tollix::GeneralDateText(x.at);
    }
}

TEST(NetFeeFor, RatedHoursChargeOnlyBeyondTheAllowance)
{
    ConnectionTariff c;
    c.FeeType = 2;
    c.FixHour = 30;
    c.FullFee = Yuan(0.3); // not used by type 2
    c.ExcelFee = Yuan(0.15);
    c.EverydayFlag = 1;
    const int32_t allowance = 30 * 3600;
    EXPECT_EQ(tollix::NetFeeFor(c, 60, 0, At(kMonday, 12)), Money());
    EXPECT_EQ(tollix::NetFeeFor(c, 60, allowance, At(kMonday, 12)), Money())
        << "reaching it exactly is within";
    EXPECT_EQ(tollix::NetFeeFor(c, 60, allowance + 1, At(kMonday, 12)), Yuan(0.15));
    EXPECT_EQ(tollix::NetFeeFor(c, 60, allowance + 1, At(kMonday, 22)), Yuan(0.05)) << "discount: HalfFee";
    EXPECT_EQ(tollix::NetFeeFor(c, 180, allowance + 1, At(kMonday, 12)), Yuan(0.45));
    EXPECT_EQ(tollix::NetFeeFor(c, 0, allowance + 1, At(kMonday, 12)), Money());
    c.FixHour = 0;
    EXPECT_EQ(tollix::NetFeeFor(c, 60, 0, At(kMonday, 12)), Money());
    EXPECT_EQ(tollix::NetFeeFor(c, 60, 1, At(kMonday, 12)), Yuan(0.15));
}

TEST(NetFeeFor, FreeAndUnknownTypesCostNothing)
{
    ConnectionTariff c;
    c.FullFee = c.HalfFee = c.ExcelFee = Yuan(1);
    c.FixHour = 0;
    c.HolidayFlag = 1;
    for (int16_t type : { 0, 3, -1, 99 }) {
        c.FeeType = type;
        EXPECT_EQ(tollix::NetFeeFor(c, 600, 999999, At(kMonday, 12)), Money()) << type;
    }
}
