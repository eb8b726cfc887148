#include "base/Translation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "ManualClock.h"
#include "TestSupport.h"
#include "base/DateTime.h"
#include "base/SafeFile.h"
#include "dialup/CheckCommand.h"
#include "dialup/DemoDialupService.h"

namespace tollix {
namespace {

std::string English(const char* text)
{
    if (std::strcmp(text, "无法拨号“%1”：%2") == 0)
        return "%2: cannot dial \"%1\"";
    return {};
}

TEST(Translation, PlaceholdersFollowTheTranslationAndArgumentsStayAsTheyAre)
{
    const struct {
        bool translated;
        const char* text;
        std::initializer_list<std::string_view> args;
        std::string shown;
    } cases[] = {
        {false, "无法拨号“%1”：%2", {"isp %2", "忙"}, "无法拨号“isp %2”：忙"},
        {true, "无法拨号“%1”：%2", {"isp %2", "busy"}, "busy: cannot dial \"isp %2\""},
        {true, "没有译文 %1%", {"x"}, "没有译文 x%"},
        {true, "缺少参数 %3", {"x"}, "缺少参数 %3"},
    };
    for (const auto& c : cases) {
        SetTextTranslator(c.translated ? &English : nullptr);
        EXPECT_EQ(Tr(c.text, c.args), c.shown) << c.text;
    }
    SetTextTranslator(nullptr);
}

// Each text turned around, so that a message built in pieces would show it.
std::string Reversed(const char* text)
{
    static const std::pair<std::string_view, const char*> kTexts[] = {
        {"无法写入文件 %1：%2", "%2 (writing %1)"},
        {"“%1”不是演示线路电话簿中的连接，不能拨号。", "\"%1\" is not on the demo line"},
        {"拨号方式：%1（演示线路）", "Demo line through %1"},
        {"%1小时%2分%3秒", "%3s %2m %1h"},
    };
    for (const auto& [chinese, english] : kTexts)
        if (chinese == text)
            return english;
    return {};
}

TEST(Translation, EngineMessagesPutTheirArgumentsWhereTheTranslationSays)
{
    test::TempFolder folder;
    const auto file = folder.Path() / "gone" / "time.txt";
    ManualClock clock(test::At(2026, 3, 5));
    DemoDialupService demo(clock);
    SetTextTranslator(&Reversed);
    std::string writeError;
    ReplaceFileAtomically(file, "x", &writeError);
    std::ostringstream out;
    RunCheck(out, out, demo, folder.Path());
    std::istringstream checkLines(out.str());
    std::string backendLine;
    std::getline(std::getline(checkLines, backendLine), backendLine);  // after the data folder's
    const struct {
        std::string shown, expected;
    } cases[] = {
        {writeError, SystemErrorText(ENOENT) + " (writing " + file.string() + ")"},
        {demo.DialConnection("isp 1").Error, "\"isp 1\" is not on the demo line"},
        {backendLine, "Demo line through demo"},
        {DurationText(3725), "5s 2m 1h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, c.expected);
    SetTextTranslator(nullptr);
}

}  // namespace
}  // namespace tollix
