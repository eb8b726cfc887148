#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "base/Gbk.h"
#include "config/ProfileFile.h"
#include "config/ProfileTestSupport.h"

#include <cstring>

using tollix::ProfileFile;
using tollix::test::Lines;
using tollix::test::TempProfile;

constexpr const char* kDef = "DEF";
constexpr int32_t kIntDef = -7;

// A hand-edited file with most of what people put into one, with every line end.
TEST(ProfileFileRead, HandEditedFileWithEveryLineEnd)
{
    const std::initializer_list<std::string_view> lines
        = {"TopKey=before any section", "; a comment line", "", "[General]", "  Name  =  Value with spaces  ",
            "Quoted=\"  padded  \"", "Single='x'", "Mismatch=\"abc'", "OnlyQuote=\"", "EmptyQuotes=\"\"",
            "Empty=", "NoEquals", "   ", "Dup=first", "DUP=second", "; Commented=1", "Num= 42abc", "Neg=-17",
            "Plus=+5", "Blanks=\"  7\"", "Big=99999999999", "Small=-99999999999", "Tab=\tt\t", "Eq=a=b",
            "Zone=z", "[ general ]", "Dup=third", "Later=only in the duplicate", "[Other]", "Dup=other",
            "[Telephone Fee", "Full Fee=130", "[sec]whoops]", "K=sec",
            // GBK 81 41 and 81 61 are two characters whose second bytes are 'A' and 'a'; 81 5D ends in ']'.
            "[\x81\x41]", "K=upper", "[\x81\x5Dx]", "J=trail", "[Last]", "NoLineEnd=end"};
    const struct {
        const char* section;
        const char* key;
        const char* text;
        int32_t number;
    } cases[] = {{"General", "TopKey", kDef, kIntDef},  // lines before the first section are not readable
        {"  GENERAL ", " Name ", "Value with spaces", 0}, {"General", "Quoted", "  padded  ", 0},
        {"General", "Single", "x", 0}, {"General", "Mismatch", "\"abc'", 0},
        {"General", "OnlyQuote", "\"", 0}, {"General", "EmptyQuotes", "", kIntDef},
        {"General", "Empty", "", kIntDef}, {"General", "NoEquals", kDef, kIntDef},
        {"General", "Dup", "first", 0}, {"General", "Commented", kDef, kIntDef},
        {"General", "Num", "42abc", 42}, {"General", "Neg", "-17", -17}, {"General", "Plus", "+5", 5},
        {"General", "Blanks", "  7", 7}, {"General", "Big", "99999999999", 2147483647},
        {"General", "Small", "-99999999999", -2147483647 - 1}, {"General", "Tab", "t", 0},
        {"General", "Eq", "a=b", 0},
        {"General", "Later", kDef, kIntDef},  // only in a later duplicate section
        {"general", "zONE", "z", 0}, {"Other", "Dup", "other", 0}, {"Last", "NoLineEnd", "end", 0},
        // A header's name ends at its first ']', or at the line's end without one.
        {"Telephone Fee", "Full Fee", "130", 130}, {"Other", "Full Fee", kDef, kIntDef},
        {"sec", "K", "sec", 0}, {"Nowhere", "Dup", kDef, kIntDef}, {"General", "", kDef, kIntDef},
        {"丄", "k", "upper", 0}, {"乤", "k", kDef, kIntDef}, {"乚x", "J", "trail", 0}};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string text = Lines(lines, end);
        text.resize(text.size() - std::strlen(end));  // the last line has no line end
        TempProfile temp(text);
        ProfileFile file(temp.Path());
        SCOPED_TRACE(end[1] ? "CRLF" : end[0] == '\n' ? "LF" : "CR");
        for (const auto& c : cases) {
            EXPECT_EQ(file.ReadText(c.section, c.key, kDef, 256), c.text) << c.section << "/" << c.key;
            EXPECT_EQ(file.ReadInt(c.section, c.key, kIntDef), c.number) << c.section << "/" << c.key;
        }
    }
}

TEST(ProfileFileRead, TextIsCutToTheBufferWithoutSplittingACharacter)
{
    // "中文abc" is D6D0 CEC4 61 62 63 in GBK.
    TempProfile temp(Lines({"[S]",
        "K=\xD6\xD0\xCE\xC4"
        "abc",
        "FE=\xFE\x41\xFE\x41"}));
    ProfileFile file(temp.Path());
    const struct {
        size_t buffer;
        const char* text;
    } cases[] = {{0, ""}, {4, "中"}, {5, "中文"}};
    for (const auto& c : cases)
        EXPECT_EQ(file.ReadText("S", "K", "", c.buffer), c.text) << c.buffer;
    EXPECT_EQ(file.ReadText("S", "FE", "", 4), tollix::GbkToUtf8("\xFE\x41")) << "0xFE leads a character too";
    // The default is cut the same way, and loses its trailing blanks.
    EXPECT_EQ(file.ReadText("S", "None", "中文", 4), "中");
    EXPECT_EQ(file.ReadText("S", "None", "0  ", 17), "0");
}

