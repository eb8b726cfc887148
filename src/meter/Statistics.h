#pragma once

#include <array>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"
#include "meter/StatisticsFile.h"
#include "meter/UsageRecord.h"

namespace tollix {

// The four statistics records and the eight running fee totals, program-wide.
// Between connections each running total equals its record's fee; during a
// connection the running totals also carry the fees of the connection in
// progress while the records keep their values from its start.
// Memory is the authority; the file is a copy brought up to date at the points
// below. Every operation that writes goes on after a failed put (the records in
// memory stay right) and reports the first failure.
class Statistics {
public:
    std::array<UsageRecord, 4> Records;
    std::array<Money, 4> RunningTelFee{}, RunningNetFee{};
    // What the user should be told about the records (a repair, a clock set
    // back); the window shows it and clears it. Each cause is said once a run.
    std::string Notice;

    // Reads records 1 to 4. On a read failure nothing in memory changes.
    // A start date that cannot be a date is repaired: the all-time record keeps
    // its counters and starts at the earliest sound start date of the periods
    // (`now` when none is); a period record gets an old date, so the next
    // roll-over starts it anew. A damaged record whose counters are negative too
    // is never-used. Either is put in Notice.
    bool LoadFrom(StatisticsFile& file, DateTime now, std::string* error = nullptr);

    // The program's start: reads records 1 to 4, putting back any it repaired;
    // a never-used (CallUnits 0) week, month and total record starts its period
    // now and is put back; then
    // RollOverPeriods. When the records cannot be read nothing is written, so a
    // passing read error never overwrites stored statistics.
    bool StartUp(StatisticsFile& file, DateTime now, int resetWeekDay, int resetMonthDay,
        std::string* error = nullptr);

    // Resets today, week and month when the clock has moved forward into a new
    // period, putting each reset record at once; then loads the running totals
    // from the records. A record whose start lies ahead of `now` (the clock set
    // back) is kept, so setting the clock right again finds it whole; that is
    // put in Notice once. resetWeekDay 0 Sunday ... 6 Saturday; resetMonthDay 1 to 31.
    bool RollOverPeriods(StatisticsFile& file, DateTime now, int resetWeekDay, int resetMonthDay,
        std::string* error = nullptr);

    // Running totals := the records' fees.
    void LoadRunningTotals();

    // Puts records 1 to 4.
    bool WriteAll(StatisticsFile& file, std::string* error = nullptr);

    // The user's zeroing of one period: the record starts anew now, its two
    // running totals become 0, and that record alone is put.
    bool ResetPeriod(StatisticsFile& file, Period period, DateTime now, std::string* error = nullptr);

private:
    bool clockBehindTold_ = false;
    std::array<bool, 4> repaired_{};  // by the last LoadFrom, not yet put back
};

// Whether a connection at `moment` still counts in a period record that started
// at `start`: the same period, or a start ahead of it (the clock set back).
bool PeriodCurrent(Period period, DateTime moment, DateTime start, int resetWeekDay, int resetMonthDay);

// StartDate := now (not midnight), every count and fee := 0.
void ResetUsageRecord(UsageRecord& record, DateTime now);

// True while `start` lies on today's calendar date.
bool SameDayPeriod(DateTime now, DateTime start);

// True while `start` and `now` lie in the same week, weeks starting on
// resetWeekDay (0 Sunday ... 6 Saturday; other values are clamped into range).
// A start in a later week than now (clock set back) is not the same week.
bool SameWeekPeriod(DateTime now, DateTime start, int resetWeekDay);

// True while `day` lies in the statistics month that began on or before `start`,
// statistics months beginning on day resetMonthDay (1 to 31, clamped) of each
// calendar month. With resetMonthDay 1 this is the same calendar month.
// A start in a later calendar month than `day` is never the same period.
// The rule looks at `day` and `start` only; `clockNow` is accepted so callers
// can pass the clock reading they tested with.
bool SameMonthPeriod(DateTime day, DateTime start, int resetMonthDay, DateTime clockNow);

}  // namespace tollix
