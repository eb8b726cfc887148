#include "meter/Statistics.h"
#include "base/Translation.h"

#include <algorithm>

namespace tollix {

namespace {

// Keeps the first failure: it is the one that explains the others.
void Note(std::string* error, const std::string& message, bool& ok)
{
    if (ok && error)
        *error = message;
    ok = false;
}

std::string PeriodName(Period p)
{
    switch (p) {
    case Today:
        return Tr("今日");
    case Week:
        return Tr("本周");
    case Month:
        return Tr("本月");
    default:
        return Tr("总计");
    }
}

bool CountersSound(const UsageRecord& r)
{
    return r.Connections >= 0 && r.Seconds >= 0 && r.CallUnits >= 0;
}

}  // namespace

void ResetUsageRecord(UsageRecord& record, DateTime now)
{
    record = UsageRecord{};
    record.StartDate = now;
}

bool SameDayPeriod(DateTime now, DateTime start)
{
    return DaysBetween(start, now) == 0;
}

bool SameWeekPeriod(DateTime now, DateTime start, int resetWeekDay)
{
    const int weekDay = std::clamp(resetWeekDay, 0, 6);
    return WeeksBetween(start, now, weekDay + 1) == 0;
}

bool SameMonthPeriod(DateTime day, DateTime start, int resetMonthDay, DateTime /*clockNow*/)
{
    const int r = std::clamp(resetMonthDay, 1, 31);
    const CivilTime d = day.ToCivil();
    const CivilTime s = start.ToCivil();
    const int64_t m = int64_t(d.year - s.year) * 12 + (d.month - s.month);
    if (m == 0)
        return (d.day >= r) == (s.day >= r);
    // The next calendar month still belongs to the start's statistics month
    // only when that month began in the start's calendar month (start on or
    // after day r) and has not yet ended (day before day r). A start before
    // day r lies in the statistics month that ended on day r of its own month.
    if (m == 1)
        return s.day >= r && d.day < r;
    return false;
}

bool PeriodCurrent(Period period, DateTime moment, DateTime start, int resetWeekDay, int resetMonthDay)
{
    if (start.Days() > moment.Days())
        return true;
    switch (period) {
    case Today:
        return SameDayPeriod(moment, start);
    case Week:
        return SameWeekPeriod(moment, start, resetWeekDay);
    case Month:
        return SameMonthPeriod(moment, start, resetMonthDay, moment);
    default:
        return true;
    }
}

bool Statistics::LoadFrom(StatisticsFile& file, DateTime now, std::string* error)
{
    std::array<UsageRecord, 4> read;
    for (int i = 0; i < 4; ++i) {
        auto record = file.Read(i + 1, error);
        if (!record)
            return false;
        read[size_t(i)] = *record;
    }
    // The all-time period began no later than any period still on record.
    DateTime earliest = now;
    for (Period period : {Today, Week, Month}) {
        const DateTime start = read[size_t(period)].StartDate;
        if (start.IsValid() && start.Days() != 0 && start.Days() < earliest.Days())
            earliest = start;
    }
    std::string repairs;
    std::array<bool, 4> repaired{};
    for (Period p : {Today, Week, Month, Total}) {
        UsageRecord& r = read[size_t(p)];
        if (r.StartDate.IsValid())
            continue;
        repaired[size_t(p)] = true;
        std::string done;
        if (!CountersSound(r)) {
            r = UsageRecord{};
            done = Tr("数值也已损坏，重新开始统计");
        } else if (p == Total) {
            r.StartDate = earliest;
            done = Tr("数值都已保留，开始日期改为 %1", {DateText(earliest)});
        } else {
            r.StartDate = DateTime();
            done = Tr("重新开始统计");
        }
        repairs += "\n" + Tr("%1：%2", {PeriodName(p), done});
    }
    if (!repairs.empty())
        Notice += (Notice.empty() ? "" : "\n\n")
            + Tr("统计文件 %1 中有记录的开始日期已损坏，已经修复：%2", {file.Path().string(), repairs});
    Records = read;
    repaired_ = repaired;
    return true;
}

bool Statistics::StartUp(
    StatisticsFile& file, DateTime now, int resetWeekDay, int resetMonthDay, std::string* error)
{
    if (!LoadFrom(file, now, error))
        return false;
    bool ok = true;
    std::string message;
    for (Period p : {Today, Week, Month, Total}) {
        UsageRecord& record = Records[size_t(p)];
        const bool neverUsed = p != Today && record.CallUnits == 0;
        if (!neverUsed && !repaired_[size_t(p)])
            continue;
        repaired_[size_t(p)] = false;
        if (neverUsed)
            record.StartDate = now;
        if (!file.Put(p + 1, Records[size_t(p)], &message))
            Note(error, message, ok);
    }
    std::string rollError;
    if (!RollOverPeriods(file, now, resetWeekDay, resetMonthDay, &rollError))
        Note(error, rollError, ok);
    return ok;
}

bool Statistics::RollOverPeriods(
    StatisticsFile& file, DateTime now, int resetWeekDay, int resetMonthDay, std::string* error)
{
    bool ok = true;
    std::string message;
    std::string kept;
    for (Period p : {Today, Week, Month}) {
        UsageRecord& record = Records[size_t(p)];
        if (PeriodCurrent(p, now, record.StartDate, resetWeekDay, resetMonthDay)) {
            if (record.StartDate.Days() > now.Days()
                && !PeriodCurrent(p, record.StartDate, now, resetWeekDay, resetMonthDay))
                kept = kept.empty() ? PeriodName(p) : Tr("%1、%2", {kept, PeriodName(p)});
            continue;
        }
        ResetUsageRecord(record, now);
        if (!file.Put(p + 1, record, &message))
            Note(error, message, ok);
    }
    if (!kept.empty() && !clockBehindTold_) {
        clockBehindTold_ = true;
        Notice += (Notice.empty() ? "" : "\n\n")
            + Tr("系统时间 %1 早于统计记录的开始时间，时钟可能被调回了。%2的统计已经保留，新的连接照样计入；"
                 "请检查系统的日期和时间。",
                {DateTimeText(now), kept});
    }
    LoadRunningTotals();
    return ok;
}

void Statistics::LoadRunningTotals()
{
    for (size_t i = 0; i < Records.size(); ++i) {
        RunningTelFee[i] = Records[i].TelFee;
        RunningNetFee[i] = Records[i].NetFee;
    }
}

bool Statistics::WriteAll(StatisticsFile& file, std::string* error)
{
    bool ok = true;
    std::string message;
    for (int i = 0; i < 4; ++i)
        if (!file.Put(i + 1, Records[size_t(i)], &message))
            Note(error, message, ok);
    return ok;
}

bool Statistics::ResetPeriod(StatisticsFile& file, Period period, DateTime now, std::string* error)
{
    if (period < Today || period > Total) {
        if (error)
            *error = Tr("没有这个统计时段");
        return false;
    }
    ResetUsageRecord(Records[size_t(period)], now);
    RunningTelFee[size_t(period)] = Money();
    RunningNetFee[size_t(period)] = Money();
    return file.Put(period + 1, Records[size_t(period)], error);
}

}  // namespace tollix
