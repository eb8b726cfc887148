#include <gtest/gtest.h>

#include <tuple>

#include "alerts/AlertMonitor.h"
#include "config/ProfileTestSupport.h"

using namespace tollix;
using namespace tollix::test;

namespace {

AlertSetting TimeAlert(int16_t hours, int16_t minutes, const char* sound)
{
    return {.Check = 1, .Hours = hours, .WaveCheck = 1, .Minutes = minutes, .FilePath = sound, .Fee = {}};
}

// Runs `checks` checks with the same measures; returns which ones showed the window.
std::string Pattern(AlertMonitor& m, const AlertSettings& s, PeriodMeasure day, PeriodMeasure week,
    PeriodMeasure month, int checks)
{
    std::string shown;
    for (int i = 0; i < checks; ++i)
        shown += m.Check(s, day, week, month).ShowWindow ? 'X' : '.';
    return shown;
}

// Every field, the fee in ten-thousandths of a yuan.
auto Fields(const AlertSetting& a)
{
    return std::tuple(a.Check, a.AlertStandard, a.Hours, a.Fee.Raw(), a.WaveCheck, a.Minutes, a.FilePath);
}

}  // namespace

// Each period warns at its time limit (kinds 1-3) or cost limit (4-6), then
// every `Minutes` checks (zero or below: every check); checks under the limit,
// or while the alert is switched off, are not counted. A cost alert looks only
// at the fee, however long the period. A connection that ends resets the counters.
TEST(AlertCheck, EachPeriodWarnsAtItsLimitThenRepeats)
{
    for (int kind = 1; kind <= 6; ++kind) {
        SCOPED_TRACE(kind);
        const int period = (kind - 1) % 3;
        const bool byCost = kind > 3;
        AlertSettings s;
        AlertSetting* alerts[] = {&s.DayAlert, &s.WeekAlert, &s.MonthAlert};
        *alerts[period] = TimeAlert(3, 5, "p.wav");
        alerts[period]->AlertStandard = byCost ? 1 : 0;
        alerts[period]->Fee = Money::FromYuan(20);
        PeriodMeasure under[3] = {}, at[3] = {};
        under[period] = byCost ? PeriodMeasure{999999, Money::FromRaw(199999)} : PeriodMeasure{10799, {}};
        at[period] = byCost ? PeriodMeasure{0, Money::FromYuan(20)} : PeriodMeasure{10800, {}};
        AlertMonitor m;
        alerts[period]->Check = 0;
        EXPECT_EQ(Pattern(m, s, at[0], at[1], at[2], 3), "...");
        alerts[period]->Check = 1;
        EXPECT_EQ(Pattern(m, s, under[0], under[1], under[2], 12), std::string(12, '.'));
        AlertCheckResult r = m.Check(s, at[0], at[1], at[2]);
        EXPECT_TRUE(r.ShowWindow);
        EXPECT_EQ(r.WindowKind, kind);
        EXPECT_EQ(r.SoundsToPlay, std::vector<std::string>{"p.wav"});
        EXPECT_EQ(Pattern(m, s, at[0], at[1], at[2], 10), "....X....X");
        m.ResetCounters();
        EXPECT_EQ(Pattern(m, s, at[0], at[1], at[2], 2), "X.");
        alerts[period]->Minutes = int16_t(byCost ? 0 : -3);
        EXPECT_EQ(Pattern(m, s, at[0], at[1], at[2], 3), "XXX");
    }
}

TEST(AlertCheck, SeveralPeriodsAtOnce)
{
    AlertSettings s;
    s.DayAlert = TimeAlert(1, 5, "day.wav");
    s.WeekAlert = TimeAlert(1, 5, "week.wav");
    s.MonthAlert = TimeAlert(0, 5, "month.wav");
    s.MonthAlert.AlertStandard = 1;
    s.MonthAlert.Fee = Money::FromYuan(10);
    AlertMonitor m;
    const PeriodMeasure over{3600, Money::FromYuan(10)};
    AlertCheckResult r = m.Check(s, over, over, over);
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 1) << "one window, with the day's text";
    EXPECT_EQ(r.SoundsToPlay, (std::vector<std::string>{"day.wav", "week.wav", "month.wav"}));

    // The window's text comes from the first period that shows.
    s.WeekAlert.WaveCheck = 0;
    s.MonthAlert.Check = 0;
    AlertMonitor second;
    second.Check(s, PeriodMeasure{3600, {}}, {}, {});  // the day warns alone; its counter moves on
    r = second.Check(s, PeriodMeasure{3600, {}}, PeriodMeasure{3600, {}}, {});
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 2);
    EXPECT_TRUE(r.SoundsToPlay.empty()) << "the week's sound is off and the day is between repeats";
}

TEST(AlertSettingsLoad, DefaultsTheirTextsAndAFileWrittenByTheWindowsProgram)
{
    AlertSettings a = InitialAlertSettings(ProfileFile(TempProfile().Path()));
    EXPECT_EQ(Fields(a.DayAlert), std::tuple(0, 0, 3, 200000, 0, 5, ""));
    EXPECT_EQ(Fields(a.WeekAlert), std::tuple(0, 0, 10, 1400000, 0, 5, ""));
    EXPECT_EQ(Fields(a.MonthAlert), std::tuple(0, 0, 50, 6000000, 0, 5, ""));
    // Their texts, with the default limits.
    const struct {
        int16_t kind;
        const char* text;
    } cases[] = {{1, "你今天的用时超过3小时了！"}, {2, "你这个星期的用时超过10小时了！"},
        {3, "你这个月的用时超过50小时了!"}, {4, "你今天的费用超过20元了!"},
        {5, "你这个星期的费用超过140元了!"}, {6, "你这个月的费用超过600元了!"}};
    for (const auto& c : cases)
        EXPECT_EQ(AlertText(c.kind, a), c.text) << c.kind;

    a = InitialAlertSettings(ProfileFile(std::string(TOLLIX_TEST_DATA_DIR) + "/config/windows-written.ini"));
    EXPECT_EQ(Fields(a.DayAlert), std::tuple(1, 0, 2, 200000, 1, 10, "C:\\WINDOWS\\MEDIA\\提醒.WAV"));
    EXPECT_EQ(Fields(a.WeekAlert), std::tuple(1, 1, 12, 1500000, 0, 15, ""));
    EXPECT_EQ(Fields(a.MonthAlert), std::tuple(0, 1, 40, 5000000, 1, 30, "C:\\WINDOWS\\MEDIA\\CHIMES.WAV"));
}
