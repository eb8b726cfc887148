#include "alerts/AlertSetting.h"

#include "config/SettingKeys.h"

namespace tollix {

namespace {

struct AlertKeys {
    Setting check, hours, waveCheck, minutes, fee, standard, filePath;
};

AlertSetting LoadAlert(const ProfileFile& file, const AlertKeys& k)
{
    AlertSetting a;
    a.Check = ReadSettingInt16(file, k.check);
    a.Hours = ReadSettingInt16(file, k.hours);
    a.WaveCheck = ReadSettingInt16(file, k.waveCheck);
    a.Minutes = ReadSettingInt16(file, k.minutes);
    a.Fee = ReadSettingMoney(file, k.fee);
    a.AlertStandard = ReadSettingInt16(file, k.standard);
    a.FilePath = ReadSettingText(file, k.filePath);
    return a;
}

}  // namespace

AlertSettings InitialAlertSettings(const ProfileFile& file)
{
    using S = Setting;
    AlertSettings a;
    a.DayAlert = LoadAlert(file,
        {S::AlertDayCheck, S::AlertDayHours, S::AlertDayWaveCheck, S::AlertDayMinutes, S::AlertDayFee,
            S::AlertDayStandard, S::AlertDayFilePath});
    a.WeekAlert = LoadAlert(file,
        {S::AlertWeekCheck, S::AlertWeekHours, S::AlertWeekWaveCheck, S::AlertWeekMinutes, S::AlertWeekFee,
            S::AlertWeekStandard, S::AlertWeekFilePath});
    a.MonthAlert = LoadAlert(file,
        {S::AlertMonthCheck, S::AlertMonthHours, S::AlertMonthWaveCheck, S::AlertMonthMinutes,
            S::AlertMonthFee, S::AlertMonthStandard, S::AlertMonthFilePath});
    return a;
}

}  // namespace tollix
