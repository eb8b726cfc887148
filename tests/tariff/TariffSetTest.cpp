#include <gtest/gtest.h>

#include <tuple>

#include "TestSupport.h"
#include "config/ProfileTestSupport.h"
#include "tariff/TariffSet.h"

using tollix::DateTime;
using tollix::ProfileFile;
using tollix::TariffSet;
using tollix::test::At;
using tollix::test::Lines;
using tollix::test::TempProfile;

namespace {

const DateTime kNow = At(2026, 12, 6, 10, 0, 0);

TariffSet Load(const ProfileFile& file, const std::vector<std::string>& names, DateTime now = kNow)
{
    TariffSet t;
    tollix::IniNetFee(file, names, now, t);
    tollix::IniTelFee(file, now, t);
    return t;
}

// Every field, amounts in ten-thousandths of a yuan, so that one comparison
// names whatever differs.
auto Fields(const tollix::ConnectionTariff& c)
{
    return std::tuple(c.Name, c.FeeType, c.FullFee.Raw(), c.HalfFee.Raw(), c.ExcelFee.Raw(), c.FixHour,
        c.FixFee.Raw(), c.StartHour, c.StartMinute, c.EndHour, c.EndMinute, c.EverydayFlag, c.SaturdayFlag,
        c.SundayFlag, c.HolidayFlag);
}

}  // namespace

// Fees are stored in thousandths of a yuan; a fraction of a thousandth is
// dropped; text that is not a number reads as 0; a value beyond 16 bits is clamped.
TEST(TariffLoad, ValuesFromTheFile)
{
    TempProfile temp(
        Lines({"[Telephone Fee]", "Full Fee=125", "Half Fee=123.4", "Tel Unit=60", "Everyday Flag=1",
            "Start Hour=22", "Start Minute=30", "Saturday Flag=-1", "Sunday Flag=1", "[\xBC\xD2\xC0\xEF]",
            "Fee Type=2", "Fix Hour=40", "Fix Fee=150000", "Excel Fee=80", "Full Fee=abc", "Sunday Flag=1",
            "End Hour=99999", "[Reset]", "Month=15", "Week=6", "[ProAdd]", "ProAdd Seconds=99999"}));
    ProfileFile file(temp.Path());
    TariffSet t = Load(file, {"家里"});
    const tollix::TelephoneTariff& tel = t.Telephone;
    EXPECT_EQ(
        std::tuple(tel.FullFee.Raw(), tel.HalfFee.Raw(), tel.TelUnit, tel.StartHour, tel.StartMinute,
            tel.EndHour, tel.EndMinute, tel.EverydayFlag, tel.SaturdayFlag, tel.SundayFlag, tel.HolidayFlag),
        std::tuple(1250, 1230, 60, 22, 30, 7, 0, 1, -1, 1, 0));
    EXPECT_EQ(Fields(t.Connection(1)),
        std::tuple("家里", 2, 0, 500, 800, 40, 1500000, 21, 0, 32767, 0, 0, 0, 1, 0));
    const tollix::ResetSettings reset = tollix::InitialResetSettings(file);
    EXPECT_EQ(
        std::tuple(reset.ResetMonthDay, reset.ResetWeekDay, reset.ProAddSeconds), std::tuple(15, 6, 32767));
}

TEST(TariffLoad, TelUnitOfZeroOrBelowIsRefused)
{
    for (auto [text, unit] : std::initializer_list<std::pair<const char*, int32_t>>{{"0", 180}, {"1", 1}}) {
        TempProfile temp(Lines({"[Telephone Fee]", std::string("Tel Unit=") + text}));
        EXPECT_EQ(Load(ProfileFile(temp.Path()), {}).Telephone.TelUnit, unit) << text;
    }
}

TEST(TariffLoad, AllPhonebookEntriesAreLoaded)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i)
        names.push_back("Zone " + std::to_string(i));
    TempProfile temp(Lines({"[Zone 25]", "Fee Type=0", "[Zone 21]", "Fix Hour=21"}));
    ProfileFile file(temp.Path());
    TariffSet t = Load(file, names);
    ASSERT_EQ(t.ConnectionCount(), 25);
    EXPECT_EQ(t.Connection(25).FeeType, 0);
    EXPECT_EQ(t.Connection(21).FixHour, 21);
    // Found without regard to ASCII case; no exact match gives the last entry.
    EXPECT_EQ(t.FindConnectionTariff("zONE 1"), 1);
    for (const char* other : {"Zone 2 ", "Zone", "Nowhere"})
        EXPECT_EQ(t.FindConnectionTariff(other), 25) << other;

    // A name is cut before a NUL, as the phonebook buffer would cut it.
    TariffSet cut = Load(file, {std::string("Zone 21\0junk", 12)});
    EXPECT_EQ(cut.Connection(1).Name, "Zone 21");
    EXPECT_EQ(cut.Connection(1).FixHour, 21);

    // An entry that joined the phonebook later is appended once; unknown names
    // keep the last entry of the load.
    const std::vector<std::string> later{"Zone 21", "Zone 25"};
    EXPECT_FALSE(tollix::AddLateConnectionTariff(file, later, "Zone 24", kNow, cut));
    EXPECT_TRUE(tollix::AddLateConnectionTariff(file, later, "ZONE 25", kNow, cut));
    EXPECT_FALSE(tollix::AddLateConnectionTariff(file, later, "zone 25", kNow, cut));
    EXPECT_EQ(Fields(cut.Connection(cut.FindConnectionTariff("zone 25"))), Fields(t.Connection(25)));
    EXPECT_EQ(cut.FindConnectionTariff("Nowhere"), 1);
}

TEST(TodayDiscount, HolidayFlagCountsOnlyOnTheDayItWasSet)
{
    const struct {
        const char* start;
        int16_t flag;
    } cases[] = {{"2026-12-05 23:59:59", 0}, {"2026-12-06 00:00:00", 1}, {"2026-12-07 00:00:00", 0},
        {"2026-12-06 10:00:00 and more text", 1},
        {"2026-12-6 10:5:", 1},  // the time is cut short: the date still counts
        {"0", 0}};
    for (const auto& c : cases) {
        const std::string start = std::string("Holiday Start=") + c.start;
        TempProfile temp(
            Lines({"[Telephone Fee]", start, "Holiday Flag=1", "[Home]", start, "Holiday Flag=1"}));
        ProfileFile file(temp.Path());
        TariffSet t = Load(file, {"Home"});
        EXPECT_EQ(t.Telephone.HolidayFlag, c.flag) << c.start;
        EXPECT_EQ(t.Connection(1).HolidayFlag, c.flag) << c.start;
    }
}
