#include "tariff/TariffSet.h"

#include <limits>

namespace tollix {

namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// "Holiday Flag" when "Holiday Start" of the same section is today, else 0.
int16_t TodayHolidayFlag(const ProfileFile& file, std::string_view section, DateTime now)
{
    const SettingInfo& start = Info(ConnectionSetting::HolidayStart);
    std::string text = file.ReadText(section, start.key, start.defaultText, start.bufferSize);
    if (!HolidayStartIsToday(text, now))
        return 0;
    return ReadConnectionInt16(file, section, ConnectionSetting::HolidayFlag);
}

}  // namespace

int16_t TariffSet::FindConnectionTariff(std::string_view name) const
{
    const int32_t count = ConnectionCount();
    const int16_t bound = count > std::numeric_limits<int16_t>::max() ? std::numeric_limits<int16_t>::max()
                                                                      : static_cast<int16_t>(count);
    for (int16_t index = 1; index <= bound; ++index)
        if (EqualIgnoringAsciiCase(Connections[size_t(index - 1)].Name, name))
            return index;
    return FallbackIndex > 0 && FallbackIndex <= bound ? static_cast<int16_t>(FallbackIndex) : bound;
}

bool TariffSet::HasConnectionTariff(std::string_view name) const
{
    const int16_t index = FindConnectionTariff(name);
    return index > 0 && EqualIgnoringAsciiCase(Connections[size_t(index - 1)].Name, name);
}

namespace {

// The keys of a connection's section and of the telephone tariff, each with
// the field it fills.
template <typename Tariff, typename Key, typename Value> struct KeyField {
    Key Setting;
    Value Tariff::*Field;
};
using ConnectionKey = KeyField<ConnectionTariff, ConnectionSetting, int16_t>;
using ConnectionAmountKey = KeyField<ConnectionTariff, ConnectionSetting, Money>;
using TelephoneKey = KeyField<TelephoneTariff, Setting, int16_t>;
using TelephoneAmountKey = KeyField<TelephoneTariff, Setting, Money>;

constexpr ConnectionKey kConnectionKeys[] = {
    {ConnectionSetting::EverydayFlag, &ConnectionTariff::EverydayFlag},
    {ConnectionSetting::SaturdayFlag, &ConnectionTariff::SaturdayFlag},
    {ConnectionSetting::SundayFlag, &ConnectionTariff::SundayFlag},
    {ConnectionSetting::StartHour, &ConnectionTariff::StartHour},
    {ConnectionSetting::StartMinute, &ConnectionTariff::StartMinute},
    {ConnectionSetting::EndHour, &ConnectionTariff::EndHour},
    {ConnectionSetting::EndMinute, &ConnectionTariff::EndMinute},
    {ConnectionSetting::FeeType, &ConnectionTariff::FeeType},
    {ConnectionSetting::FixHour, &ConnectionTariff::FixHour},
};
constexpr ConnectionAmountKey kConnectionAmountKeys[] = {
    {ConnectionSetting::FullFee, &ConnectionTariff::FullFee},
    {ConnectionSetting::HalfFee, &ConnectionTariff::HalfFee},
    {ConnectionSetting::FixFee, &ConnectionTariff::FixFee},
    {ConnectionSetting::ExcelFee, &ConnectionTariff::ExcelFee},
};
constexpr TelephoneKey kTelephoneKeys[] = {
    {Setting::TelEverydayFlag, &TelephoneTariff::EverydayFlag},
    {Setting::TelSaturdayFlag, &TelephoneTariff::SaturdayFlag},
    {Setting::TelSundayFlag, &TelephoneTariff::SundayFlag},
    {Setting::TelStartHour, &TelephoneTariff::StartHour},
    {Setting::TelStartMinute, &TelephoneTariff::StartMinute},
    {Setting::TelEndHour, &TelephoneTariff::EndHour},
    {Setting::TelEndMinute, &TelephoneTariff::EndMinute},
};
constexpr TelephoneAmountKey kTelephoneAmountKeys[] = {
    {Setting::TelFullFee, &TelephoneTariff::FullFee},
    {Setting::TelHalfFee, &TelephoneTariff::HalfFee},
};

ConnectionTariff ReadConnectionTariff(const ProfileFile& file, const std::string& entry, DateTime now)
{
    ConnectionTariff t;
    t.Name = entry.substr(0, entry.find('\0'));
    const std::string& s = t.Name;
    for (const ConnectionKey& k : kConnectionKeys)
        t.*k.Field = ReadConnectionInt16(file, s, k.Setting);
    for (const ConnectionAmountKey& k : kConnectionAmountKeys)
        t.*k.Field = ReadConnectionMoney(file, s, k.Setting);
    t.HolidayFlag = TodayHolidayFlag(file, s, now);
    return t;
}

}  // namespace

void IniNetFee(
    const ProfileFile& file, const std::vector<std::string>& entryNames, DateTime now, TariffSet& tariffs)
{
    tariffs.Connections.clear();
    tariffs.FallbackIndex = 0;
    tariffs.Connections.reserve(entryNames.size());
    for (const std::string& entry : entryNames)
        tariffs.Connections.push_back(ReadConnectionTariff(file, entry, now));
}

bool AddLateConnectionTariff(const ProfileFile& file, const std::vector<std::string>& phonebook,
    std::string_view name, DateTime now, TariffSet& tariffs)
{
    if (tariffs.HasConnectionTariff(name))
        return false;
    for (const std::string& entry : phonebook)
        if (EqualIgnoringAsciiCase(std::string_view(entry).substr(0, entry.find('\0')), name)) {
            if (tariffs.FallbackIndex == 0)
                tariffs.FallbackIndex = tariffs.ConnectionCount();
            tariffs.Connections.push_back(ReadConnectionTariff(file, entry, now));
            return true;
        }
    return false;
}

void IniTelFee(const ProfileFile& file, DateTime now, TariffSet& tariffs)
{
    TelephoneTariff& t = tariffs.Telephone;
    for (const TelephoneKey& k : kTelephoneKeys)
        t.*k.Field = ReadSettingInt16(file, k.Setting);
    for (const TelephoneAmountKey& k : kTelephoneAmountKeys)
        t.*k.Field = ReadSettingMoney(file, k.Setting);
    t.TelUnit = ReadSettingInt(file, Setting::TelUnit);
    if (t.TelUnit <= 0)
        t.TelUnit = DefaultInt(Setting::TelUnit);
    t.HolidayFlag = TodayHolidayFlag(file, Info(Setting::TelHolidayStart).section, now);
}

bool HolidayStartIsToday(std::string_view holidayStartText, DateTime now)
{
    std::string_view text = holidayStartText.substr(0, 16);
    std::optional<DateTime> start = ParseGeneralDate(text);
    if (!start) {
        // Only the calendar day matters: a time cut short by the 16 characters
        // still leaves a readable date in front of it.
        size_t blank = text.find(' ');
        if (blank != std::string_view::npos && blank > 0)
            start = ParseGeneralDate(text.substr(0, blank));
    }
    return start && DaysBetween(*start, now) == 0;
}

ResetSettings InitialResetSettings(const ProfileFile& file)
{
    ResetSettings r;
    r.ProAddSeconds = ReadSettingInt16(file, Setting::ProAddSeconds);
    r.ResetMonthDay = ReadSettingInt16(file, Setting::ResetMonth);
    r.ResetWeekDay = ReadSettingInt16(file, Setting::ResetWeek);
    return r;
}

}  // namespace tollix