TEST(ProfileFileRead, SeesChangesMadeByOthers)
{
    TempProfile temp(Lines({"[S]", "K=1"}));
    ProfileFile file(temp.Path());
    ASSERT_EQ(file.ReadInt("S", "K", 0), 1);

    temp.Write(Lines({"[S]", "K=33"}));  // same size, same inode: only the times differ
    struct timespec times[2] = {{1000, 5}, {1000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, temp.Path().c_str(), times, 0), 0);
    EXPECT_EQ(file.ReadInt("S", "K", 0), 33);

    std::filesystem::remove(temp.Path());
    std::filesystem::create_directory(temp.Path());  // unreadable for a while
    EXPECT_EQ(file.ReadInt("S", "K", 0), 0);
    std::filesystem::remove(temp.Path());
    temp.Write(Lines({"[S]", "K=55"}));
    EXPECT_EQ(file.ReadInt("S", "K", 0), 55);
    EXPECT_TRUE(file.WriteText("S", "K", "66")) << "the file is readable again";
}

// A hand-edited file keeps its comments, blank lines and byte order mark; a key
// without a value and an empty section are filled in place.
TEST(ProfileFileWrite, HandEditedFileKeepsItsCommentsAndBlankLines)
{
    TempProfile temp("\xEF\xBB\xBF"
        + Lines({"; Tollix settings", "", "[Telephone Fee]", "  Full Fee = 120  ", "; the discount price",
                    "Half Fee=60", "", "[\xBC\xD2\xC0\xEF]", "Fee Type=1", "; end of the connection",
                    "[telephone fee]", "Tel Unit=999", "[A]", "Flag", "[B]", "", "[C", "X=1"},
            "\n"));
    ProfileFile file(temp.Path());
    ASSERT_TRUE(file.WriteText("Telephone Fee", "Tel Unit", "60"));
    ASSERT_TRUE(file.WriteText("Telephone Fee", "full fee", "130"));
    ASSERT_TRUE(file.WriteText("家里", "Fix Hour", "40"));
    ASSERT_TRUE(file.WriteText("Alert Setting", "DayFilePath", "/home/用户/提醒.wav"));
    ASSERT_TRUE(file.WriteText("A", "flag", "-1"));
    ASSERT_TRUE(file.WriteText("B", "K", "v"));
    ASSERT_TRUE(file.WriteText("C", "Y", "2"));  // a header that lost its ']'
    EXPECT_EQ(temp.Read(),
        "\xEF\xBB\xBF"
            + Lines({"; Tollix settings", "", "[Telephone Fee]", "Full Fee=130", "; the discount price",
                "Half Fee=60", "Tel Unit=60", "", "[\xBC\xD2\xC0\xEF]", "Fee Type=1", "Fix Hour=40",
                "; end of the connection", "[telephone fee]", "Tel Unit=999", "[A]", "Flag=-1", "[B]", "K=v",
                "", "[C", "X=1", "Y=2", "[Alert Setting]",
                "DayFilePath=/home/\xD3\xC3\xBB\xA7/\xCC\xE1\xD0\xD1.wav"}));
    EXPECT_EQ(file.ReadInt("Telephone Fee", "Tel Unit", 180), 60);
}

TEST(ProfileFileWrite, RefusesWhatWouldReadBackAsSomethingElse)
{
    const std::string original = Lines({"[S]", "K=1"});
    const struct {
        std::string section, key, value;
    } cases[] = {{"S", "K", "carriage\rreturn"}, {"S", "Evil\nK", "1"}, {"S\r\n[T]", "K", "1"},
        {"S", "K", std::string("nul\0byte", 8)}, {"S", "", "1"}, {"  ", "K", "1"}, {"S", "a=b", "1"},
        {"S", "[T]", "1"}, {"S", "; note", "1"},
        // Names GBK cannot hold would be stored under "?" names of their own,
        // and a value would read back as another (a sound path naming no file).
        {"S", "\xff\xfe键", "1"}, {"\xF0\x9F\x98\x80", "K", "1"}, {"S", "K", "/home/\xF0\x9F\x98\x80.wav"},
        {"a]b", "K", "1"}};
    TempProfile temp(original);
    ProfileFile file(temp.Path());
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(file.WriteText(c.section, c.key, c.value, &error)) << c.key << "=" << c.value;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(temp.Read(), original);
    }
    TempProfile none;
    ProfileFile missing(none.Path());
    EXPECT_FALSE(missing.WriteText("S", "K", "a\nb"));
    EXPECT_FALSE(std::filesystem::exists(none.Path())) << "a refused write creates no file";
    ASSERT_TRUE(missing.WriteText("S", "K", "1"));
    EXPECT_EQ(none.Read(), "[S]\r\nK=1\r\n");
}

TEST(ProfileFileWrite, FailureLeavesTheFileAndSaysWhy)
{
    TempProfile temp;
    ProfileFile nowhere(temp.Path().parent_path() / "no such folder" / "tollix.ini");
    std::string error;
    EXPECT_FALSE(nowhere.WriteText("S", "K", "1", &error));
    EXPECT_NE(error.find("no such folder"), std::string::npos) << error;

    // A settings "file" that cannot be read is never replaced by a new one.
    std::filesystem::create_directory(temp.Path());
    ProfileFile folder(temp.Path());
    EXPECT_FALSE(folder.WriteText("S", "K", "1", &error));
    EXPECT_NE(error.find("无法读取"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(temp.Path()));
}

TEST(ProfileFile, NarrowTo16Clamps)
{
    for (auto [wide, narrow] : std::initializer_list<std::pair<int32_t, int32_t>>{
             {-1, -1}, {32767, 32767}, {40000, 32767}, {-40000, -32768}})
        EXPECT_EQ(tollix::NarrowTo16(wide), narrow) << wide;
}
