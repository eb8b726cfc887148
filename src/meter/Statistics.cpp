#include "meter/Statistics.h"

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

bool Statistics::LoadFrom(StatisticsFile& file, std::string* error)
{
    std::array<UsageRecord, 4> read;
    for (int i = 0; i < 4; ++i) {
        auto record = file.Read(i + 1, error);
        if (!record)
            return false;
        read[size_t(i)] = *record;
    }
    Records = read;
    return true;
}

bool Statistics::StartUp(
    StatisticsFile& file, DateTime now, int resetWeekDay, int resetMonthDay, std::string* error)
{
    if (!LoadFrom(file, error))
        return false;
    bool ok = true;
    std::string message;
    for (Period p : {Week, Month, Total}) {
        UsageRecord& record = Records[size_t(p)];
        if (record.CallUnits != 0)
            continue;
        record.StartDate = now;
        if (!file.Put(p + 1, record, &message))
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
    const bool ended[3] = {
        !SameDayPeriod(now, Records[Today].StartDate),
        !SameWeekPeriod(now, Records[Week].StartDate, resetWeekDay),
        !SameMonthPeriod(now, Records[Month].StartDate, resetMonthDay, now),
    };
    bool ok = true;
    std::string message;
    for (Period p : {Today, Week, Month}) {
        if (!ended[p])
            continue;
        ResetUsageRecord(Records[size_t(p)], now);
        if (!file.Put(p + 1, Records[size_t(p)], &message))
            Note(error, message, ok);
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
            *error = "没有这个统计时段";
        return false;
    }
    ResetUsageRecord(Records[size_t(period)], now);
    RunningTelFee[size_t(period)] = Money();
    RunningNetFee[size_t(period)] = Money();
    return file.Put(period + 1, Records[size_t(period)], error);
}

}  // namespace tollix
