#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/ProfileTestSupport.h"
#include "config/SettingKeys.h"

using tollix::ConnectionSetting;
using tollix::Info;
using tollix::Money;
using tollix::ProfileFile;
using tollix::Setting;
using tollix::SettingForm;
using tollix::test::Lines;
using tollix::test::TempProfile;

TEST(SettingKeys, TableIsCompleteAndUnambiguous)
{
    std::set<std::string> seen;
    for (size_t i = 0; i < tollix::kSettingCount; ++i) {
        const auto& info = Info(static_cast<Setting>(i));
        EXPECT_STRNE(info.section, "") << i;
        EXPECT_STRNE(info.key, "") << i;
        EXPECT_EQ(info.form == SettingForm::Text, info.bufferSize > 0) << info.key;
        EXPECT_TRUE(seen.insert(std::string(info.section) + "/" + info.key).second) << info.key;
    }
    for (size_t i = 0; i < tollix::kConnectionSettingCount; ++i) {
        const auto& info = Info(static_cast<ConnectionSetting>(i));
        EXPECT_STREQ(info.section, "") << i;
        EXPECT_TRUE(seen.insert(std::string("connection/") + info.key).second) << info.key;
    }
}

TEST(SettingKeys, ExactNamesAndDefaults)
{
    const struct {
        Setting setting;
        const char* section;
        const char* key;
        int32_t defaultInt;
    } cases[] = {
        { Setting::TelFullFee, "Telephone Fee", "Full Fee", 120 },
        { Setting::TelUnit, "Telephone Fee", "Tel Unit", 180 },
        { Setting::TelStartHour, "Telephone Fee", "Start Hour", 21 },
        { Setting::TelEndHour, "Telephone Fee", "End Hour", 7 },
        { Setting::AlertDayStandard, "Alert Setting", "Day AlertStandard", 0 },
        { Setting::AlertDayFee, "Alert Setting", "DayFee", 20 },
        { Setting::AlertDayHours, "Alert Setting", "Dayhours", 3 },
        { Setting::AlertWeekFee, "Alert Setting", "WeekFee", 140 },
        { Setting::AlertMonthHours, "Alert Setting", "Monthhours", 50 },
        { Setting::AlertMonthMinutes, "Alert Setting", "Monthminutes", 5 },
        { Setting::ResetMonth, "Reset", "Month", 1 },
        { Setting::ResetWeek, "Reset", "Week", 0 },
        { Setting::ProAddSeconds, "ProAdd", "ProAdd Seconds", 0 },
        { Setting::AutoHide, "Start Settings", "Auto Hide", 0 },
        { Setting::ShowRASName, "Start Settings", "Show RASName", 0 },
        { Setting::LogNumber, "Max Log Length", "Log Number", 50 },
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(Info(c.setting).section, c.section) << c.key;
        EXPECT_STREQ(Info(c.setting).key, c.key);
        EXPECT_EQ(Info(c.setting).defaultInt, c.defaultInt) << c.key;
    }
    EXPECT_STREQ(Info(Setting::TelHolidayStart).defaultText, "0");
    EXPECT_EQ(Info(Setting::TelHolidayStart).bufferSize, 17u);
    EXPECT_EQ(Info(Setting::AlertWeekFilePath).bufferSize, 40u);
    EXPECT_STREQ(Info(ConnectionSetting::FixFee).key, "Fix Fee");
    EXPECT_EQ(tollix::DefaultMoney(ConnectionSetting::FixFee), Money::FromYuan(200));
    EXPECT_EQ(tollix::DefaultMoney(Setting::TelHalfFee), Money::FromRaw(600));
    EXPECT_EQ(tollix::DefaultMoney(Setting::AlertMonthFee), Money::FromYuan(600));
}

TEST(SettingKeys, ReadsAndWritesThroughTheTable)
{
    TempProfile temp(Lines({
        "[Start Settings]",
        "Auto Hide=-1",
        "[Max Log Length]",
        "Log Number=70000",
        "[Telephone Fee]",
        "Full Fee=123.4",
        "[Alert Setting]",
        "DayFee=20.9",
    }));
    ProfileFile file(temp.Path());
    EXPECT_NE(tollix::ReadSettingInt(file, Setting::AutoHide), 0) << "-1 reads as on";
    EXPECT_EQ(tollix::ReadSettingInt16(file, Setting::LogNumber), 32767);
    EXPECT_EQ(tollix::ReadSettingMoney(file, Setting::TelFullFee), Money::FromRaw(1230));
    EXPECT_EQ(tollix::ReadSettingMoney(file, Setting::AlertDayFee), Money::FromYuan(20));
    EXPECT_EQ(tollix::ReadSettingText(file, Setting::TelHolidayStart), "0");
    EXPECT_EQ(tollix::ReadSettingText(file, Setting::PlayWave), "0");
    EXPECT_EQ(tollix::ReadSettingText(file, Setting::AlertDayFilePath), "");

    ASSERT_TRUE(tollix::WriteSetting(file, Setting::ResetWeek, "3"));
    ASSERT_TRUE(tollix::WriteConnectionSetting(file, "我的连接", ConnectionSetting::FeeType, "2"));
    EXPECT_EQ(tollix::ReadSettingInt(file, Setting::ResetWeek), 3);
    EXPECT_EQ(tollix::ReadConnectionInt(file, "我的连接", ConnectionSetting::FeeType), 2);
    EXPECT_EQ(tollix::ReadConnectionInt(file, "Other", ConnectionSetting::FeeType), 1);
    EXPECT_EQ(tollix::ReadConnectionMoney(file, "Other", ConnectionSetting::ExcelFee), Money::FromRaw(1000));
    EXPECT_EQ(tollix::ReadConnectionText(file, "Other", ConnectionSetting::HolidayStart), "0");
    EXPECT_NE(temp.Read().find("[Reset]\r\nWeek=3\r\n"), std::string::npos);
}
