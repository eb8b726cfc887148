#include "meter/SettingsEditor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "meter/Program.h"

namespace tollix {
namespace {

using C = ConnectionSetting;
using test::At;

// Every line unique, so an expected edit can be named by the line it replaces.
const std::string kIni = "[Telephone Fee]\r\nHalf Fee=60\r\nTel Unit=60\r\nEveryday Flag=0\r\n"
                         "[ChinaNet]\r\nFee Type=1\r\nFull Fee=100\r\nHalf Fee=50\r\nEveryday Flag=1\r\n"
                         "Start Hour=22\r\nStart Minute=30\r\n"
                         "[Rated]\r\nFee Type=2\r\nFix Hour=40\r\nFix Fee=150000\r\nExcel Fee=80\r\n"
                         "Half Fee=40\r\n"
                         "[Alert Setting]\r\nDayCheck=1\r\nDayFee=20\r\nWeekhours=10\r\nMonthWaveCheck=1\r\n"
                         "[Reset]\r\nMonth=1\r\nWeek=0\r\n"
                         "[ProAdd]\r\nProAdd Seconds=10\r\n";
const DateTime kNow = At(2024, 3, 15, 10, 0);

// The settings of kIni loaded as at start-up, with the editor the settings
// window and the main window's switches use.
struct World {
    explicit World(const std::filesystem::path& folder)
        : program(folder)
        , editor(program.Tariffs, program.Alerts, program.Reset, program.Profile)
    {
        LoadSettings(program, {"ChinaNet", "Rated"}, kNow);
    }
    Program program;
    SettingsEditor editor;
};

using Edit = std::function<ProfileWriteResult(World&)>;
using Memory = std::function<std::string(const Program&)>;

constexpr auto Fee = MoneyText;

const ConnectionTariff& China(const Program& p)
{
    return p.Tariffs.Connection(1);
}
const ConnectionTariff& Rated(const Program& p)
{
    return p.Tariffs.Connection(2);
}

// One edit each: what memory holds and the exact bytes of tollix.ini after it.
// An empty oldLines means the file stays as it was; newLines starting with "+"
// go in after the old lines. The same edit on a file that cannot be written
// leaves memory as it was.
TEST(SettingsEditorTest, EachEditWritesItsKeyAndHoldsTheConvertedValue)
{
    struct Case {
        const char* name;
        Edit edit;
        Memory memory;
        std::string expected, oldLines, newLines;
    };
    const std::string now = GeneralDateText(kNow);
    // Past the forty characters of the old fixed-length field.
    const std::string longPath = "/sounds/" + std::string(40, 'z');
    const Case cases[] = {
        {"fee letters write nothing",
            [](World& w) { return w.editor.ConnectionFee("ChinaNet", C::FullFee, "abc"); },
            [](const Program& p) { return Fee(China(p).FullFee); }, "0.1", "", ""},
        {"rated discount fee", [](World& w) { return w.editor.ConnectionFee("Rated", C::HalfFee, "0.025"); },
            [](const Program& p) { return Fee(Rated(p).HalfFee); }, "0.025", "Half Fee=40", "Half Fee=25"},
        {"telephone discount fee",
            [](World& w) { return w.editor.TelephoneFee(Setting::TelHalfFee, "0.03"); },
            [](const Program& p) { return Fee(p.Tariffs.Telephone.HalfFee); }, "0.03", "Half Fee=60",
            "Half Fee=30"},
        {"tel fee cleared, old kept", [](World& w) { return w.editor.TelephoneFee(Setting::TelFullFee, ""); },
            [](const Program& p) { return Fee(p.Tariffs.Telephone.FullFee); }, "0.12", "Everyday Flag=0",
            "+Full Fee=120"},
        {"Fix Hour 30.5 to even", [](World& w) { return w.editor.FixHour("Rated", "30.5"); },
            [](const Program& p) { return std::to_string(Rated(p).FixHour); }, "30", "Fix Hour=40",
            "Fix Hour=30.5"},
        {"end minute", [](World& w) { return w.editor.ConnectionPeriod("ChinaNet", C::EndMinute, "15"); },
            [](const Program& p) { return std::to_string(China(p).EndMinute); }, "15", "Start Minute=30",
            "+End Minute=15"},
        {"minute 00", [](World& w) { return w.editor.ConnectionPeriod("ChinaNet", C::StartMinute, "00"); },
            [](const Program& p) { return std::to_string(China(p).StartMinute); }, "0", "Start Minute=30",
            "Start Minute=00"},
        {"telephone end hour", [](World& w) { return w.editor.TelephonePeriod(Setting::TelEndHour, "8"); },
            [](const Program& p) { return std::to_string(p.Tariffs.Telephone.EndHour); }, "8",
            "Everyday Flag=0", "+End Hour=8"},
        {"tel every day", [](World& w) { return w.editor.TelephoneFlag(Setting::TelEverydayFlag, true); },
            [](const Program& p) { return std::to_string(p.Tariffs.Telephone.EverydayFlag); }, "1",
            "Everyday Flag=0", "Everyday Flag=1"},
        {"three-minute units", [](World& w) { return w.editor.TelephoneUnit(1); },
            [](const Program& p) { return std::to_string(p.Tariffs.Telephone.TelUnit); }, "180",
            "Tel Unit=60", "Tel Unit=180"},
        {"Saturday", [](World& w) { return w.editor.ConnectionFlag("ChinaNet", C::SaturdayFlag, true); },
            [](const Program& p) { return std::to_string(China(p).SaturdayFlag); }, "1", "Start Minute=30",
            "+Saturday Flag=1"},
        {"connection holiday: flag, then start",
            [](World& w) { return w.editor.ConnectionHoliday("ChinaNet", true, kNow); },
            [](const Program& p) { return std::to_string(China(p).HolidayFlag); }, "1", "Start Minute=30",
            "+Holiday Flag=1\r\nHoliday Start=" + now},
        {"telephone holiday: start, then flag",
            [](World& w) { return w.editor.TelephoneHoliday(true, kNow); },
            [](const Program& p) { return std::to_string(p.Tariffs.Telephone.HolidayFlag); }, "1",
            "Everyday Flag=0", "+Holiday Start=" + now + "\r\nHoliday Flag=1"},
        {"free zeroes both per-minute fees",
            [](World& w) {
                w.editor.SetFeeType("ChinaNet", 0);
                return w.editor.WriteFeeType("ChinaNet", 0);
            },
            [](const Program& p) {
                return std::to_string(China(p).FeeType) + " " + Fee(China(p).FullFee) + " "
                    + Fee(China(p).HalfFee);
            },
            "0 0 0", "Fee Type=1\r\nFull Fee=100\r\nHalf Fee=50", "Fee Type=0\r\nFull Fee=0\r\nHalf Fee=0"},
        {"week alert fee 2.5", [](World& w) { return w.editor.AlertFee(1, "2.5"); },
            [](const Program& p) { return Fee(p.Alerts.WeekAlert.Fee); }, "2", "MonthWaveCheck=1",
            "+WeekFee=2.5"},
        {"week alert check", [](World& w) { return w.editor.AlertCheck(1, true); },
            [](const Program& p) { return std::to_string(p.Alerts.WeekAlert.Check); }, "1",
            "MonthWaveCheck=1", "+WeekCheck=1"},
        {"alert standard 2 refused", [](World& w) { return w.editor.AlertStandard(2, 2); },
            [](const Program& p) { return std::to_string(p.Alerts.MonthAlert.AlertStandard); }, "0", "", ""},
        {"alert hours abc", [](World& w) { return w.editor.AlertHours(1, "abc"); },
            [](const Program& p) { return std::to_string(p.Alerts.WeekAlert.Hours); }, "10", "Weekhours=10",
            "Weekhours=abc"},
        {"alert by fee", [](World& w) { return w.editor.AlertStandard(2, 1); },
            [](const Program& p) { return std::to_string(p.Alerts.MonthAlert.AlertStandard); }, "1",
            "MonthWaveCheck=1", "+Month AlertStandard=1"},
        {"sound path: as typed in the file, whole but for the blanks in memory",
            [&](World& w) { return w.editor.AlertFilePath(2, longPath + " "); },
            [](const Program& p) { return p.Alerts.MonthAlert.FilePath; }, longPath, "MonthWaveCheck=1",
            "+MonthFilePath=" + longPath + " "},
        {"month day 15", [](World& w) { return w.editor.ResetMonth("15"); },
            [](const Program& p) { return std::to_string(p.Reset.ResetMonthDay); }, "15", "Month=1",
            "Month=15"},
        {"negative delay", [](World& w) { return w.editor.ProAdd("-5"); },
            [](const Program& p) { return std::to_string(p.Reset.ProAddSeconds); }, "-5", "ProAdd Seconds=10",
            "ProAdd Seconds=-5"},
        {"Wednesday", [](World& w) { return w.editor.ResetWeek(3); },
            [](const Program& p) { return std::to_string(p.Reset.ResetWeekDay); }, "3", "Week=0", "Week=3"},
        {"weekday 7 refused", [](World& w) { return w.editor.ResetWeek(7); },
            [](const Program& p) { return std::to_string(p.Reset.ResetWeekDay); }, "0", "", ""},
        {"auto hide on is -1",
            [](World& w) { return w.editor.StartFlag(Setting::AutoHide, true, w.program.AutoHide); },
            [](const Program& p) { return std::to_string(p.AutoHide); }, "1", "ProAdd Seconds=10",
            "+[Start Settings]\r\nAuto Hide=-1"},
    };
    test::TempFolder broken;
    const std::filesystem::path notAFolder = broken.Path() / "data";  // a regular file: stops root too
    std::ofstream(notAFolder) << "a file";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const std::filesystem::path ini = folder.Path() / "tollix.ini";
        std::ofstream(ini, std::ios::binary) << kIni;
        World w(folder.Path());
        EXPECT_TRUE(c.edit(w));
        EXPECT_EQ(c.memory(w.program), c.expected);
        std::string expected = kIni;
        if (!c.oldLines.empty()) {
            const size_t at = expected.find(c.oldLines + "\r\n");
            ASSERT_NE(at, std::string::npos);
            ASSERT_EQ(expected.find(c.oldLines + "\r\n", at + 1), std::string::npos);
            const std::string added
                = c.newLines[0] == '+' ? c.oldLines + "\r\n" + c.newLines.substr(1) : c.newLines;
            expected.replace(at, c.oldLines.size(), added);
        }
        EXPECT_EQ(test::ReadFile(ini), expected);
        if (c.oldLines.empty())
            continue;
        World b(notAFolder);
        const std::string before = c.memory(b.program);
        const ProfileWriteResult result = c.edit(b);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.Path, (notAFolder / "tollix.ini").string());
        EXPECT_FALSE(result.Reason.empty());
        EXPECT_EQ(c.memory(b.program), before);
    }
}

// Typed numbers become whole numbers the way a currency conversion rounds them:
// halves go to the even neighbour, on both sides of zero, and a number that
// would not fit the setting is refused rather than wrapped. Blanks alone are
// no sound path.
TEST(SettingsEditorTest, ValuesFromTypedText)
{
    const auto none = std::nullopt;
    const struct {
        const char* text;
        std::optional<int32_t> whole16;
        std::optional<int32_t> whole32;
    } cases[] = {
        {"-3.5", -4, -4},
        {"2.5001", 3, 3},
        {"32767.4", 32767, 32767},
        {"32767.5", none, 32768},
        {"-32768", -32768, -32768},
        {"-32769", none, -32769},
        {"2147483648", none, none},
        {"abc", none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<int16_t> w16 = WholeNumber16(c.text);
        EXPECT_EQ(w16 ? std::optional<int32_t>(*w16) : std::nullopt, c.whole16);
        EXPECT_EQ(WholeNumber32(c.text), c.whole32);
    }
    EXPECT_EQ(SoundPathFromText("  "), "");
}

}  // namespace
}  // namespace tollix
