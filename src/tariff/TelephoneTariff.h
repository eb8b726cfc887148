#pragma once

#include <cstdint>

#include "base/Money.h"
#include "config/SettingKeys.h"

namespace tollix {

// The telephone tariff, priced per started call unit. A default-constructed value
// is what an empty settings file loads.
struct TelephoneTariff {
    Money FullFee = DefaultMoney(Setting::TelFullFee);  // yuan per unit outside the discount
    Money HalfFee = DefaultMoney(Setting::TelHalfFee);  // yuan per unit inside the discount
    int16_t StartHour = DefaultInt16(Setting::TelStartHour);
    int16_t StartMinute = DefaultInt16(Setting::TelStartMinute);
    int16_t EndHour = DefaultInt16(Setting::TelEndHour);  // on the next day
    int16_t EndMinute = DefaultInt16(Setting::TelEndMinute);
    int16_t EverydayFlag = DefaultInt16(Setting::TelEverydayFlag);
    int16_t SaturdayFlag = DefaultInt16(Setting::TelSaturdayFlag);
    int16_t SundayFlag = DefaultInt16(Setting::TelSundayFlag);
    int16_t HolidayFlag = DefaultInt16(Setting::TelHolidayFlag);  // today is discounted all day
    int32_t TelUnit = DefaultInt(Setting::TelUnit);  // seconds per call unit, always above 0 once loaded
};

}  // namespace tollix
