#include "tariff/Fees.h"

namespace tollix {

namespace {

constexpr int kSaturday = 7;
constexpr int kSunday = 1;

// Started units of `unit` seconds in `seconds`.
int64_t StartedUnits(int32_t seconds, int32_t unit)
{
    if (seconds <= 0)
        return 0;
    return seconds / unit + (seconds % unit != 0 ? 1 : 0);
}

}  // namespace

bool DiscountApplies(int16_t everydayFlag, int16_t startHour, int16_t startMinute, int16_t endHour,
    int16_t endMinute, int16_t saturdayFlag, int16_t sundayFlag, int16_t holidayFlag, DateTime now)
{
    const CivilTime t = now.ToCivil();
    const int weekday = now.Weekday();
    if (everydayFlag != 0) {
        if (t.hour > startHour || (t.hour == startHour && t.minute >= startMinute))
            return true;
        if (t.hour < endHour || (t.hour == endHour && t.minute < endMinute))
            return true;
    }
    if (saturdayFlag != 0 && weekday == kSaturday)
        return true;
    if (sundayFlag != 0 && weekday == kSunday)
        return true;
    return holidayFlag != 0;
}

bool DiscountApplies(const TelephoneTariff& t, DateTime now)
{
    return DiscountApplies(t.EverydayFlag, t.StartHour, t.StartMinute, t.EndHour, t.EndMinute, t.SaturdayFlag,
        t.SundayFlag, t.HolidayFlag, now);
}

bool DiscountApplies(const ConnectionTariff& t, DateTime now)
{
    return DiscountApplies(t.EverydayFlag, t.StartHour, t.StartMinute, t.EndHour, t.EndMinute, t.SaturdayFlag,
        t.SundayFlag, t.HolidayFlag, now);
}

Money CallUnitPrice(const TelephoneTariff& tariff, int32_t seconds, DateTime now)
{
    const int32_t unit = tariff.TelUnit > 0 ? tariff.TelUnit : DefaultInt(Setting::TelUnit);
    const Money price = DiscountApplies(tariff, now) ? tariff.HalfFee : tariff.FullFee;
    return price * StartedUnits(seconds, unit);
}

Money NetFeeFor(const ConnectionTariff& tariff, int32_t seconds, int32_t monthSeconds, DateTime now)
{
    switch (tariff.FeeType) {
    case 1:
        return (DiscountApplies(tariff, now) ? tariff.HalfFee : tariff.FullFee) * StartedUnits(seconds, 60);
    case 2:
        if (int64_t(monthSeconds) <= int64_t(tariff.FixHour) * 3600)
            return Money();
        return (DiscountApplies(tariff, now) ? tariff.HalfFee : tariff.ExcelFee) * StartedUnits(seconds, 60);
    default:
        return Money();
    }
}

}  // namespace tollix
