#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollix {

struct CivilTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const CivilTime&) const = default;
};

// A moment as a day count: days since 30 December 1899, the time of day as the
// fraction. This is the form Price.DB stores. For a negative value the fraction
// is still the time of day (-1.25 is 29 December 1899, 06:00).
class DateTime {
public:
    constexpr DateTime() = default;
    static constexpr DateTime FromDays(double days) { return DateTime(days); }
    // Nothing when the fields are not a real date and time in years 100 to 9999.
    static std::optional<DateTime> FromCivil(const CivilTime& t);
    static std::optional<DateTime> FromCivil(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
    {
        return FromCivil(CivilTime{y, mo, d, h, mi, s});
    }

    constexpr double Days() const { return days_; }
    // True for a finite day count within years 100 to 9999.
    bool IsValid() const;

    // Date and time of day, rounded to the nearest second.
    CivilTime ToCivil() const;
    // The calendar day as a plain day number (0 = 30 December 1899).
    int64_t DayNumber() const;
    // Seconds into the day, 0 to 86399.
    int SecondOfDay() const;
    // 1 Sunday ... 7 Saturday.
    int Weekday() const;

    DateTime AddSeconds(int64_t seconds) const;

    bool operator==(const DateTime&) const = default;

private:
    constexpr explicit DateTime(double days)
        : days_(days)
    { }
    double days_ = 0.0;
};

// Whole seconds of local time from the earlier to the later moment
// (negative when `to` lies before `from`).
int64_t SecondsBetween(DateTime from, DateTime to);
// Midnights crossed from `from` to `to`.
int64_t DaysBetween(DateTime from, DateTime to);
// Week starts crossed from `from` to `to`; firstWeekday 1 Sunday ... 7 Saturday.
int64_t WeeksBetween(DateTime from, DateTime to, int firstWeekday);
// Calendar month difference.
int64_t MonthsBetween(DateTime from, DateTime to);

// Local civil time <-> seconds since the Unix epoch, through the time zone.
DateTime FromUnixTime(int64_t unixSeconds);
// How far the local time zone is ahead of UTC at the local moment `local`, in
// seconds (east positive); 0 when the time zone cannot tell.
int32_t UtcOffsetSeconds(DateTime local);

// "1998年7月5日"
std::string DateText(DateTime d);
// "1998年07月05日09点03分"
std::string DateTimeText(DateTime d);
// "1小时2分5秒"; empty for 0. Hours are not capped: a report's total over
// years of use passes what 32 bits of seconds hold.
std::string DurationText(int64_t seconds);

// The text written for "Holiday Start": "YYYY-MM-DD HH:MM:SS"; its first
// 16 characters give back the calendar day.
std::string GeneralDateText(DateTime d);
// Reads a date, optionally with a time: "YYYY-MM-DD", "YYYY-MM-DD HH:MM",
// "YYYY-MM-DD HH:MM:SS", also with '/' between the date parts. Nothing for
// anything else.
std::optional<DateTime> ParseGeneralDate(std::string_view text);

}  // namespace tollix
