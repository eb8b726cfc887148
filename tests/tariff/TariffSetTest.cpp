#include <gtest/gtest.h>

#include "config/ProfileTestSupport.h"
#include "tariff/TariffSet.h"

using tollix::DateTime;
using tollix::Money;
using tollix::ProfileFile;
using tollix::TariffSet;
using tollix::test::Lines;
using tollix::test::TempProfile;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return *DateTime::FromCivil(y, mo, d, h, mi, s);
}

const DateTime kNow = At(2026, 12, 6, 10, 0, 0);

TariffSet Load(const ProfileFile& file, const std::vector<std::string>& names, DateTime now = kNow)
{
    TariffSet t;
    tollix::IniNetFee(file, names, now, t);
    tollix::IniTelFee(file, now, t);
    return t;
}

Money Yuan(double y)
{
    return Money::FromDouble(y);
}

} // namespace

TEST(TariffLoad, EmptyOrMissingFileGivesTheDefaults)
{
    TempProfile temp;
    for (bool exists : { false, true }) {
        if (exists)
            temp.Write("");
        ProfileFile file(temp.Path());
        TariffSet t = Load(file, { "Home" });
        ASSERT_EQ(t.ConnectionCount(), 1);
        const auto& c = t.Connection(1);
        EXPECT_EQ(c.Name, "Home");
        EXPECT_EQ(c.FeeType, 1);
        EXPECT_EQ(c.FullFee, Yuan(0.1));
        EXPECT_EQ(c.HalfFee, Yuan(0.05));
        EXPECT_EQ(c.FixHour, 30);
        EXPECT_EQ(c.FixFee, Yuan(200));
        EXPECT_EQ(c.ExcelFee, Yuan(0.1));
        EXPECT_EQ(c.StartHour, 21);
        EXPECT_EQ(c.StartMinute, 0);
        EXPECT_EQ(c.EndHour, 7);
        EXPECT_EQ(c.EndMinute, 0);
        EXPECT_EQ(c.EverydayFlag + c.SaturdayFlag + c.SundayFlag + c.HolidayFlag, 0);

        const auto& tel = t.Telephone;
        EXPECT_EQ(tel.FullFee, Yuan(0.12));
        EXPECT_EQ(tel.HalfFee, Yuan(0.06));
        EXPECT_EQ(tel.TelUnit, 180);
        EXPECT_EQ(tel.StartHour, 21);
        EXPECT_EQ(tel.EndHour, 7);
        EXPECT_EQ(tel.EverydayFlag + tel.SaturdayFlag + tel.SundayFlag + tel.HolidayFlag, 0);

        // What a default-constructed tariff holds is what an empty file loads.
        tollix::ConnectionTariff fresh;
        EXPECT_EQ(fresh.FullFee, c.FullFee);
        EXPECT_EQ(fresh.FixHour, c.FixHour);
        EXPECT_EQ(tollix::TelephoneTariff().HalfFee, tel.HalfFee);
    }
}

TEST(TariffLoad, ValuesFromTheFile)
{
    TempProfile temp(Lines({
        "[Telephone Fee]",
        "Full Fee=125",
        "Half Fee=123.4",
        "Tel Unit=60",
        "Everyday Flag=1",
        "Start Hour=22",
        "Start Minute=30",
        "Saturday Flag=-1",
        "[\xBC\xD2\xC0\xEF]", // 家里
        "Fee Type=2",
        "Fix Hour=40",
        "Fix Fee=150000",
        "Excel Fee=80",
        "Full Fee=abc",
        "Sunday Flag=1",
        "End Hour=99999",
    }));
    ProfileFile file(temp.Path());
    TariffSet t = Load(file, { "Office", "家里" });
    EXPECT_EQ(t.Telephone.FullFee, Yuan(0.125));
    EXPECT_EQ(t.Telephone.HalfFee, Yuan(0.123)) << "a fraction of a thousandth is dropped";
    EXPECT_EQ(t.Telephone.TelUnit, 60);
    EXPECT_EQ(t.Telephone.EverydayFlag, 1);
    EXPECT_EQ(t.Telephone.StartHour, 22);
    EXPECT_EQ(t.Telephone.StartMinute, 30);
    EXPECT_EQ(t.Telephone.SaturdayFlag, -1);
    const auto& home = t.Connection(2);
    EXPECT_EQ(home.Name, "家里");
    EXPECT_EQ(home.FeeType, 2);
    EXPECT_EQ(home.FixHour, 40);
    EXPECT_EQ(home.FixFee, Yuan(150));
    EXPECT_EQ(home.ExcelFee, Yuan(0.08));
    EXPECT_EQ(home.FullFee, Money()) << "text that is not a number reads as 0";
    EXPECT_EQ(home.SundayFlag, 1);
    EXPECT_EQ(home.EndHour, 32767) << "a value beyond 16 bits is clamped";
    EXPECT_EQ(t.Connection(1).FeeType, 1);
}

