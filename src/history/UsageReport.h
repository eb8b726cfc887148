#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/Money.h"
#include "history/ArchivedConnection.h"

namespace tollix {

// The user's reset days, as the statistics use them: weeks start on
// ResetWeekDay (0 Sunday ... 6 Saturday), statistics months on day
// ResetMonthDay (1 to 31) of each calendar month, or on the 1st of the next
// month when a month is too short. Values out of range are clamped.
struct ReportCalendar {
    int ResetWeekDay = 0;
    int ResetMonthDay = 1;
};

enum class ReportGrouping { Day, Week, Month, Year, Connection };

// A local time span [From, To).
struct ReportRange {
    DateTime From;
    DateTime To;
};

struct UsageTotals {
    int64_t Connections = 0;
    int64_t Seconds = 0;
    Money TelFee;
    Money NetFee;
    int64_t CallUnits = 0;
    int64_t ReceivedBytes = 0;  // sum over the connections whose bytes are known
    int64_t SentBytes = 0;
    int64_t ConnectionsWithBytes = 0;

    Money TotalFee() const { return TelFee + NetFee; }
    void Add(const ArchivedConnection& c);
    bool operator==(const UsageTotals&) const = default;
};

struct ReportRow {
    // Day: "2026-03-05"; week: its first day "2026-03-01"; month: the calendar
    // month its statistics month starts in, "2026-03"; year: "2026";
    // connection: the connection name.
    std::string Key;
    DateTime PeriodStart;  // time groupings: the first moment of the period
    DateTime PeriodEnd;    // exclusive
    UsageTotals Totals;
};

struct UsageReportResult {
    std::vector<ReportRow> Rows;  // by time, oldest first; by connection, by name
    UsageTotals Total;
};

// The day, week, statistics month or year holding `moment`.
ReportRange PeriodContaining(ReportGrouping period, DateTime moment, const ReportCalendar& calendar);

// Totals of the connections that started in `range`, one row per period (or
// connection) that has any; a connection counts wholly in the period it
// started in, as the statistics count it. Years are twelve statistics months
// from the one starting in January, so months add up to their year.
UsageReportResult AggregateUsage(const std::vector<ArchivedConnection>& connections, ReportGrouping by,
    const ReportRange& range, const ReportCalendar& calendar);

// The current statistics month at today's pace: what was used from the
// month's start to now, scaled by days in the month / days begun so far
// (today counted as a whole day).
struct MonthForecast {
    ReportRange Month;
    int DaysElapsed = 0;
    int DaysInMonth = 0;
    UsageTotals SoFar;
    Money TotalFee;       // forecast fee for the whole month
    int64_t Seconds = 0;  // forecast connected seconds
};
MonthForecast ForecastMonth(
    const std::vector<ArchivedConnection>& connections, DateTime now, const ReportCalendar& calendar);

}  // namespace tollix
