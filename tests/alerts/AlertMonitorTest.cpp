#include <gtest/gtest.h>

#include "alerts/AlertMonitor.h"
#include "config/ProfileTestSupport.h"

using tollix::AlertCheckResult;
using tollix::AlertMonitor;
using tollix::AlertSetting;
using tollix::AlertSettings;
using tollix::Money;
using tollix::PeriodMeasure;
using tollix::test::Lines;
using tollix::test::TempProfile;

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

AlertSetting CostAlert(int64_t yuan, int16_t minutes, const char* sound)
{
    AlertSetting a = TimeAlert(0, minutes, sound);
    a.AlertStandard = 1;
    a.Fee = Money::FromYuan(yuan);
    return a;
}

PeriodMeasure Seconds(int32_t s)
{
    return PeriodMeasure { s, Money() };
}

// Runs `checks` checks with the same measures; returns which ones showed the window.
std::string Pattern(
    AlertMonitor& m, const AlertSettings& s, PeriodMeasure day, PeriodMeasure week, int checks)
{
    std::string shown;
    for (int i = 0; i < checks; ++i)
        shown += m.Check(s, day, week, {}).ShowWindow ? 'X' : '.';
    return shown;
}

} // namespace

TEST(AlertCheck, DayTimeLimitWarnsThenRepeatsEveryMinutesChecks)
{
    AlertSettings s;
    s.DayAlert = TimeAlert(3, 5, "day.wav");
    AlertMonitor m;

    AlertCheckResult r = m.Check(s, Seconds(10799), {}, {});
    EXPECT_FALSE(r.ShowWindow);
    EXPECT_EQ(r.AlertKind, 0);
    EXPECT_TRUE(r.SoundsToPlay.empty());
    EXPECT_EQ(m.DayAlertCount(), 0) << "checks under the limit are not counted";

    r = m.Check(s, Seconds(10800), {}, {});
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 1);
    EXPECT_EQ(r.AlertKind, 1);
    EXPECT_EQ(r.SoundsToPlay, std::vector<std::string> { "day.wav" });
    EXPECT_EQ(tollix::AlertText(r.WindowKind, s), "你今天的用时超过3小时了！");
    EXPECT_EQ(m.DayAlertCount(), 1);

    EXPECT_EQ(Pattern(m, s, Seconds(10800), {}, 10), "....X....X");
    EXPECT_EQ(m.DayAlertCount(), 11);
}

TEST(AlertCheck, WeekBehavesLikeTheDay)
{
    AlertSettings s;
    s.WeekAlert = TimeAlert(3, 5, "week.wav");
    AlertMonitor m;
    EXPECT_EQ(Pattern(m, s, {}, Seconds(10799), 2), "..");
    AlertCheckResult r = m.Check(s, {}, Seconds(10800), {});
    EXPECT_EQ(r.WindowKind, 2);
    EXPECT_EQ(r.SoundsToPlay, std::vector<std::string> { "week.wav" });
    EXPECT_EQ(Pattern(m, s, {}, Seconds(10800), 10), "....X....X");
    EXPECT_EQ(m.WeekAlertCount(), 11);
    EXPECT_EQ(m.DayAlertCount(), 0);
}

TEST(AlertCheck, CostLimitUsesTheFinishedConnectionsFee)
{
    AlertSettings s;
    s.DayAlert = CostAlert(20, 5, "cost.wav");
    AlertMonitor m;
    PeriodMeasure day { 999999, Money::FromRaw(199900) }; // 19.99 yuan, however long the day
    EXPECT_EQ(Pattern(m, s, day, {}, 30), std::string(30, '.'));
    day.Fee = Money::FromYuan(20);
    AlertCheckResult r = m.Check(s, day, {}, {});
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 4);
    EXPECT_EQ(tollix::AlertText(r.WindowKind, s), "你今天的费用超过20元了!");
}

