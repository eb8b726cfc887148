#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/ProfileTestSupport.h"
#include "config/SettingKeys.h"

using namespace tollix;
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

// (Fees and flags read through the table are checked with the tariffs and alerts.)
TEST(SettingKeys, ReadsAndWritesThroughTheTable)
{
    TempProfile temp;
    ProfileFile file(temp.Path());
    ASSERT_TRUE(tollix::WriteSetting(file, Setting::ResetWeek, "3"));
    ASSERT_TRUE(tollix::WriteConnectionSetting(file, "我的连接", ConnectionSetting::FeeType, "2"));
    EXPECT_EQ(tollix::ReadConnectionInt(file, "我的连接", ConnectionSetting::FeeType), 2);
    EXPECT_NE(temp.Read().find("[Reset]\r\nWeek=3\r\n"), std::string::npos);
}
