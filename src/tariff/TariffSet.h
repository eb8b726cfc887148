#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"
#include "config/ProfileFile.h"
#include "config/SettingKeys.h"
#include "tariff/ConnectionTariff.h"
#include "tariff/TelephoneTariff.h"

namespace tollix {

// The program-wide tariffs: the telephone tariff and one internet tariff per
// phonebook entry, in phonebook order, numbered from 1.
class TariffSet {
public:
    TelephoneTariff Telephone;
    std::vector<ConnectionTariff> Connections;
    // What an unknown name is priced with once entries were appended after the
    // load (AddLateConnectionTariff): still the last entry of the load. 0: the last.
    int32_t FallbackIndex = 0;

    int32_t ConnectionCount() const { return static_cast<int32_t>(Connections.size()); }
    // index 1 .. ConnectionCount(); anything else ends the program (std::out_of_range).
    ConnectionTariff& Connection(int index) { return Connections.at(size_t(index - 1)); }
    const ConnectionTariff& Connection(int index) const { return Connections.at(size_t(index - 1)); }

    // The index of the first connection whose name equals `name` without regard to
    // the case of ASCII letters (other bytes must match exactly). A name that
    // matches none gives ConnectionCount(), the last connection (or FallbackIndex);
    // an empty list 0.
    int16_t FindConnectionTariff(std::string_view name) const;
    // Whether `name` has a tariff of its own (compared as FindConnectionTariff does).
    bool HasConnectionTariff(std::string_view name) const;
};

// Loads one tariff per phonebook entry (all of them) from the section named
// after the entry; a name is cut before a NUL character.
void IniNetFee(
    const ProfileFile& file, const std::vector<std::string>& entryNames, DateTime now, TariffSet& tariffs);
// A connection that joined the phonebook after the tariffs were loaded (a
// NetworkManager profile added, or NetworkManager started after the program)
// would otherwise be priced as the last entry: loads the tariff of the entry of
// `phonebook` named `name` and appends it, so the indices already handed out
// stay valid. False when `name` has its tariff already or is in no phonebook.
bool AddLateConnectionTariff(const ProfileFile& file, const std::vector<std::string>& phonebook,
    std::string_view name, DateTime now, TariffSet& tariffs);
// Loads the telephone tariff; a "Tel Unit" of 0 or below is refused and the
// default used, so pricing never divides by zero.
void IniTelFee(const ProfileFile& file, DateTime now, TariffSet& tariffs);

// The today-discount rule: "Holiday Flag" counts only while "Holiday Start"
// lies on today's calendar date. Only the first 16 characters are looked at; a
// text that is not a date is not today.
bool HolidayStartIsToday(std::string_view holidayStartText, DateTime now);

// The connect delay and the statistics reset days.
struct ResetSettings {
    int16_t ProAddSeconds = DefaultInt16(Setting::ProAddSeconds);
    int16_t ResetMonthDay = DefaultInt16(Setting::ResetMonth);  // day of the month, 1..31
    int16_t ResetWeekDay = DefaultInt16(Setting::ResetWeek);    // 0 Sunday .. 6 Saturday
};
ResetSettings InitialResetSettings(const ProfileFile& file);

}  // namespace tollix
