#include "base/DateTime.h"
#include "base/Translation.h"

#include <cmath>
#include <ctime>
#include <string_view>

namespace tollix {

namespace {

constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day number
constexpr double kMinDays = -657434.0;    // 1 January 100
constexpr double kMaxDays = 2958465.0;    // 31 December 9999 (plus the day's fraction)

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

int DaysInMonth(int y, int m)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return kDays[m - 1];
}

// Day number and second of day, with the time rounded to the nearest second.
void Split(double days, int64_t& dayNumber, int& secondOfDay)
{
    if (!std::isfinite(days) || days < kMinDays - 1 || days > kMaxDays + 1) {
        dayNumber = 0;
        secondOfDay = 0;
        return;
    }
    double whole = std::trunc(days);
    double frac = std::fabs(days - whole);
    int64_t seconds = std::llround(frac * 86400.0);
    dayNumber = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += 1;  // the rounded time reaches the next midnight
    }
    secondOfDay = static_cast<int>(seconds);
}

double Compose(int64_t dayNumber, int secondOfDay)
{
    double frac = secondOfDay / 86400.0;
    return dayNumber >= 0 ? double(dayNumber) + frac : double(dayNumber) - frac;
}

std::string Pad2(int v)
{
    std::string s = std::to_string(v);
    return v >= 0 && v <= 9 ? "0" + s : s;
}

}  // namespace

std::optional<DateTime> DateTime::FromCivil(const CivilTime& t)
{
    if (t.year < 100 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59
        || t.second < 0 || t.second > 59)
        return std::nullopt;
    int64_t dayNumber = DaysFromCivil(t.year, unsigned(t.month), unsigned(t.day)) + kUnixEpochDay;
    return DateTime(Compose(dayNumber, t.hour * 3600 + t.minute * 60 + t.second));
}

bool DateTime::IsValid() const
{
    return std::isfinite(days_) && days_ >= kMinDays && days_ < kMaxDays + 1.0;
}

CivilTime DateTime::ToCivil() const
{
    int64_t dayNumber;
    int sod;
    Split(days_, dayNumber, sod);
    CivilTime t;
    CivilFromDays(dayNumber - kUnixEpochDay, t.year, t.month, t.day);
    t.hour = sod / 3600;
    t.minute = sod / 60 % 60;
    t.second = sod % 60;
    return t;
}

int64_t DateTime::DayNumber() const
{
    int64_t dayNumber;
    int sod;
    Split(days_, dayNumber, sod);
    return dayNumber;
}

int DateTime::SecondOfDay() const
{
    int64_t dayNumber;
    int sod;
    Split(days_, dayNumber, sod);
    return sod;
}