TEST(AlertCheck, AllThreePeriodsAtOnce)
{
    AlertSettings s;
    s.DayAlert = TimeAlert(1, 5, "day.wav");
    s.WeekAlert = TimeAlert(1, 5, "week.wav");
    s.MonthAlert = CostAlert(10, 5, "month.wav");
    AlertMonitor m;
    const PeriodMeasure over { 3600, Money::FromYuan(10) };
    AlertCheckResult r = m.Check(s, over, over, over);
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 1) << "one window, with the day's text";
    EXPECT_EQ(r.AlertKind, 6) << "the month's code is left behind";
    EXPECT_EQ(r.SoundsToPlay, (std::vector<std::string> { "day.wav", "week.wav", "month.wav" }));
    EXPECT_EQ(m.DayAlertCount() + m.WeekAlertCount() + m.MonthAlertCount(), 3);
}

TEST(AlertCheck, WindowTextComesFromTheFirstPeriodThatShows)
{
    AlertSettings s;
    s.DayAlert = TimeAlert(1, 5, "day.wav");
    s.WeekAlert = TimeAlert(1, 5, "week.wav");
    s.WeekAlert.WaveCheck = 0;
    AlertMonitor m;
    m.Check(s, Seconds(3600), {}, {}); // the day warns alone; its counter moves on
    AlertCheckResult r = m.Check(s, Seconds(3600), Seconds(3600), {});
    EXPECT_TRUE(r.ShowWindow);
    EXPECT_EQ(r.WindowKind, 2);
    EXPECT_EQ(r.AlertKind, 2);
    EXPECT_TRUE(r.SoundsToPlay.empty()) << "the week's sound is off and the day is between repeats";
}

TEST(AlertCheck, RepeatIntervalOfZeroOrBelowCountsAsOne)
{
    for (int16_t minutes : { 0, -3, 1 }) {
        AlertSettings s;
        s.MonthAlert = TimeAlert(0, minutes, "m.wav");
        AlertMonitor m;
        std::string shown;
        for (int i = 0; i < 4; ++i)
            shown += m.Check(s, {}, {}, Seconds(0)).ShowWindow ? 'X' : '.';
        EXPECT_EQ(shown, "XXXX") << minutes;
    }
}

TEST(AlertCheck, SwitchedOffAlertsAndResetCounters)
{
    AlertSettings s;
    s.DayAlert = TimeAlert(1, 5, "day.wav");
    s.DayAlert.Check = 0;
    AlertMonitor m;
    EXPECT_EQ(Pattern(m, s, Seconds(99999), {}, 3), "...");
    EXPECT_EQ(m.DayAlertCount(), 0);

    s.DayAlert.Check = 1;
    EXPECT_EQ(Pattern(m, s, Seconds(99999), {}, 3), "X..");
    m.ResetCounters(); // the connection ended; the next one warns at its first check
    EXPECT_EQ(m.DayAlertCount(), 0);
    EXPECT_EQ(Pattern(m, s, Seconds(99999), {}, 2), "X.");
}

