#include <gtest/gtest.h>

#include "alerts/AlertMonitor.h"
#include "config/ProfileTestSupport.h"

using namespace tollix;
using namespace tollix::test;

namespace {

AlertSetting TimeAlert(int16_t hours, int16_t minutes, const char* sound)
{
    AlertSetting a;
    a.Check = 1;
    a.Hours = hours;
    a.Minutes = minutes;
    a.WaveCheck = 1;
    a.FilePath = sound;
    return a;
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

// Every field on one line, the fee in ten-thousandths of a yuan.
std::string Fields(const AlertSetting& a)
{
    return "on " + std::to_string(a.Check) + " by " + std::to_string(a.AlertStandard) + " "
        + std::to_string(a.Hours) + "h " + std::to_string(a.Fee.Raw()) + " sound "
        + std::to_string(a.WaveCheck) + " every " + std::to_string(a.Minutes) + " '" + a.FilePath + "'";
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
    TempProfile temp;
    ProfileFile file(temp.Path());
    AlertSettings a = InitialAlertSettings(file);
    EXPECT_EQ(Fields(a.DayAlert), "on 0 by 0 3h 200000 sound 0 every 5 ''");
    EXPECT_EQ(Fields(a.WeekAlert), "on 0 by 0 10h 1400000 sound 0 every 5 ''");
    EXPECT_EQ(Fields(a.MonthAlert), "on 0 by 0 50h 6000000 sound 0 every 5 ''");
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
    EXPECT_EQ(Fields(a.DayAlert), "on 1 by 0 2h 200000 sound 1 every 10 'C:\\WINDOWS\\MEDIA\\提醒.WAV'");
    EXPECT_EQ(Fields(a.WeekAlert), "on 1 by 1 12h 1500000 sound 0 every 15 ''");
    EXPECT_EQ(
        Fields(a.MonthAlert), "on 0 by 1 40h 5000000 sound 1 every 30 'C:\\WINDOWS\\MEDIA\\CHIMES.WAV'");
}