int DateTime::Weekday() const
{
    // Day 0 (30 December 1899) was a Saturday.
    int64_t w = (DayNumber() + 6) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

DateTime DateTime::AddSeconds(int64_t seconds) const
{
    int64_t dayNumber;
    int sod;
    Split(days_, dayNumber, sod);
    int64_t total = dayNumber * 86400 + sod + seconds;
    int64_t newDay = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    int newSod = static_cast<int>(total - newDay * 86400);
    return DateTime(Compose(newDay, newSod));
}

int64_t SecondsBetween(DateTime from, DateTime to)
{
    return (to.DayNumber() - from.DayNumber()) * 86400 + (to.SecondOfDay() - from.SecondOfDay());
}

int64_t DaysBetween(DateTime from, DateTime to)
{
    return to.DayNumber() - from.DayNumber();
}

int64_t WeeksBetween(DateTime from, DateTime to, int firstWeekday)
{
    auto weekStart = [firstWeekday](DateTime d) {
        int back = (d.Weekday() - firstWeekday + 7) % 7;
        return d.DayNumber() - back;
    };
    return (weekStart(to) - weekStart(from)) / 7;
}

int64_t MonthsBetween(DateTime from, DateTime to)
{
    CivilTime a = from.ToCivil();
    CivilTime b = to.ToCivil();
    return int64_t(b.year - a.year) * 12 + (b.month - a.month);
}

DateTime FromUnixTime(int64_t unixSeconds)
{
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    int64_t dayNumber
        = DaysFromCivil(tm.tm_year + 1900, unsigned(tm.tm_mon + 1), unsigned(tm.tm_mday)) + kUnixEpochDay;
    int sod = tm.tm_hour * 3600 + tm.tm_min * 60 + (tm.tm_sec > 59 ? 59 : tm.tm_sec);
    return DateTime::FromDays(Compose(dayNumber, sod));
}

int32_t UtcOffsetSeconds(DateTime local)
{
    if (!local.IsValid())
        return 0;
    const CivilTime c = local.ToCivil();
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    tm.tm_isdst = -1;
    if (std::mktime(&tm) == std::time_t(-1))
        return 0;
    return static_cast<int32_t>(tm.tm_gmtoff);
}

std::string DateText(DateTime d)
{
    CivilTime t = d.ToCivil();
    return Tr("%1年%2月%3日", {std::to_string(t.year), std::to_string(t.month), std::to_string(t.day)});
}

std::string DateTimeText(DateTime d)
{
    CivilTime t = d.ToCivil();
    return Tr("%1年%2月%3日%4点%5分",
        {std::to_string(t.year), Pad2(t.month), Pad2(t.day), Pad2(t.hour), Pad2(t.minute)});
}

std::string DurationText(int64_t seconds)
{
    const int64_t h = seconds / 3600;
    const int64_t r = seconds - 3600 * h;
    const int64_t m = r / 60;
    const int64_t x = r - 60 * m;
    // Whole phrases rather than pieces, so that a translation can put its own
    // spaces between the parts.
    const std::string hours = std::to_string(h);
    const std::string minutes = std::to_string(m);
    const std::string secs = std::to_string(x);
    switch ((h != 0 ? 4 : 0) | (m != 0 ? 2 : 0) | (x != 0 ? 1 : 0)) {
    case 7:
        return Tr("%1小时%2分%3秒", {hours, minutes, secs});
    case 6:
        return Tr("%1小时%2分", {hours, minutes});
    case 5:
        return Tr("%1小时%2秒", {hours, secs});
    case 4:
        return Tr("%1小时", {hours});
    case 3:
        return Tr("%1分%2秒", {minutes, secs});
    case 2:
        return Tr("%1分", {minutes});
    case 1:
        return Tr("%1秒", {secs});
    default:
        return {};
    }
}

std::string GeneralDateText(DateTime d)
{
    CivilTime t = d.ToCivil();
    std::string year = std::to_string(t.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
    return year + "-" + Pad2(t.month) + "-" + Pad2(t.day) + " " + Pad2(t.hour) + ":" + Pad2(t.minute) + ":"
        + Pad2(t.second);
}

std::optional<DateTime> ParseGeneralDate(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    size_t pos = 0;
    auto number = [&](int maxDigits, int& out) {
        size_t start = pos;
        out = 0;
        while (pos < text.size() && pos - start < size_t(maxDigits) && text[pos] >= '0' && text[pos] <= '9')
            out = out * 10 + (text[pos++] - '0');
        return pos > start;
    };
    auto expect = [&](char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    };
    CivilTime t;
    if (!number(4, t.year))
        return std::nullopt;
    char sep = pos < text.size() ? text[pos] : '\0';
    if (sep != '-' && sep != '/')
        return std::nullopt;
    if (!expect(sep) || !number(2, t.month) || !expect(sep) || !number(2, t.day))
        return std::nullopt;
    t.hour = t.minute = t.second = 0;
    if (pos < text.size()) {
        if (!expect(' ') || !number(2, t.hour) || !expect(':') || !number(2, t.minute))
            return std::nullopt;
        if (pos < text.size() && (!expect(':') || !number(2, t.second)))
            return std::nullopt;
        if (pos != text.size())
            return std::nullopt;
    }
    return DateTime::FromCivil(t);
}

}  // namespace tollix
