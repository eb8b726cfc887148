#include "meter/SettingsEditor.h"

#include <limits>

#include "base/Gbk.h"

namespace tollix {

namespace {

using C = ConnectionSetting;

std::string FlagText(bool on)
{
    return on ? "1" : "0";
}

// Whole number nearest to the amount, halves to the even number.
int64_t RoundHalfEven(Money value)
{
    const int64_t raw = value.Raw();
    int64_t whole = raw / Money::kScale;
    int64_t rest = raw % Money::kScale;  // same sign as raw
    if (rest < 0) {
        rest += Money::kScale;
        whole -= 1;
    }
    const int64_t twice = rest * 2;
    if (twice > Money::kScale || (twice == Money::kScale && whole % 2 != 0))
        whole += 1;
    return whole;
}

template <typename T> std::optional<T> WholeNumber(std::string_view text)
{
    const std::optional<Money> amount = ParseMoney(text);
    if (!amount)
        return std::nullopt;
    const int64_t whole = RoundHalfEven(*amount);
    if (whole < std::numeric_limits<T>::min() || whole > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(whole);
}

Money* FeeField(ConnectionTariff& t, ConnectionSetting field)
{
    switch (field) {
    case C::FullFee:
        return &t.FullFee;
    case C::HalfFee:
        return &t.HalfFee;
    case C::FixFee:
        return &t.FixFee;
    case C::ExcelFee:
        return &t.ExcelFee;
    default:
        return nullptr;
    }
}

int16_t* PeriodOrFlagField(ConnectionTariff& t, ConnectionSetting field)
{
    switch (field) {
    case C::StartHour:
        return &t.StartHour;
    case C::StartMinute:
        return &t.StartMinute;
    case C::EndHour:
        return &t.EndHour;
    case C::EndMinute:
        return &t.EndMinute;
    case C::EverydayFlag:
        return &t.EverydayFlag;
    case C::SaturdayFlag:
        return &t.SaturdayFlag;
    case C::SundayFlag:
        return &t.SundayFlag;
    default:
        return nullptr;
    }
}

int16_t* TelephonePeriodOrFlagField(TelephoneTariff& t, Setting field)
{
    switch (field) {
    case Setting::TelStartHour:
        return &t.StartHour;
    case Setting::TelStartMinute:
        return &t.StartMinute;
    case Setting::TelEndHour:
        return &t.EndHour;
    case Setting::TelEndMinute:
        return &t.EndMinute;
    case Setting::TelEverydayFlag:
        return &t.EverydayFlag;
    case Setting::TelSaturdayFlag:
        return &t.SaturdayFlag;
    case Setting::TelSundayFlag:
        return &t.SundayFlag;
    default:
        return nullptr;
    }
}

struct AlertKeys {
    Setting check, standard, hours, fee, waveCheck, minutes, filePath;
};

constexpr AlertKeys kAlertKeys[3] = {
    {Setting::AlertDayCheck, Setting::AlertDayStandard, Setting::AlertDayHours, Setting::AlertDayFee,
        Setting::AlertDayWaveCheck, Setting::AlertDayMinutes, Setting::AlertDayFilePath},
    {Setting::AlertWeekCheck, Setting::AlertWeekStandard, Setting::AlertWeekHours, Setting::AlertWeekFee,
        Setting::AlertWeekWaveCheck, Setting::AlertWeekMinutes, Setting::AlertWeekFilePath},
    {Setting::AlertMonthCheck, Setting::AlertMonthStandard, Setting::AlertMonthHours, Setting::AlertMonthFee,
        Setting::AlertMonthWaveCheck, Setting::AlertMonthMinutes, Setting::AlertMonthFilePath},
};

}  // namespace

std::optional<Money> FeeFromText(std::string_view text)
{
    return ParseMoney(text);
}

std::optional<int16_t> WholeNumber16(std::string_view text)
{
    return WholeNumber<int16_t>(text);
}

std::optional<int32_t> WholeNumber32(std::string_view text)
{
    return WholeNumber<int32_t>(text);
}

std::string SoundPathFromText(std::string_view text)
{
    std::string path(text);
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    return path;
}

namespace {

// Writes a whole-number setting; once it is in the file, the value in memory
// follows it where the text reads as a number.
ProfileWriteResult WriteWholeNumber(ProfileFile& file, Setting key, std::string_view text, int16_t& held)
{
    ProfileWriteResult result = WriteSetting(file, key, text);
    if (result)
        if (const std::optional<int16_t> value = WholeNumber16(text))
            held = *value;
    return result;
}

}  // namespace

ConnectionTariff* SettingsEditor::Find(std::string_view connection)
{
    const int index = tariffs_.FindConnectionTariff(connection);
    if (index < 1 || index > tariffs_.ConnectionCount())
        return nullptr;
    return &tariffs_.Connection(index);
}

AlertSetting* SettingsEditor::Alert(int index)
{
    switch (index) {
    case 0:
        return &alerts_.DayAlert;
    case 1:
        return &alerts_.WeekAlert;
    case 2:
        return &alerts_.MonthAlert;
    default:
        return nullptr;
    }
}

ProfileWriteResult SettingsEditor::ConnectionFee(
    std::string_view connection, ConnectionSetting field, std::string_view text)
{
    ConnectionTariff probe;
    if (!FeeField(probe, field))
        return {};
    const std::optional<Money> fee = FeeFromText(text);
    if (!fee)
        return {};
    ProfileWriteResult result = WriteConnectionSetting(file_, connection, field, MilliYuanText(*fee));
    if (ConnectionTariff* t = Find(connection); t && result)
        *FeeField(*t, field) = *fee;
    return result;
}

ProfileWriteResult SettingsEditor::FixHour(std::string_view connection, std::string_view text)
{
    ProfileWriteResult result = WriteConnectionSetting(file_, connection, C::FixHour, text);
    if (ConnectionTariff* t = Find(connection); t && result)
        if (const std::optional<int16_t> hours = WholeNumber16(text))
            t->FixHour = *hours;
    return result;
}

ProfileWriteResult SettingsEditor::ConnectionPeriod(
    std::string_view connection, ConnectionSetting field, std::string_view comboText)
{
    if (field != C::StartHour && field != C::StartMinute && field != C::EndHour && field != C::EndMinute)
        return {};
    ProfileWriteResult result = WriteConnectionSetting(file_, connection, field, comboText);
    if (ConnectionTariff* t = Find(connection); t && result)
        if (const std::optional<int16_t> value = WholeNumber16(comboText))
            *PeriodOrFlagField(*t, field) = *value;
    return result;
}

ProfileWriteResult SettingsEditor::ConnectionFlag(
    std::string_view connection, ConnectionSetting field, bool on)
{
    if (field != C::EverydayFlag && field != C::SaturdayFlag && field != C::SundayFlag)
        return {};
    ProfileWriteResult result = WriteConnectionSetting(file_, connection, field, FlagText(on));
    if (ConnectionTariff* t = Find(connection); t && result)
        *PeriodOrFlagField(*t, field) = on ? 1 : 0;
    return result;
}

ProfileWriteResult SettingsEditor::ConnectionHoliday(std::string_view connection, bool on, DateTime now)
{
    ProfileWriteResult result = WriteConnectionSetting(file_, connection, C::HolidayFlag, FlagText(on));
    if (!result)
        return result;
    if (ConnectionTariff* t = Find(connection))
        t->HolidayFlag = on ? 1 : 0;
    return WriteConnectionSetting(file_, connection, C::HolidayStart, GeneralDateText(now));
}

int SettingsEditor::SetFeeType(std::string_view connection, int feeType)
{
    const int index = tariffs_.FindConnectionTariff(connection);
    if (index < 1 || index > tariffs_.ConnectionCount())
        return 0;
    tariffs_.Connection(index).FeeType = static_cast<int16_t>(feeType);
    return index;
}

ProfileWriteResult SettingsEditor::WriteFeeType(std::string_view connection, int feeType)
{
    ConnectionTariff* t = Find(connection);
    if (feeType == 0) {
        for (ConnectionSetting field : {C::FullFee, C::HalfFee}) {
            ProfileWriteResult zeroed = WriteConnectionSetting(file_, connection, field, "0");
            if (zeroed && t)
                *FeeField(*t, field) = Money();
        }
    }
    ProfileWriteResult result
        = WriteConnectionSetting(file_, connection, C::FeeType, std::to_string(feeType));
    if (!result && t)
        t->FeeType = ReadConnectionInt16(file_, connection, C::FeeType);
    return result;
}

ProfileWriteResult SettingsEditor::TelephoneFee(Setting field, std::string_view text)
{
    Money* target = field == Setting::TelFullFee ? &tariffs_.Telephone.FullFee
        : field == Setting::TelHalfFee           ? &tariffs_.Telephone.HalfFee
                                                 : nullptr;
    if (!target)
        return {};
    const std::optional<Money> fee = FeeFromText(text);
    ProfileWriteResult result = WriteSetting(file_, field, MilliYuanText(fee.value_or(*target)));
    if (result && fee)
        *target = *fee;
    return result;
}

ProfileWriteResult SettingsEditor::TelephoneUnit(int index)
{
    if (index != 0 && index != 1)
        return {};
    const int16_t unit = index == 0 ? 60 : 180;
    ProfileWriteResult result = WriteSetting(file_, Setting::TelUnit, std::to_string(unit));
    if (result)
        tariffs_.Telephone.TelUnit = unit;
    return result;
}

ProfileWriteResult SettingsEditor::TelephonePeriod(Setting field, std::string_view comboText)
{
    if (field != Setting::TelStartHour && field != Setting::TelStartMinute && field != Setting::TelEndHour
        && field != Setting::TelEndMinute)
        return {};
    return WriteWholeNumber(file_, field, comboText, *TelephonePeriodOrFlagField(tariffs_.Telephone, field));
}

ProfileWriteResult SettingsEditor::TelephoneFlag(Setting field, bool on)
{
    if (field != Setting::TelEverydayFlag && field != Setting::TelSaturdayFlag
        && field != Setting::TelSundayFlag)
        return {};
    ProfileWriteResult result = WriteSetting(file_, field, FlagText(on));
    if (result)
        *TelephonePeriodOrFlagField(tariffs_.Telephone, field) = on ? 1 : 0;
    return result;
}

ProfileWriteResult SettingsEditor::TelephoneHoliday(bool on, DateTime now)
{
    ProfileWriteResult result = WriteSetting(file_, Setting::TelHolidayStart, GeneralDateText(now));
    if (result)
        result = WriteSetting(file_, Setting::TelHolidayFlag, FlagText(on));
    if (result)
        tariffs_.Telephone.HolidayFlag = on ? 1 : 0;
    return result;
}

ProfileWriteResult SettingsEditor::AlertCheck(int index, bool on)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].check, FlagText(on));
    if (result)
        a->Check = on ? 1 : 0;
    return result;
}

