#pragma once

#include <cstdint>
#include <string>

#include "base/Money.h"
#include "config/SettingKeys.h"

namespace tollix {

// The internet-access tariff of one dial-up connection. A default-constructed
// value (with its name set) is what an empty settings file loads.
struct ConnectionTariff {
    std::string Name;  // the phonebook entry's name, also the name of its settings section
    Money FullFee = DefaultMoney(ConnectionSetting::FullFee);  // per minute outside the discount (fee type 1)
    Money HalfFee
        = DefaultMoney(ConnectionSetting::HalfFee);  // per minute inside the discount (types 1 and 2)
    int16_t EverydayFlag = DefaultInt16(ConnectionSetting::EverydayFlag);
    int16_t SaturdayFlag = DefaultInt16(ConnectionSetting::SaturdayFlag);
    int16_t SundayFlag = DefaultInt16(ConnectionSetting::SundayFlag);
    int16_t StartHour = DefaultInt16(ConnectionSetting::StartHour);
    int16_t EndHour = DefaultInt16(ConnectionSetting::EndHour);  // on the next day
    int16_t StartMinute = DefaultInt16(ConnectionSetting::StartMinute);
    int16_t EndMinute = DefaultInt16(ConnectionSetting::EndMinute);
    int16_t FeeType = DefaultInt16(ConnectionSetting::FeeType);  // 0 free, 1 per minute, 2 rated hours
    int16_t HolidayFlag = DefaultInt16(ConnectionSetting::HolidayFlag);
    int16_t FixHour = DefaultInt16(ConnectionSetting::FixHour);  // monthly allowance in hours (type 2)
    Money FixFee = DefaultMoney(ConnectionSetting::FixFee);      // flat monthly fee (type 2), shown only
    Money ExcelFee = DefaultMoney(ConnectionSetting::ExcelFee);  // per minute beyond the allowance (type 2)
};

}  // namespace tollix
