#include "base/Money.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace tollix {

namespace {

std::string ScaledText(int64_t raw, int64_t scale, int maxDecimals)
{
    const bool negative = raw < 0;
    // Work in unsigned so that the most negative value does not overflow.
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(raw) : uint64_t(raw);
    uint64_t whole = magnitude / uint64_t(scale);
    uint64_t frac = magnitude % uint64_t(scale);
    std::string text = negative ? "-" : "";
    text += std::to_string(whole);
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, size_t(maxDecimals) - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        text += '.';
        text += digits;
    }
    return text;
}

}  // namespace

Money Money::FromDouble(double yuan)
{
    // Round through the value's 15-digit decimal form, so that 0.00015 (held
    // as 0.000149999...) still rounds like the amount the user meant.
    if (!std::isfinite(yuan) || std::fabs(yuan) >= 9.2e14)
        return Money();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15f", yuan);
    std::string text = buffer;
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.15g", yuan);
    if (std::string_view(digits).find('e') == std::string_view::npos)
        text = digits;
    return ParseMoney(text).value_or(Money());
}

std::string MoneyText(Money value)
{
    return ScaledText(value.Raw(), Money::kScale, 4);
}

std::string MilliYuanText(Money value)
{
    // raw is ten-thousandths of a yuan, i.e. tenths of a thousandth.
    return ScaledText(value.Raw(), 10, 1);
}

std::optional<Money> ParseMoney(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string_view intPart = text;
    std::string_view fracPart;
    if (auto dot = text.find('.'); dot != std::string_view::npos) {
        intPart = text.substr(0, dot);
        fracPart = text.substr(dot + 1);
    }
    if (intPart.empty() && fracPart.empty())
        return std::nullopt;
    auto allDigits = [](std::string_view s) {
        for (char c : s)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if (!allDigits(intPart) || !allDigits(fracPart))
        return std::nullopt;

    constexpr int64_t kMax = std::numeric_limits<int64_t>::max() / Money::kScale;
    int64_t whole = 0;
    for (char c : intPart) {
        whole = whole * 10 + (c - '0');
        if (whole > kMax)
            return std::nullopt;
    }
    int64_t frac = 0;
    for (size_t i = 0; i < 4; ++i)
        frac = frac * 10 + (i < fracPart.size() ? fracPart[i] - '0' : 0);
    if (fracPart.size() > 4) {
        // Half to even on the digits beyond the fourth.
        const char first = fracPart[4];
        bool restNonZero = false;
        for (size_t i = 5; i < fracPart.size(); ++i)
            restNonZero = restNonZero || fracPart[i] != '0';
        bool roundUp = first > '5' || (first == '5' && (restNonZero || (frac % 2) == 1));
        if (roundUp)
            ++frac;
    }
    // The last whole yuan of the range only holds some fractions, and the
    // negative end reaches one ten-thousandth further than the positive one.
    const uint64_t raw = uint64_t(whole) * Money::kScale + uint64_t(frac);
    const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    if (raw > limit)
        return std::nullopt;
    return Money::FromRaw(negative ? int64_t(0 - raw) : int64_t(raw));
}

}  // namespace tollix