ProfileWriteResult SettingsEditor::AlertWaveCheck(int index, bool on)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].waveCheck, FlagText(on));
    if (result)
        a->WaveCheck = on ? 1 : 0;
    return result;
}

ProfileWriteResult SettingsEditor::AlertStandard(int index, int standard)
{
    AlertSetting* a = Alert(index);
    if (!a || (standard != 0 && standard != 1))
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].standard, std::to_string(standard));
    if (result)
        a->AlertStandard = static_cast<int16_t>(standard);
    return result;
}

ProfileWriteResult SettingsEditor::AlertHours(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    return WriteWholeNumber(file_, kAlertKeys[index].hours, text, a->Hours);
}

ProfileWriteResult SettingsEditor::AlertFee(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].fee, text);
    // The file holds whole yuan as a 32-bit integer; a limit beyond it could not be read back.
    if (result)
        if (const std::optional<int32_t> yuan = WholeNumber32(text))
            a->Fee = Money::FromYuan(*yuan);
    return result;
}

ProfileWriteResult SettingsEditor::AlertMinutes(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].minutes, text);
    if (result)
        if (const std::optional<int16_t> minutes = WholeNumber16(text))
            a->Minutes = *minutes;
    return result;
}

ProfileWriteResult SettingsEditor::AlertFilePath(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return {};
    ProfileWriteResult result = WriteSetting(file_, kAlertKeys[index].filePath, text);
    if (result)
        a->FilePath = SoundPathFromText(text);
    return result;
}

ProfileWriteResult SettingsEditor::ResetWeek(int position)
{
    if (position < 0 || position > 6)
        return {};
    return WriteWholeNumber(file_, Setting::ResetWeek, std::to_string(position), reset_.ResetWeekDay);
}

ProfileWriteResult SettingsEditor::ResetMonth(std::string_view text)
{
    return WriteWholeNumber(file_, Setting::ResetMonth, text, reset_.ResetMonthDay);
}

ProfileWriteResult SettingsEditor::ProAdd(std::string_view text)
{
    return WriteWholeNumber(file_, Setting::ProAddSeconds, text, reset_.ProAddSeconds);
}

ProfileWriteResult SettingsEditor::StartFlag(Setting key, bool on, bool& held)
{
    if (key != Setting::AutoHide && key != Setting::PlayWave)
        return {};
    ProfileWriteResult result = WriteSetting(file_, key, on ? "-1" : "0");
    if (result)
        held = on;
    return result;
}

}  // namespace tollix
