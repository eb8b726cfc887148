#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "base/Money.h"

using tollix::Money;

TEST(Money, TextIsShortestPlainDecimal)
{
    const struct {
        int64_t raw;
        const char* text;
    } cases[] = {{0, "0"}, {12000, "1.2"}, {667, "0.0667"}, {120000, "12"}, {-5000, "-0.5"}, {1, "0.0001"},
        {INT64_MIN, "-922337203685477.5808"}};
    for (const auto& c : cases)
        EXPECT_EQ(tollix::MoneyText(Money::FromRaw(c.raw)), c.text) << c.raw;
}

TEST(Money, ParsesTypedAmounts)
{
    const struct {
        const char* text;
        std::optional<int64_t> raw = std::nullopt;
    } cases[] = {{"0.06", 600}, {" 12 ", 120000}, {"\t12\t", 120000}, {".5", 5000}, {"5.", 50000},
        {"-1.25", -12500}, {"+2", 20000}, {"0.00005", 0}, {"0.00015", 2}, {"0.000051", 1}, {""}, {"1.2.3"},
        {"."}, {"1e3"},
        // The ends of the range, as a damaged log line or journal may hold them.
        {"922337203685477.5807", INT64_MAX}, {"922337203685477.5808"}, {"-922337203685477.5808", INT64_MIN},
        {"-922337203685477.5809"}, {"922337203685477.99995"}};
    for (const auto& c : cases) {
        auto m = tollix::ParseMoney(c.text);
        EXPECT_EQ(m ? std::optional(m->Raw()) : std::nullopt, c.raw) << c.text;
    }
}

TEST(Money, FromDoubleRoundsHalfToEvenAndMilliYuanText)
{
    const struct {
        double yuan;
        int64_t raw;
        const char* milli;  // as the settings file holds fees
    } cases[] = {{0.06, 600, "60"}, {0.0625, 625, "62.5"}, {123.4 / 1000, 1234, "123.4"}, {0.00005, 0, "0"},
        {0.00015, 2, "0.2"}, {123456.78915, 1234567892, "123456789.2"}, {9.21e14, 0, "0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Money::FromDouble(c.yuan).Raw(), c.raw) << c.yuan;
        EXPECT_EQ(tollix::MilliYuanText(Money::FromRaw(c.raw)), c.milli) << c.raw;
    }
}

TEST(Money, SumsStopAtTheLargestAmountInsteadOfWrapping)
{
    constexpr int64_t kMax = INT64_MAX, kMin = INT64_MIN;
    const struct {
        int64_t a;
        char op;  // '~' negates a
        int64_t b, expected;
    } cases[] = {{kMax - 500, '+', 1200, kMax}, {kMin + 500, '+', -1200, kMin}, {kMin + 500, '-', 1200, kMin},
        {kMax - 500, '-', -1200, kMax}, {kMin, '~', 0, kMax}, {kMax / 2 + 1, '*', 2, kMax},
        {kMax / 2 + 1, '*', -2, kMin}, {kMin, '*', -1, kMax}};
    for (const auto& c : cases) {
        const Money a = Money::FromRaw(c.a), b = Money::FromRaw(c.b);
        Money sum = a;
        sum += b;
        const Money result = c.op == '+' ? a + b : c.op == '-' ? a - b : c.op == '~' ? -a : a * c.b;
        EXPECT_EQ(result.Raw(), c.expected) << c.a << " " << c.op << " " << c.b;
        EXPECT_TRUE(c.op != '+' || sum == result) << "+= differs from +";
    }
}
