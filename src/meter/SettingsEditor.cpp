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
    std::string path = Utf8Left(text, kSoundPathCharacters);
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    return path;
}

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

void SettingsEditor::ConnectionFee(
    std::string_view connection, ConnectionSetting field, std::string_view text)
{
    ConnectionTariff probe;
    if (!FeeField(probe, field))
        return;
    const std::optional<Money> fee = FeeFromText(text);
    if (!fee)
        return;
    if (ConnectionTariff* t = Find(connection))
        *FeeField(*t, field) = *fee;
    WriteConnectionSetting(file_, connection, field, MilliYuanText(*fee));
}

void SettingsEditor::FixHour(std::string_view connection, std::string_view text)
{
    if (ConnectionTariff* t = Find(connection))
        if (const std::optional<int16_t> hours = WholeNumber16(text))
            t->FixHour = *hours;
    WriteConnectionSetting(file_, connection, C::FixHour, text);
}

void SettingsEditor::ConnectionPeriod(
    std::string_view connection, ConnectionSetting field, std::string_view comboText)
{
    if (field != C::StartHour && field != C::StartMinute && field != C::EndHour && field != C::EndMinute)
        return;
    if (ConnectionTariff* t = Find(connection))
        if (const std::optional<int16_t> value = WholeNumber16(comboText))
            *PeriodOrFlagField(*t, field) = *value;
    WriteConnectionSetting(file_, connection, field, comboText);
}

void SettingsEditor::ConnectionFlag(std::string_view connection, ConnectionSetting field, bool on)
{
    if (field != C::EverydayFlag && field != C::SaturdayFlag && field != C::SundayFlag)
        return;
    if (ConnectionTariff* t = Find(connection))
        *PeriodOrFlagField(*t, field) = on ? 1 : 0;
    WriteConnectionSetting(file_, connection, field, FlagText(on));
}

void SettingsEditor::ConnectionHoliday(std::string_view connection, bool on, DateTime now)
{
    if (ConnectionTariff* t = Find(connection))
        t->HolidayFlag = on ? 1 : 0;
    WriteConnectionSetting(file_, connection, C::HolidayFlag, FlagText(on));
    WriteConnectionSetting(file_, connection, C::HolidayStart, GeneralDateText(now));
}

int SettingsEditor::SetFeeType(std::string_view connection, int feeType)
{
    const int index = tariffs_.FindConnectionTariff(connection);
    if (index < 1 || index > tariffs_.ConnectionCount())
        return 0;
    tariffs_.Connection(index).FeeType = static_cast<int16_t>(feeType);
    return index;
}

void SettingsEditor::WriteFeeType(std::string_view connection, int feeType)
{
    if (feeType == 0) {
        if (ConnectionTariff* t = Find(connection)) {
            t->FullFee = Money();
            t->HalfFee = Money();
        }
        WriteConnectionSetting(file_, connection, C::FullFee, "0");
        WriteConnectionSetting(file_, connection, C::HalfFee, "0");
    }
    WriteConnectionSetting(file_, connection, C::FeeType, std::to_string(feeType));
}

void SettingsEditor::TelephoneFee(Setting field, std::string_view text)
{
    Money* target = field == Setting::TelFullFee ? &tariffs_.Telephone.FullFee
        : field == Setting::TelHalfFee           ? &tariffs_.Telephone.HalfFee
                                                 : nullptr;
    if (!target)
        return;
    if (const std::optional<Money> fee = FeeFromText(text))
        *target = *fee;
    WriteSetting(file_, field, MilliYuanText(*target));
}

void SettingsEditor::TelephoneUnit(int index)
{
    if (index != 0 && index != 1)
        return;
    tariffs_.Telephone.TelUnit = index == 0 ? 60 : 180;
    WriteSetting(file_, Setting::TelUnit, std::to_string(tariffs_.Telephone.TelUnit));
}

void SettingsEditor::TelephonePeriod(Setting field, std::string_view comboText)
{
    if (field != Setting::TelStartHour && field != Setting::TelStartMinute && field != Setting::TelEndHour
        && field != Setting::TelEndMinute)
        return;
    if (const std::optional<int16_t> value = WholeNumber16(comboText))
        *TelephonePeriodOrFlagField(tariffs_.Telephone, field) = *value;
    WriteSetting(file_, field, comboText);
}

void SettingsEditor::TelephoneFlag(Setting field, bool on)
{
    if (field != Setting::TelEverydayFlag && field != Setting::TelSaturdayFlag
        && field != Setting::TelSundayFlag)
        return;
    *TelephonePeriodOrFlagField(tariffs_.Telephone, field) = on ? 1 : 0;
    WriteSetting(file_, field, FlagText(on));
}

void SettingsEditor::TelephoneHoliday(bool on, DateTime now)
{
    tariffs_.Telephone.HolidayFlag = on ? 1 : 0;
    WriteSetting(file_, Setting::TelHolidayStart, GeneralDateText(now));
    WriteSetting(file_, Setting::TelHolidayFlag, FlagText(on));
}

void SettingsEditor::AlertCheck(int index, bool on)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].check, FlagText(on));
    a->Check = on ? 1 : 0;
}

void SettingsEditor::AlertWaveCheck(int index, bool on)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].waveCheck, FlagText(on));
    a->WaveCheck = on ? 1 : 0;
}

void SettingsEditor::AlertStandard(int index, int standard)
{
    AlertSetting* a = Alert(index);
    if (!a || (standard != 0 && standard != 1))
        return;
    a->AlertStandard = static_cast<int16_t>(standard);
    WriteSetting(file_, kAlertKeys[index].standard, std::to_string(standard));
}

void SettingsEditor::AlertHours(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].hours, text);
    if (const std::optional<int16_t> hours = WholeNumber16(text))
        a->Hours = *hours;
}

void SettingsEditor::AlertFee(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].fee, text);
    // The file holds whole yuan as a 32-bit integer; a limit beyond it could not be read back.
    if (const std::optional<int32_t> yuan = WholeNumber32(text))
        a->Fee = Money::FromYuan(*yuan);
}

void SettingsEditor::AlertMinutes(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].minutes, text);
    if (const std::optional<int16_t> minutes = WholeNumber16(text))
        a->Minutes = *minutes;
}

void SettingsEditor::AlertFilePath(int index, std::string_view text)
{
    AlertSetting* a = Alert(index);
    if (!a)
        return;
    WriteSetting(file_, kAlertKeys[index].filePath, text);
    a->FilePath = SoundPathFromText(text);
}

void SettingsEditor::ResetWeek(int position)
{
    if (position < 0 || position > 6)
        return;
    WriteSetting(file_, Setting::ResetWeek, std::to_string(position));
    reset_.ResetWeekDay = static_cast<int16_t>(position);
}

void SettingsEditor::ResetMonth(std::string_view text)
{
    WriteSetting(file_, Setting::ResetMonth, text);
    if (const std::optional<int16_t> day = WholeNumber16(text))
        reset_.ResetMonthDay = *day;
}

void SettingsEditor::ProAdd(std::string_view text)
{
    WriteSetting(file_, Setting::ProAddSeconds, text);
    if (const std::optional<int16_t> seconds = WholeNumber16(text))
        reset_.ProAddSeconds = *seconds;
}

}  // namespace tollix
