#include "history/UsageReport.h"

#include <algorithm>
#include <map>

namespace tollix {

namespace {

int64_t DayOf(int year, int month, int day)
{
    return DateTime::FromCivil(year, month, day).value_or(DateTime()).DayNumber();
}

DateTime Midnight(int64_t dayNumber)
{
    return DateTime::FromDays(double(dayNumber));
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

struct YearMonth {
    int year;
    int month;
    YearMonth Next() const { return month == 12 ? YearMonth{year + 1, 1} : YearMonth{year, month + 1}; }
    YearMonth Previous() const { return month == 1 ? YearMonth{year - 1, 12} : YearMonth{year, month - 1}; }
};

// The statistics month named after a calendar month starts on its reset day,
// or, in a month too short to have one, on the 1st of the next: the day the
// statistics' month roll-over first sees a new period.
int64_t MonthStart(YearMonth m, int resetDay)
{
    if (resetDay <= DaysInMonth(m.year, m.month))
        return DayOf(m.year, m.month, resetDay);
    const YearMonth next = m.Next();
    return DayOf(next.year, next.month, 1);
}

YearMonth StatisticsMonthOf(int64_t day, int resetDay)
{
    const CivilTime t = Midnight(day).ToCivil();
    const YearMonth m{t.year, t.month};
    return day >= MonthStart(m, resetDay) ? m : m.Previous();
}

std::string Pad(int value, size_t width)
{
    std::string s = std::to_string(value);
    return std::string(s.size() < width ? width - s.size() : 0, '0') + s;
}

std::string DayKey(int64_t day)
{
    const CivilTime t = Midnight(day).ToCivil();
    return Pad(t.year, 4) + "-" + Pad(t.month, 2) + "-" + Pad(t.day, 2);
}

struct Period {
    int64_t FirstDay;
    int64_t EndDay;  // exclusive
    std::string Key;
};

Period PeriodOfDay(ReportGrouping grouping, int64_t day, const ReportCalendar& calendar)
{
    const int weekDay = std::clamp(calendar.ResetWeekDay, 0, 6);
    const int monthDay = std::clamp(calendar.ResetMonthDay, 1, 31);
    switch (grouping) {
    case ReportGrouping::Week: {
        const int64_t first = day - (Midnight(day).Weekday() - 1 - weekDay + 7) % 7;
        return {first, first + 7, DayKey(first)};
    }
    case ReportGrouping::Month: {
        const YearMonth m = StatisticsMonthOf(day, monthDay);
        return {
            MonthStart(m, monthDay), MonthStart(m.Next(), monthDay), Pad(m.year, 4) + "-" + Pad(m.month, 2)};
    }
    case ReportGrouping::Year: {
        const int year = StatisticsMonthOf(day, monthDay).year;
        return {MonthStart({year, 1}, monthDay), MonthStart({year + 1, 1}, monthDay), Pad(year, 4)};
    }
    case ReportGrouping::Day:
    case ReportGrouping::Connection:
        break;
    }
    return {day, day + 1, DayKey(day)};
}

bool InRange(const ArchivedConnection& c, const ReportRange& range)
{
    return c.Start.Days() >= range.From.Days() && c.Start.Days() < range.To.Days();
}

// a * numerator / denominator, rounded half up, without overflowing on the way.
int64_t Scale(int64_t a, int64_t numerator, int64_t denominator)
{
    const __int128 product = __int128(a) * numerator;
    const __int128 half = denominator / 2;
    const __int128 q = (product >= 0 ? product + half : product - half) / denominator;
    return q > INT64_MAX ? INT64_MAX : q < INT64_MIN ? INT64_MIN : int64_t(q);
}

}  // namespace

void UsageTotals::Add(const ArchivedConnection& c)
{
    ++Connections;
    Seconds += c.Seconds;
    TelFee += c.TelFee;
    NetFee += c.NetFee;
    CallUnits += c.CallUnits;
    if (c.ReceivedBytes || c.SentBytes) {
        ++ConnectionsWithBytes;
        ReceivedBytes += c.ReceivedBytes.value_or(0);
        SentBytes += c.SentBytes.value_or(0);
    }
}

ReportRange PeriodContaining(ReportGrouping period, DateTime moment, const ReportCalendar& calendar)
{
    const Period p = PeriodOfDay(period, moment.DayNumber(), calendar);
    return {Midnight(p.FirstDay), Midnight(p.EndDay)};
}

UsageReportResult AggregateUsage(const std::vector<ArchivedConnection>& connections, ReportGrouping by,
    const ReportRange& range, const ReportCalendar& calendar)
{
    UsageReportResult result;
    std::map<std::string, ReportRow> byName;
    std::map<int64_t, ReportRow> byTime;
    // Connections come oldest first, so consecutive ones mostly share a period:
    // the last one found is tried before the map.
    ReportRow* last = nullptr;
    int64_t lastFirst = 0, lastEnd = 0;
    for (const ArchivedConnection& c : connections) {
        if (!InRange(c, range))
            continue;
        result.Total.Add(c);
        if (by == ReportGrouping::Connection) {
            ReportRow& row = byName[c.ConnectionName];
            row.Key = c.ConnectionName;
            row.Totals.Add(c);
            continue;
        }
        const int64_t day = c.Start.DayNumber();
        if (!last || day < lastFirst || day >= lastEnd) {
            Period p = PeriodOfDay(by, day, calendar);
            auto [it, added] = byTime.try_emplace(p.FirstDay);
            if (added) {
                it->second.Key = std::move(p.Key);
                it->second.PeriodStart = Midnight(p.FirstDay);
                it->second.PeriodEnd = Midnight(p.EndDay);
            }
            last = &it->second;
            lastFirst = p.FirstDay;
            lastEnd = p.EndDay;
        }
        last->Totals.Add(c);
    }
    result.Rows.reserve(byTime.size() + byName.size());
    for (auto& [day, row] : byTime)
        result.Rows.push_back(std::move(row));
    for (auto& [name, row] : byName)
        result.Rows.push_back(std::move(row));
    return result;
}

MonthForecast ForecastMonth(
    const std::vector<ArchivedConnection>& connections, DateTime now, const ReportCalendar& calendar)
{
    MonthForecast f;
    f.Month = PeriodContaining(ReportGrouping::Month, now, calendar);
    const int64_t first = f.Month.From.DayNumber();
    f.DaysInMonth = int(f.Month.To.DayNumber() - first);
    f.DaysElapsed = int(std::clamp<int64_t>(now.DayNumber() - first + 1, 1, f.DaysInMonth));
    for (const ArchivedConnection& c : connections) {
        if (InRange(c, f.Month) && c.Start.Days() <= now.Days())
            f.SoFar.Add(c);
    }
    f.TotalFee = Money::FromRaw(Scale(f.SoFar.TotalFee().Raw(), f.DaysInMonth, f.DaysElapsed));
    f.Seconds = Scale(f.SoFar.Seconds, f.DaysInMonth, f.DaysElapsed);
    return f;
}

}  // namespace tollix
