#include "alerts/AlertMonitor.h"
#include "base/Translation.h"

namespace tollix {

AlertCheckResult AlertMonitor::Check(
    const AlertSettings& settings, PeriodMeasure day, PeriodMeasure week, PeriodMeasure month)
{
    const AlertSetting* alerts[3] = {&settings.DayAlert, &settings.WeekAlert, &settings.MonthAlert};
    const PeriodMeasure measures[3] = {day, week, month};
    AlertCheckResult result;
    for (int period = 0; period < 3; ++period) {
        const AlertSetting& a = *alerts[period];
        const PeriodMeasure& m = measures[period];
        if (a.Check == 0)
            continue;
        bool exceeded;
        int16_t kind;
        if (a.AlertStandard != 0) {
            exceeded = m.Fee >= a.Fee;
            kind = int16_t(4 + period);
        } else {
            exceeded = m.Seconds / 3600 >= a.Hours;
            kind = int16_t(1 + period);
        }
        if (!exceeded)
            continue;
        result.AlertKind = kind;
        const int every = a.Minutes > 0 ? a.Minutes : 1;
        if (counts_[period] % every == 0) {
            if (!result.ShowWindow)
                result.WindowKind = kind;
            result.ShowWindow = true;
            if (a.WaveCheck != 0)
                result.SoundsToPlay.push_back(a.FilePath);
        }
        ++counts_[period];
    }
    return result;
}

void AlertMonitor::ResetCounters()
{
    counts_[0] = counts_[1] = counts_[2] = 0;
}

std::string AlertText(int16_t alertKind, const AlertSettings& settings)
{
    switch (alertKind) {
    case 1:
        return Tr("你今天的用时超过%1小时了！", {std::to_string(settings.DayAlert.Hours)});
    case 2:
        return Tr("你这个星期的用时超过%1小时了！", {std::to_string(settings.WeekAlert.Hours)});
    case 3:
        return Tr("你这个月的用时超过%1小时了!", {std::to_string(settings.MonthAlert.Hours)});
    case 4:
        return Tr("你今天的费用超过%1元了!", {MoneyText(settings.DayAlert.Fee)});
    case 5:
        return Tr("你这个星期的费用超过%1元了!", {MoneyText(settings.WeekAlert.Fee)});
    default:
        return Tr("你这个月的费用超过%1元了!", {MoneyText(settings.MonthAlert.Fee)});
    }
}

}  // namespace tollix
