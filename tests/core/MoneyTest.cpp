#include <gtest/gtest.h>

#include <cstdint>

#include "core/Money.h"

using tollix::Money;

TEST(Money, TextIsShortestPlainDecimal)
{
    const struct {
        int64_t raw;
        const char* text;
    } cases[] = {
        {0, "0"},        {12000, "1.2"},       {667, "0.0667"},  {120000, "12"},
        {333, "0.0333"}, {-5000, "-0.5"},      {1, "0.0001"},    {INT64_MIN, "-922337203685477.5808"},
        {25, "0.0025"},  {2000000, "200"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::MoneyText(Money::FromRaw(c.raw)), c.text) << c.raw;
}

TEST(Money, MilliYuanTextForTheSettingsFile)
{
    EXPECT_EQ(tollix::MilliYuanText(Money::FromRaw(600)), "60");
    EXPECT_EQ(tollix::MilliYuanText(Money::FromRaw(625)), "62.5");
    EXPECT_EQ(tollix::MilliYuanText(Money::FromRaw(1234)), "123.4");
    EXPECT_EQ(tollix::MilliYuanText(Money::FromRaw(0)), "0");
}

TEST(Money, ParsesTypedAmounts)
{
    const struct {
        const char* text;
        bool ok;
        int64_t raw;
    } cases[] = {
        {"0.06", true, 600},      {" 12 ", true, 120000},  {".5", true, 5000},       {"5.", true, 50000},
        {"-1.25", true, -12500},  {"+2", true, 20000},     {"0.00005", true, 0},     {"0.00015", true, 2},
        {"0.000051", true, 1},    {"0.00025", true, 2},    {"0.00035", true, 4},     {"", false, 0},
        {"abc", false, 0},        {"1.2.3", false, 0},     {".", false, 0},          {"-", false, 0},
        {"1e3", false, 0},        {"99999999999999999999", false, 0},
        // The ends of the range, as a damaged log line or journal may hold them.
        {"922337203685477.5807", true, INT64_MAX},  {"922337203685477.5808", false, 0},
        {"-922337203685477.5808", true, INT64_MIN}, {"-922337203685477.5809", false, 0},
        {"922337203685477.99995", false, 0},
    };
    for (const auto& c : cases) {
        auto m = tollix::ParseMoney(c.text);
        ASSERT_EQ(m.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(m->Raw(), c.raw) << c.text;
        }
    }
}

TEST(Money, FromDoubleRoundsHalfToEven)
{
    EXPECT_EQ(Money::FromDouble(0.12).Raw(), 1200);
    EXPECT_EQ(Money::FromDouble(123.4 / 1000).Raw(), 1234);
    EXPECT_EQ(Money::FromDouble(200000.0 / 1000).Raw(), 2000000);
    EXPECT_EQ(Money::FromDouble(0.00005).Raw(), 0);
    EXPECT_EQ(Money::FromDouble(0.00015).Raw(), 2);
}
