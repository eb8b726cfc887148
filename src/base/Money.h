#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollix {

// A currency amount: a signed 64-bit count of ten-thousandths of a yuan.
// All fee arithmetic stays in whole ten-thousandths, so sums never drift.
class Money {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money FromRaw(int64_t raw) { return Money(raw); }
    static constexpr Money FromYuan(int64_t yuan) { return Money(yuan * kScale); }
    // Rounds half to even at the fourth decimal, as a currency conversion does.
    static Money FromDouble(double yuan);

    constexpr int64_t Raw() const { return raw_; }
    double ToDouble() const { return static_cast<double>(raw_) / kScale; }

    // Results stop at the largest amount instead of wrapping round: a damaged
    // statistics file may hold any value, and adding a fee to it must neither
    // turn it negative nor be undefined.
    constexpr Money operator+(Money o) const { return Money(Saturated(raw_, o.raw_, '+')); }
    constexpr Money operator-(Money o) const { return Money(Saturated(raw_, o.raw_, '-')); }
    constexpr Money operator-() const { return Money(Saturated(0, raw_, '-')); }
    constexpr Money operator*(int64_t n) const { return Money(Saturated(raw_, n, '*')); }
    constexpr Money& operator+=(Money o) { return *this = *this + o; }
    constexpr Money& operator-=(Money o) { return *this = *this - o; }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(int64_t raw)
        : raw_(raw)
    { }
    static constexpr int64_t Saturated(int64_t a, int64_t b, char op)
    {
        int64_t r = 0;
        const bool overflow = op == '+' ? __builtin_add_overflow(a, b, &r)
            : op == '-'                 ? __builtin_sub_overflow(a, b, &r)
                                        : __builtin_mul_overflow(a, b, &r);
        if (!overflow)
            return r;
        const bool positive = op == '+' ? b > 0 : op == '-' ? b < 0 : (a < 0) == (b < 0);
        return positive ? INT64_MAX : INT64_MIN;
    }
    int64_t raw_ = 0;
};

// Shortest plain decimal text: "0", "1.2", "0.0667", "-3".
std::string MoneyText(Money value);

// Reads an amount the user typed or a file holds: blanks around it, an optional
// sign, digits with at most one '.', nothing else. More than four decimals round
// half to even at the fourth. Returns nothing for text that is not a number or
// does not fit.
std::optional<Money> ParseMoney(std::string_view text);

// The same shortest decimal text for a value held in thousandths (a milli-yuan
// setting written back to the file: 0.0625 yuan gives "62.5").
std::string MilliYuanText(Money value);

}  // namespace tollix
