#include "base/Translation.h"

#include <gtest/gtest.h>

#include <cstring>

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

}  // namespace
}  // namespace tollix
