#include "base/Translation.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "base/DateTime.h"
#include "base/SafeFile.h"

namespace tollix {
namespace {

// Each text turned around, so that a message built in pieces would show it.
std::string English(const char* text)
{
    static const std::pair<std::string_view, const char*> kTexts[] = {
        {"无法拨号“%1”：%2", "%2: cannot dial \"%1\""},
        {"无法写入文件 %1：%2", "%2 (writing %1)"},
        {"%1小时%2分%3秒", "%3s %2m %1h"},
    };
    for (const auto& [chinese, english] : kTexts)
        if (chinese == text)
            return english;
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
    // Engine messages put their arguments where the translation says.
    SetTextTranslator(&English);
    test::TempFolder folder;
    const auto file = folder.Path() / "gone" / "time.txt";
    std::string writeError;
    ReplaceFileAtomically(file, "x", &writeError);
    EXPECT_EQ(writeError, SystemErrorText(ENOENT) + " (writing " + file.string() + ")");
    EXPECT_EQ(DurationText(3725), "5s 2m 1h");
    SetTextTranslator(nullptr);
}

}  // namespace
}  // namespace tollix
