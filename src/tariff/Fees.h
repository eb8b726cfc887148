#pragma once

#include <cstdint>

#include "base/DateTime.h"
#include "base/Money.h"
#include "tariff/ConnectionTariff.h"
#include "tariff/TelephoneTariff.h"

namespace tollix {

// True when the discounted price applies at `now`: inside the daily period (from
// the start time to the end time of the next day; the start and end conditions
// are tested separately, so a start earlier than the end discounts the whole
// day), on a Saturday or Sunday whose flag is on, or all day when the holiday
// flag is on. Seconds are not looked at.
bool DiscountApplies(int16_t everydayFlag, int16_t startHour, int16_t startMinute, int16_t endHour,
    int16_t endMinute, int16_t saturdayFlag, int16_t sundayFlag, int16_t holidayFlag, DateTime now);
bool DiscountApplies(const TelephoneTariff& tariff, DateTime now);
bool DiscountApplies(const ConnectionTariff& tariff, DateTime now);

// The telephone charge of `seconds`: every started call unit at the price in
// force at `now`. A TelUnit of 0 or below counts as the default unit (180 s);
// 0 or fewer seconds cost nothing.
Money CallUnitPrice(const TelephoneTariff& tariff, int32_t seconds, DateTime now);

// The internet charge of `seconds` on one connection's tariff at `now`: every
// started minute. Fee type 0 (and any unknown type) is free; type 1 charges
// FullFee (HalfFee in the discount); type 2 is free while the month's connected
// time (`monthSeconds`) is within FixHour hours, reaching it exactly included,
// and charges ExcelFee (HalfFee in the discount) beyond it.
Money NetFeeFor(const ConnectionTariff& tariff, int32_t seconds, int32_t monthSeconds, DateTime now);

}  // namespace tollix