TEST(AlertText, ExactTexts)
{
    AlertSettings s;
    s.DayAlert.Hours = 3;
    s.WeekAlert.Hours = 10;
    s.MonthAlert.Hours = 50;
    s.DayAlert.Fee = Money::FromRaw(205000);
    s.WeekAlert.Fee = Money::FromYuan(140);
    s.MonthAlert.Fee = Money::FromYuan(600);
    const struct {
        int16_t kind;
        const char* text;
    } cases[] = {
        { 1, "你今天的用时超过3小时了！" },
        { 2, "你这个星期的用时超过10小时了！" },
        { 3, "你这个月的用时超过50小时了!" },
        { 4, "你今天的费用超过20.5元了!" },
        { 5, "你这个星期的费用超过140元了!" },
        { 6, "你这个月的费用超过600元了!" },
        { 0, "你这个月的费用超过600元了!" },
        { 99, "你这个月的费用超过600元了!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::AlertText(c.kind, s), c.text) << c.kind;
}

TEST(AlertSettingsLoad, DefaultsAndValues)
{
    TempProfile temp;
    tollix::ProfileFile file(temp.Path());
    AlertSettings a = tollix::InitialAlertSettings(file);
    const AlertSetting* all[] = { &a.DayAlert, &a.WeekAlert, &a.MonthAlert };
    const int16_t hours[] = { 3, 10, 50 };
    const int64_t fees[] = { 20, 140, 600 };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(all[i]->Check, 0);
        EXPECT_EQ(all[i]->Hours, hours[i]);
        EXPECT_EQ(all[i]->WaveCheck, 0);
        EXPECT_EQ(all[i]->Minutes, 5);
        EXPECT_EQ(all[i]->Fee, Money::FromYuan(fees[i]));
        EXPECT_EQ(all[i]->AlertStandard, 0);
        EXPECT_EQ(all[i]->FilePath, "");
    }

    // 38 ASCII bytes and then a two-byte character: it does not fit in 39 bytes.
    const std::string longPath = "/home/user/sounds/a-rather-long-name-x";
    temp.Write(Lines({
        "[Alert Setting]",
        "DayCheck=1",
        "Day AlertStandard=1",
        "Dayhours=4",
        "DayFee=35.7",
        "DayWaveCheck=1",
        "Dayminutes=0",
        "DayFilePath=" + longPath + "\xD6\xD0.wav",
        "WeekFilePath=" + std::string(45, 'w'),
        "MonthFilePath=\"/tmp/m.wav\"",
    }));
    a = tollix::InitialAlertSettings(file);
    EXPECT_EQ(a.DayAlert.Check, 1);
    EXPECT_EQ(a.DayAlert.AlertStandard, 1);
    EXPECT_EQ(a.DayAlert.Hours, 4);
    EXPECT_EQ(a.DayAlert.Fee, Money::FromYuan(35)) << "whole yuan: the fraction is dropped";
    EXPECT_EQ(a.DayAlert.WaveCheck, 1);
    EXPECT_EQ(a.DayAlert.Minutes, 0);
    EXPECT_EQ(a.DayAlert.FilePath, longPath);
    EXPECT_EQ(a.WeekAlert.FilePath, std::string(39, 'w'));
    EXPECT_EQ(a.MonthAlert.FilePath, "/tmp/m.wav");
}

TEST(AlertSettingsLoad, FileWrittenByTheWindowsProgram)
{
    tollix::ProfileFile file(std::filesystem::path(TOLLIX_TEST_DATA_DIR) / "config" / "windows-written.ini");
    AlertSettings a = tollix::InitialAlertSettings(file);
    EXPECT_EQ(a.DayAlert.Check, 1);
    EXPECT_EQ(a.DayAlert.Hours, 2);
    EXPECT_EQ(a.DayAlert.Minutes, 10);
    EXPECT_EQ(a.DayAlert.FilePath, "C:\\WINDOWS\\MEDIA\\提醒.WAV");
    EXPECT_EQ(a.WeekAlert.Check, 1);
    EXPECT_EQ(a.WeekAlert.AlertStandard, 1);
    EXPECT_EQ(a.WeekAlert.Hours, 12);
    EXPECT_EQ(a.WeekAlert.Fee, Money::FromYuan(150));
    EXPECT_EQ(a.WeekAlert.Minutes, 15);
    EXPECT_EQ(a.WeekAlert.FilePath, "");
    EXPECT_EQ(a.MonthAlert.Check, 0);
    EXPECT_EQ(a.MonthAlert.AlertStandard, 1);
    EXPECT_EQ(a.MonthAlert.Hours, 40);
    EXPECT_EQ(a.MonthAlert.Fee, Money::FromYuan(500));
    EXPECT_EQ(a.MonthAlert.WaveCheck, 1);
    EXPECT_EQ(a.MonthAlert.Minutes, 30);
    EXPECT_EQ(a.MonthAlert.FilePath, "C:\\WINDOWS\\MEDIA\\CHIMES.WAV");
}