TEST(TariffLoad, TelUnitOfZeroOrBelowIsRefused)
{
    const struct {
        const char* text;
        int32_t unit;
    } cases[] = { { "0", 180 }, { "-60", 180 }, { "abc", 180 }, { "", 180 }, { "60", 60 }, { "1", 1 },
        { "100000", 100000 } };
    for (const auto& c : cases) {
        TempProfile temp(Lines({ "[Telephone Fee]", std::string("Tel Unit=") + c.text }));
        ProfileFile file(temp.Path());
        EXPECT_EQ(Load(file, {}).Telephone.TelUnit, c.unit) << c.text;
    }
}

TEST(TariffLoad, AllPhonebookEntriesAreLoaded)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i)
        names.push_back("Line " + std::to_string(i));
    TempProfile temp(Lines({ "[Line 25]", "Fee Type=0", "[Line 21]", "Fix Hour=21" }));
    ProfileFile file(temp.Path());
    TariffSet t = Load(file, names);
    ASSERT_EQ(t.ConnectionCount(), 25);
    EXPECT_EQ(t.Connection(25).FeeType, 0);
    EXPECT_EQ(t.Connection(21).FixHour, 21);
    EXPECT_EQ(t.Connection(25).Name, "Line 25");

    // A name is cut before a NUL, as the phonebook buffer would cut it.
    TariffSet cut = Load(file, { std::string("Line 21\0junk", 12) });
    EXPECT_EQ(cut.Connection(1).Name, "Line 21");
    EXPECT_EQ(cut.Connection(1).FixHour, 21);
}

