#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Money.h"
#include "config/ProfileFile.h"

namespace tollix {

// Every key of tollix.ini with its section, form and default, in one table, so
// that no default is written twice. Keys of the per-connection tariff sections
// (the section is the connection's name) are listed apart, with an empty section.
// The section "Telephone Fee" uses the same key names as a connection's section,
// with defaults of its own, so its keys are fixed settings (Setting::Tel...).

// How a value is held:
enum class SettingForm {
    Integer,    // a decimal integer
    Flag,       // an integer, 0 off, anything else on
    MilliYuan,  // thousandths of a yuan: the integer read divided by 1000
    Yuan,       // whole yuan: the integer read taken as yuan
    Text,       // text read with a buffer of `bufferSize` bytes
};

enum class Setting {
    // "Telephone Fee"
    TelFullFee,
    TelHalfFee,
    TelUnit,
    TelStartHour,
    TelStartMinute,
    TelEndHour,
    TelEndMinute,
    TelEverydayFlag,
    TelSaturdayFlag,
    TelSundayFlag,
    TelHolidayFlag,
    TelHolidayStart,
    // "Alert Setting"
    AlertDayCheck,
    AlertDayStandard,
    AlertDayHours,
    AlertDayFee,
    AlertDayWaveCheck,
    AlertDayMinutes,
    AlertDayFilePath,
    AlertWeekCheck,
    AlertWeekStandard,
    AlertWeekHours,
    AlertWeekFee,
    AlertWeekWaveCheck,
    AlertWeekMinutes,
    AlertWeekFilePath,
    AlertMonthCheck,
    AlertMonthStandard,
    AlertMonthHours,
    AlertMonthFee,
    AlertMonthWaveCheck,
    AlertMonthMinutes,
    AlertMonthFilePath,
    // "Reset", "ProAdd", "Start Settings", "Max Log Length"
    ResetMonth,
    ResetWeek,
    ProAddSeconds,
    AutoHide,
    PlayWave,
    ShowRASName,
    LogNumber,
};
inline constexpr size_t kSettingCount = size_t(Setting::LogNumber) + 1;

enum class ConnectionSetting {
    FeeType,
    FullFee,
    HalfFee,
    FixHour,
    FixFee,
    ExcelFee,
    StartHour,
    StartMinute,
    EndHour,
    EndMinute,
    EverydayFlag,
    SaturdayFlag,
    SundayFlag,
    HolidayFlag,
    HolidayStart,
};
inline constexpr size_t kConnectionSettingCount = size_t(ConnectionSetting::HolidayStart) + 1;

struct SettingInfo {
    const char* section = "";  // empty for a per-connection key
    const char* key = "";
    SettingForm form = SettingForm::Integer;
    int32_t defaultInt = 0;        // the default of every form but Text
    const char* defaultText = "";  // the default of a Text setting
    size_t bufferSize = 0;         // the read buffer of a Text setting
    bool sixteenBit = false;       // held in a 16-bit variable: the read is narrowed
};

namespace settingkeys {
// An alert sound path is read whole: the longest path Linux opens (PATH_MAX)
// and the terminating NUL. The old 40-byte buffer cut every path under a home
// folder's sounds, so the alert beeped instead.
inline constexpr size_t kSoundPathBuffer = 4097;

// Section and key names written once here.
inline constexpr const char* kTelephoneSection = "Telephone Fee";
inline constexpr const char* kAlertSection = "Alert Setting";
inline constexpr const char* kFullFee = "Full Fee";
inline constexpr const char* kHalfFee = "Half Fee";
inline constexpr const char* kStartHour = "Start Hour";
inline constexpr const char* kStartMinute = "Start Minute";
inline constexpr const char* kEndHour = "End Hour";
inline constexpr const char* kEndMinute = "End Minute";
inline constexpr const char* kEverydayFlag = "Everyday Flag";
inline constexpr const char* kSaturdayFlag = "Saturday Flag";
inline constexpr const char* kSundayFlag = "Sunday Flag";
inline constexpr const char* kHolidayFlag = "Holiday Flag";
inline constexpr const char* kHolidayStart = "Holiday Start";

// The discount-period keys shared by both tariff sections.
constexpr SettingInfo Shared(ConnectionSetting s, const char* section)
{
    using F = SettingForm;
    switch (s) {
    case ConnectionSetting::StartHour:
        return {section, kStartHour, F::Integer, 21, "", 0, true};
    case ConnectionSetting::StartMinute:
        return {section, kStartMinute, F::Integer, 0, "", 0, true};
    case ConnectionSetting::EndHour:
        return {section, kEndHour, F::Integer, 7, "", 0, true};
    case ConnectionSetting::EndMinute:
        return {section, kEndMinute, F::Integer, 0, "", 0, true};
    case ConnectionSetting::EverydayFlag:
        return {section, kEverydayFlag, F::Flag, 0, "", 0, true};
    case ConnectionSetting::SaturdayFlag:
        return {section, kSaturdayFlag, F::Flag, 0, "", 0, true};
    case ConnectionSetting::SundayFlag:
        return {section, kSundayFlag, F::Flag, 0, "", 0, true};
    case ConnectionSetting::HolidayFlag:
        return {section, kHolidayFlag, F::Flag, 0, "", 0, true};
    case ConnectionSetting::HolidayStart:
        return {section, kHolidayStart, F::Text, 0, "0", 17, false};
    default:
        return {};
    }
}

constexpr SettingInfo Describe(ConnectionSetting s)
{
    using F = SettingForm;
    switch (s) {
    case ConnectionSetting::FeeType:
        return {"", "Fee Type", F::Integer, 1, "", 0, true};
    case ConnectionSetting::FullFee:
        return {"", kFullFee, F::MilliYuan, 100, "", 0, false};
    case ConnectionSetting::HalfFee:
        return {"", kHalfFee, F::MilliYuan, 50, "", 0, false};
    case ConnectionSetting::FixHour:
        return {"", "Fix Hour", F::Integer, 30, "", 0, true};
    case ConnectionSetting::FixFee:
        return {"", "Fix Fee", F::MilliYuan, 200000, "", 0, false};
    case ConnectionSetting::ExcelFee:
        return {"", "Excel Fee", F::MilliYuan, 100, "", 0, false};
    case ConnectionSetting::StartHour:
    case ConnectionSetting::StartMinute:
    case ConnectionSetting::EndHour:
    case ConnectionSetting::EndMinute:
    case ConnectionSetting::EverydayFlag:
    case ConnectionSetting::SaturdayFlag:
    case ConnectionSetting::SundayFlag:
    case ConnectionSetting::HolidayFlag:
    case ConnectionSetting::HolidayStart:
        return Shared(s, "");
    }
    return {};
}

constexpr SettingInfo Describe(Setting s)
{
    using F = SettingForm;
    using C = ConnectionSetting;
    const char* tel = kTelephoneSection;
    const char* alert = kAlertSection;
    switch (s) {
    case Setting::TelFullFee:
        return {tel, kFullFee, F::MilliYuan, 120, "", 0, false};
    case Setting::TelHalfFee:
        return {tel, kHalfFee, F::MilliYuan, 60, "", 0, false};
    case Setting::TelUnit:
        return {tel, "Tel Unit", F::Integer, 180, "", 0, false};
    case Setting::TelStartHour:
        return Shared(C::StartHour, tel);
    case Setting::TelStartMinute:
        return Shared(C::StartMinute, tel);
    case Setting::TelEndHour:
        return Shared(C::EndHour, tel);
    case Setting::TelEndMinute:
        return Shared(C::EndMinute, tel);
    case Setting::TelEverydayFlag:
        return Shared(C::EverydayFlag, tel);
    case Setting::TelSaturdayFlag:
        return Shared(C::SaturdayFlag, tel);
    case Setting::TelSundayFlag:
        return Shared(C::SundayFlag, tel);
    case Setting::TelHolidayFlag:
        return Shared(C::HolidayFlag, tel);
    case Setting::TelHolidayStart:
        return Shared(C::HolidayStart, tel);
    case Setting::AlertDayCheck:
        return {alert, "DayCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertDayStandard:
        return {alert, "Day AlertStandard", F::Integer, 0, "", 0, true};
    case Setting::AlertDayHours:
        return {alert, "Dayhours", F::Integer, 3, "", 0, true};
    case Setting::AlertDayFee:
        return {alert, "DayFee", F::Yuan, 20, "", 0, false};
    case Setting::AlertDayWaveCheck:
        return {alert, "DayWaveCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertDayMinutes:
        return {alert, "Dayminutes", F::Integer, 5, "", 0, true};
    case Setting::AlertDayFilePath:
        return {alert, "DayFilePath", F::Text, 0, "", kSoundPathBuffer, false};
    case Setting::AlertWeekCheck:
        return {alert, "WeekCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertWeekStandard:
        return {alert, "Week AlertStandard", F::Integer, 0, "", 0, true};
    case Setting::AlertWeekHours:
        return {alert, "Weekhours", F::Integer, 10, "", 0, true};
    case Setting::AlertWeekFee:
        return {alert, "WeekFee", F::Yuan, 140, "", 0, false};
    case Setting::AlertWeekWaveCheck:
        return {alert, "WeekWaveCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertWeekMinutes:
        return {alert, "Weekminutes", F::Integer, 5, "", 0, true};
    case Setting::AlertWeekFilePath:
        return {alert, "WeekFilePath", F::Text, 0, "", kSoundPathBuffer, false};
    case Setting::AlertMonthCheck:
        return {alert, "MonthCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertMonthStandard:
        return {alert, "Month AlertStandard", F::Integer, 0, "", 0, true};
    case Setting::AlertMonthHours:
        return {alert, "Monthhours", F::Integer, 50, "", 0, true};
    case Setting::AlertMonthFee:
        return {alert, "MonthFee", F::Yuan, 600, "", 0, false};
    case Setting::AlertMonthWaveCheck:
        return {alert, "MonthWaveCheck", F::Flag, 0, "", 0, true};
    case Setting::AlertMonthMinutes:
        return {alert, "Monthminutes", F::Integer, 5, "", 0, true};
    case Setting::AlertMonthFilePath:
        return {alert, "MonthFilePath", F::Text, 0, "", kSoundPathBuffer, false};
    case Setting::ResetMonth:
        return {"Reset", "Month", F::Integer, 1, "", 0, true};
    case Setting::ResetWeek:
        return {"Reset", "Week", F::Integer, 0, "", 0, true};
    case Setting::ProAddSeconds:
        return {"ProAdd", "ProAdd Seconds", F::Integer, 0, "", 0, true};
    case Setting::AutoHide:
        return {"Start Settings", "Auto Hide", F::Flag, 0, "", 0, true};
    case Setting::PlayWave:
        return {"Start Settings", "Play Wave", F::Flag, 0, "", 0, true};
    case Setting::ShowRASName:
        return {"Start Settings", "Show RASName", F::Integer, 0, "", 0, false};
    case Setting::LogNumber:
        return {"Max Log Length", "Log Number", F::Integer, 50, "", 0, true};
    }
    return {};
}

template <typename E, size_t N> constexpr std::array<SettingInfo, N> MakeTable()
{
    std::array<SettingInfo, N> table{};
    for (size_t i = 0; i < N; ++i)
        table[i] = Describe(static_cast<E>(i));
    return table;
}

inline constexpr auto kSettings = MakeTable<Setting, kSettingCount>();
inline constexpr auto kConnectionSettings = MakeTable<ConnectionSetting, kConnectionSettingCount>();
}  // namespace settingkeys

constexpr const SettingInfo& Info(Setting s)
{
    return settingkeys::kSettings[size_t(s)];
}
constexpr const SettingInfo& Info(ConnectionSetting s)
{
    return settingkeys::kConnectionSettings[size_t(s)];
}

// The defaults in the form the program holds them.
constexpr int32_t DefaultInt(Setting s)
{
    return Info(s).defaultInt;
}
constexpr int32_t DefaultInt(ConnectionSetting s)
{
    return Info(s).defaultInt;
}
constexpr int16_t DefaultInt16(Setting s)
{
    return static_cast<int16_t>(Info(s).defaultInt);
}
constexpr int16_t DefaultInt16(ConnectionSetting s)
{
    return static_cast<int16_t>(Info(s).defaultInt);
}
// The money value of an integer read of a MilliYuan or Yuan setting.
constexpr Money SettingMoney(const SettingInfo& info, int32_t stored)
{
    return info.form == SettingForm::Yuan ? Money::FromYuan(stored) : Money::FromRaw(int64_t(stored) * 10);
}
constexpr Money DefaultMoney(Setting s)
{
    return SettingMoney(Info(s), Info(s).defaultInt);
}
constexpr Money DefaultMoney(ConnectionSetting s)
{
    return SettingMoney(Info(s), Info(s).defaultInt);
}

// Integer read with the table's default (not narrowed).
int32_t ReadSettingInt(const ProfileFile& file, Setting s);
// Integer read narrowed to 16 bits (NarrowTo16).
int16_t ReadSettingInt16(const ProfileFile& file, Setting s);
// Integer read of a MilliYuan or Yuan setting as money.
Money ReadSettingMoney(const ProfileFile& file, Setting s);
// Text read with the table's buffer size and default; a setting of another form
// is read with a 256-byte buffer and its default integer as text.
std::string ReadSettingText(const ProfileFile& file, Setting s);
// Every write of a setting ends here; the result says whether the file took it.
ProfileWriteResult WriteSetting(
    ProfileFile& file, Setting s, std::string_view value, std::string* error = nullptr);

// The same for a connection's own section (the connection's name).
int32_t ReadConnectionInt(const ProfileFile& file, std::string_view connection, ConnectionSetting s);
int16_t ReadConnectionInt16(const ProfileFile& file, std::string_view connection, ConnectionSetting s);
Money ReadConnectionMoney(const ProfileFile& file, std::string_view connection, ConnectionSetting s);
std::string ReadConnectionText(const ProfileFile& file, std::string_view connection, ConnectionSetting s);
ProfileWriteResult WriteConnectionSetting(ProfileFile& file, std::string_view connection, ConnectionSetting s,
    std::string_view value, std::string* error = nullptr);

}  // namespace tollix
