#include "meter/SettingsEditor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tollix {
namespace {

// Typed numbers become whole numbers the way a currency conversion rounds them:
// halves go to the even neighbour, on both sides of zero, and a number that
// would not fit the setting is refused rather than wrapped.
TEST(SettingsEditorTest, WholeNumbersFromTypedText)
{
    struct Case {
        const char* text;
        std::optional<int32_t> whole16;
        std::optional<int32_t> whole32;
    };
    const auto none = std::nullopt;
    const Case cases[] = {
        {"30.5", 30, 30},
        {"31.5", 32, 32},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-2.5", -2, -2},
        {"-3.5", -4, -4},
        {"-0.4", 0, 0},
        {"2.5001", 3, 3},
        {"2.50001", 2, 2},  // the amount keeps four decimals before it is rounded
        {" 7 ", 7, 7},
        {"32767.4", 32767, 32767},
        {"32767.5", none, 32768},
        {"-32768", -32768, -32768},
        {"40000", none, 40000},
        {"2147483648", none, none},
        {"", none, none},
        {"abc", none, none},
        {"1e3", none, none},
        {"-", none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<int16_t> w16 = WholeNumber16(c.text);
        EXPECT_EQ(w16 ? std::optional<int32_t>(*w16) : std::nullopt, c.whole16);
        EXPECT_EQ(WholeNumber32(c.text), c.whole32);
    }
}

// The sound path kept in memory: at most 40 characters (not bytes, so a
// Chinese name is not cut inside a character), without the blanks a padded
// fixed-length field would leave behind.
TEST(SettingsEditorTest, SoundPathKeptInMemory)
{
    const std::string forty(40, 'a');
    struct Case {
        std::string text, path;
    };
    const Case cases[] = {{"/tmp/a.wav", "/tmp/a.wav"}, {"/tmp/a.wav   ", "/tmp/a.wav"},
        {forty + "bcd", forty}, {std::string(38, 'a') + "  x", std::string(38, 'a')},
        {"/声音/" + std::string(40, 'z'), "/声音/" + std::string(36, 'z')}, {"", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SoundPathFromText(c.text), c.path);
    }
}

}  // namespace
}  // namespace tollix