TEST(TariffFind, ByNameWithoutRegardToCase)
{
    TariffSet t;
    EXPECT_EQ(t.FindConnectionTariff("Home"), 0) << "an empty list gives 0";
    for (const char* n : { "Home", "Office", "家里", "HOME" }) {
        tollix::ConnectionTariff c;
        c.Name = n;
        t.Connections.push_back(c);
    }
    const struct {
        const char* name;
        int16_t index;
    } cases[] = {
        { "Home", 1 },
        { "home", 1 },
        { "hOmE", 1 },
        { "OFFICE", 2 },
        { "家里", 3 },
        { "Nowhere", 4 }, // no match: the last record
        { "", 4 },
        { "Home ", 4 },
        { "Offic", 4 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.FindConnectionTariff(c.name), c.index) << c.name;
}

TEST(TodayDiscount, HolidayFlagCountsOnlyOnTheDayItWasSet)
{
    const struct {
        const char* start;
        int16_t flag;
    } cases[] = {
        { "2026-12-05 23:59:00", 0 }, // yesterday, a minute before midnight
        { "2026-12-06 00:00:00", 1 }, // today, at midnight
        { "2026-12-06 23:59:59", 1 },
        { "2026-12-07 00:00:00", 0 },
        { "2026-12-06 10:00:00 and more text", 1 },
        { "2026-12-06", 1 },
        { "2026/12/6 9:05:07", 1 },
        { "2026-12-6 10:5:", 1 }, // the time is cut short: the date still counts
        { "0", 0 },
        { "", 0 },
        { "not a date", 0 },
        { "2026-13-06 10:00:00", 0 },
    };
    for (const auto& c : cases) {
        TempProfile temp(Lines({
            "[Telephone Fee]",
            std::string("Holiday Start=") + c.start,
            "Holiday Flag=1",
            "[Home]",
            std::string("Holiday Start=") + c.start,
            "Holiday Flag=1",
        }));
        ProfileFile file(temp.Path());
        TariffSet t = Load(file, { "Home" });
        EXPECT_EQ(t.Telephone.HolidayFlag, c.flag) << c.start;
        EXPECT_EQ(t.Connection(1).HolidayFlag, c.flag) << c.start;
    }
    EXPECT_TRUE(tollix::HolidayStartIsToday("2026-12-06 10:00:00", kNow));
    EXPECT_FALSE(tollix::HolidayStartIsToday("2026-12-06", At(2026, 12, 7)));
}

TEST(TodayDiscount, SwitchWritesBothKeysAndLapsesTheNextDay)
{
    TempProfile temp;
    ProfileFile file(temp.Path());
    ASSERT_TRUE(tollix::WriteTodayDiscount(file, "Telephone Fee", true, kNow));
    ASSERT_TRUE(tollix::WriteTodayDiscount(file, "家里", true, kNow));
    EXPECT_EQ(temp.Read(),
        "[Telephone Fee]\r\nHoliday Start=2026-12-06 10:00:00\r\nHoliday Flag=1\r\n"
        "[\xBC\xD2\xC0\xEF]\r\nHoliday Start=2026-12-06 10:00:00\r\nHoliday Flag=1\r\n");

    TariffSet sameDay = Load(file, { "家里" }, At(2026, 12, 6, 23, 0));
    EXPECT_EQ(sameDay.Telephone.HolidayFlag, 1);
    EXPECT_EQ(sameDay.Connection(1).HolidayFlag, 1);
    TariffSet nextDay = Load(file, { "家里" }, At(2026, 12, 7, 8, 0));
    EXPECT_EQ(nextDay.Telephone.HolidayFlag, 0);
    EXPECT_EQ(nextDay.Connection(1).HolidayFlag, 0);

    // Switching off writes a fresh start with flag 0.
    ASSERT_TRUE(tollix::WriteTodayDiscount(file, "家里", false, At(2026, 12, 6, 11, 30, 5)));
    EXPECT_EQ(file.ReadText("家里", "Holiday Start", "0", 64), "2026-12-06 11:30:05");
    EXPECT_EQ(file.ReadInt("家里", "Holiday Flag", 9), 0);
    EXPECT_EQ(Load(file, { "家里" }).Connection(1).HolidayFlag, 0);
}

TEST(ResetSettingsLoad, DefaultsAndValues)
{
    TempProfile temp;
    ProfileFile file(temp.Path());
    tollix::ResetSettings r = tollix::InitialResetSettings(file);
    EXPECT_EQ(r.ProAddSeconds, 0);
    EXPECT_EQ(r.ResetMonthDay, 1);
    EXPECT_EQ(r.ResetWeekDay, 0);

    temp.Write(Lines({ "[Reset]", "Month=15", "Week=6", "[ProAdd]", "ProAdd Seconds=99999" }));
    r = tollix::InitialResetSettings(file);
    EXPECT_EQ(r.ProAddSeconds, 32767);
    EXPECT_EQ(r.ResetMonthDay, 15);
    EXPECT_EQ(r.ResetWeekDay, 6);
}

TEST(TariffLoad, FileWrittenByTheWindowsProgram)
{
    const auto path = std::filesystem::path(TOLLIX_TEST_DATA_DIR) / "config" / "windows-written.ini";
    ProfileFile file(path);
    TariffSet t = Load(file, { "163拨号", "Other" }, At(2026, 12, 6, 12, 0));
    EXPECT_EQ(t.Telephone.FullFee, Yuan(0.22));
    EXPECT_EQ(t.Telephone.HalfFee, Yuan(0.11));
    EXPECT_EQ(t.Telephone.StartHour, 23);
    EXPECT_EQ(t.Telephone.SundayFlag, 1);
    EXPECT_EQ(t.Telephone.HolidayFlag, 1) << "set this morning";
    const auto& c = t.Connection(t.FindConnectionTariff("163拨号"));
    EXPECT_EQ(c.FeeType, 2);
    EXPECT_EQ(c.FixHour, 60);
    EXPECT_EQ(c.FixFee, Yuan(250));
    EXPECT_EQ(c.ExcelFee, Yuan(0.08));
    EXPECT_EQ(c.HolidayFlag, 0) << "set yesterday";
    tollix::ResetSettings r = tollix::InitialResetSettings(file);
    EXPECT_EQ(r.ResetMonthDay, 26);
    EXPECT_EQ(r.ResetWeekDay, 1);
    EXPECT_EQ(r.ProAddSeconds, 12);
    EXPECT_NE(tollix::ReadSettingInt(file, tollix::Setting::AutoHide), 0);
    EXPECT_EQ(tollix::ReadSettingInt(file, tollix::Setting::LogNumber), 100);
    EXPECT_EQ(
        tollix::ReadSettingText(file, tollix::Setting::AlertDayFilePath), "C:\\WINDOWS\\MEDIA\\提醒.WAV");
}
