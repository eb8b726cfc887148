#include <gtest/gtest.h>

#include <cstdint>

#include "TestSupport.h"
#include "history/ConnectionLog.h"
#include "history/LogEntries.h"

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

namespace {

const ConnectionLogEntry kHome = LogEntry("Home", At(1998, 10, 5, 21, 30, 15), 1860, "1.1", "2.4", 11);

const char kHomeLine[] = "\"Home           \",1860,#1998-10-05 21:30:15#,2.4,1.1,11";
// Fifteen characters, thirty bytes in GBK.
const char kChineseName[] = "中国电信拨号上网连接一二三四五";

// Lines from..to of a generated log: line i is i minutes long, so its place is easy to check.
std::string NumberedLog(int from, int to, const char* end = "\r\n")
{
    std::string log;
    for (int i = from; i <= to; ++i)
        log += tollix::FormatLogLine(LogEntry("Line", At(2026, 1, 1, 12), i * 60, "0.1", "0.2", 1)) + end;
    return log;
}

}  // namespace

TEST(ConnectionLogLine, WrittenForm)
{
    const struct {
        ConnectionLogEntry entry;
        std::string line;
    } cases[] = {
        {kHome, kHomeLine},
        {LogEntry("Home", At(206, 1, 2), 60, "0.5", "12", 1), "\"Home           \",60,#0206-01-02#,12,0.5,1"},
        {LogEntry("ABCDEFGHIJKLMNOPQRST", At(2026, 1, 2, 0, 0, 1), 120, "0.0667", "-3", 2),
            "\"ABCDEFGHIJKLMNO\",120,#2026-01-02 00:00:01#,-3,0.0667,2"},
        // A quote would end the name early; a line break would split the line.
        {LogEntry("My \"ISP\"\r\n\x7f", At(2026, 1, 2, 8), 60, "1", "1", 1),
            "\"My 'ISP'       \",60,#2026-01-02 08:00:00#,1,1,1"},
        {LogEntry(std::string(kChineseName) + "六七", At(2026, 1, 2, 8), 60, "1", "1", 1),
            std::string("\"") + kChineseName + "\",60,#2026-01-02 08:00:00#,1,1,1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tollix::FormatLogLine(c.entry), c.line);
        EXPECT_EQ(tollix::ParseLogLine(c.line), c.entry) << c.line;
    }
    ConnectionLogEntry unfixed = kHome;
    unfixed.ConnectionName = "Home";
    EXPECT_EQ(tollix::FormatLogLine(unfixed), kHomeLine) << "the writer pads the name itself";
}

TEST(ConnectionLogLine, ReadsWhatOtherWritersAndHandEditsLeave)
{
    const std::optional<ConnectionLogEntry> none;
    const struct {
        std::string line;
        std::optional<ConnectionLogEntry> entry;
    } cases[] = {
        {"\"Home\",1860,#1998-10-05 21:30:15#,2.40,1.1000,11", kHome},
        {" \"Home           \" , 1860 , #1998-10-05 21:30:15# , 2.4 , 1.1 , 11 \r", kHome},
        // An older writer left a quote inside the name unescaped.
        {"\"Jo\"s ISP, 2   \",-60,#1998-10-05#,1,1,1",
            LogEntry("Jo's ISP, 2", At(1998, 10, 5), -60, "1", "1", 1)},
        {"\"Home\" 60,#1998-10-05#,1,1,1", none},
        {"\"Home\",60,#1998-10-05x,1,1,1", none},
        {"\"Home\",60,#1998-10-05#,1,1,1,1", none},
        {"\"Home\",60,#1998-10-05#,1,x,1", none},
        {"\"Home\",60,#1998-10-05#,1,1,40000", none},
        {"\"Home\",2147483647,#1998-10-05#,1,1,1", LogEntry("Home", At(1998, 10, 5), INT32_MAX, "1", "1", 1)},
        {"\"Home\",9999999999,#1998-10-05#,1,1,1", none},
        {"Home,60,#1998-10-05#,1,1,1", none},
        {"\",60,#1998-10-05#,1,1,1", none},
        {"", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tollix::ParseLogLine(c.line), c.entry) << c.line;
}

TEST(ConnectionLog, AppendWritesGbkLinesWithCrLfAndDeleteRemoves)
{
    TempFolder dir;
    const fs::path log = dir.Path() / "time.txt";
    const auto chinese = LogEntry(kChineseName, At(2026, 2, 3), 180, "0.3", "0", 2);
    const auto other = LogEntry("家里", At(2026, 2, 3), 60, "0.1", "0", 1);
    ASSERT_TRUE(tollix::AppendMissingLogEntries(log, {kHome, chinese, other}));
    EXPECT_TRUE(ReadFile(log).ends_with(
        "\"\xBC\xD2\xC0\xEF" + std::string(13, ' ') + "\",60,#2026-02-03#,0,0.1,1\r\n"));
    EXPECT_EQ(tollix::LoadConnectionLog(log, 50).Entries, (std::vector{other, chinese, kHome}));
    // Trimmed to the two newest, the log is rewritten with each name its own.
    ASSERT_TRUE(tollix::LoadConnectionLog(log, 2).Rewritten);
    EXPECT_EQ(tollix::LoadConnectionLog(log, 50).Entries, (std::vector{other, chinese}));

    // A name restored from a damaged crash journal may hold bytes that are not
    // UTF-8. Cut to fifteen characters, the broken sequence can end right at
    // the closing quote; the quote must survive, or the one bad line would make
    // the whole log unreadable.
    ASSERT_TRUE(tollix::AppendMissingLogEntries(
        log, {LogEntry("abcdefghijklmn\xe4", At(2026, 2, 3)), LogEntry("\xff\xfe中", At(2026, 2, 3))}));
    const auto loaded = tollix::LoadConnectionLog(log, 50).Entries;
    ASSERT_EQ(loaded.size(), 4u);  // newest first
    EXPECT_EQ(loaded[1].ConnectionName, "abcdefghijklmn?");
    EXPECT_EQ(loaded[0].ConnectionName, "??中            ");

    EXPECT_TRUE(tollix::DeleteConnectionLog(log));
    EXPECT_FALSE(fs::exists(log));
    EXPECT_TRUE(tollix::DeleteConnectionLog(log));  // already gone

    // A folder in the file's place: refused, named, nothing changed.
    const fs::path folder = dir.Path() / "folder.txt";
    fs::create_directory(folder);
    std::string error;
    EXPECT_FALSE(tollix::AppendMissingLogEntries(folder, {kHome}, &error));
    EXPECT_NE(error.find(folder.string()), std::string::npos) << error;
    EXPECT_FALSE(tollix::DeleteConnectionLog(folder, &error));
    EXPECT_NE(tollix::LoadConnectionLog(folder, 50).Error.find("文件夹"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(folder));
}

// Replaying the end of sessions after a crash: the lines the log already ends
// with are not written twice, whatever came before them.
TEST(ConnectionLog, AppendMissingSkipsTheLinesTheLogEndsWith)
{
    const auto a = LogEntry("A", At(2026, 2, 3, 8), 60, "0.1", "0", 1);
    const auto b = LogEntry("B", At(2026, 2, 3, 9), 60, "0.1", "0", 1);
    const std::string home = std::string(kHomeLine) + "\r\n";
    const std::string la = FormatLogLine(a) + "\r\n", lb = FormatLogLine(b) + "\r\n";
    const struct {
        std::string before, after;
    } cases[] = {{"", la + lb}, {home, home + la + lb}, {home + la, home + la + lb},
        {home + la + lb, home + la + lb}, {la, la + lb}, {la + lb, la + lb}, {"x" + la, "x" + la + la + lb},
        // A hand-edited last line without a line end is not glued to the new one.
        {kHomeLine, home + la + lb}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        TempFolder dir;
        const fs::path log = dir.Path() / "time.txt";
        WriteFile(log, c.before);
        ASSERT_TRUE(tollix::AppendMissingLogEntries(log, {a, b}));
        EXPECT_EQ(ReadFile(log), c.after);
    }
}

// A log that is rewritten holds exactly the kept lines; any other is left as it was.
TEST(ConnectionLog, LoadKeepsTheNewestLinesAndRewritesTheFile)
{
    const std::string damaged = NumberedLog(1, 2) + "\"Line\",1x,#2026-01-01#,1,1,1\r\n" + NumberedLog(4, 9);
    const struct {
        const char* name;
        std::optional<std::string> contents;  // nothing: no file
        int logNumber;
        int firstKept, lastKept;  // 0, 0: no entries
        int damagedLine;
        bool rewritten;
    } cases[] = {
        {"missing file", std::nullopt, 50, 0, 0, 0, false},
        {"empty file", "", 50, 0, 0, 0, false},
        {"exactly the kept number", NumberedLog(1, 10), 10, 1, 10, 0, false},
        {"LF line ends", NumberedLog(1, 5, "\n"), 50, 1, 5, 0, true},
        {"no line end at the end", NumberedLog(1, 4) + NumberedLog(5, 5, ""), 50, 1, 5, 0, true},
        {"blank lines", NumberedLog(1, 2) + "\r\n  \r\n" + NumberedLog(3, 4), 50, 1, 4, 0, true},
        {"damaged line", damaged, 50, 0, 0, 3, false},
        {"damaged line after the kept ones", damaged, 2, 0, 0, 3, false},
        {"damaged last line", NumberedLog(1, 3) + "\"Line\",60,#2026-01-01#", 50, 0, 0, 4, false},
        {"over-long line", NumberedLog(1, 1) + std::string(100000, 'x'), 50, 0, 0, 2, false},
        {"zero would wipe the history", NumberedLog(1, 53), 0, 4, 53, 0, true},
        {"longer than one read", NumberedLog(1, 3000), 50, 2951, 3000, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path log = dir.Path() / "time.txt";
        if (c.contents)
            WriteFile(log, *c.contents);

        auto result = tollix::LoadConnectionLog(log, c.logNumber);

        const size_t count = c.firstKept == 0 ? 0 : size_t(c.lastKept - c.firstKept + 1);
        ASSERT_EQ(result.Entries.size(), count);
        for (size_t i = 0; i < count; ++i)  // newest first
            EXPECT_EQ(result.Entries[i].Seconds, (c.lastKept - int(i)) * 60) << i;
        EXPECT_EQ(result.DamagedLine, c.damagedLine);
        EXPECT_EQ(result.Rewritten, c.rewritten);
        EXPECT_EQ(result.Error.empty(), c.damagedLine == 0) << result.Error;
        if (c.damagedLine) {
            EXPECT_NE(result.Error.find(std::to_string(c.damagedLine)), std::string::npos) << result.Error;
        }
        EXPECT_EQ(fs::exists(log), c.contents.has_value());
        if (c.contents) {
            EXPECT_EQ(ReadFile(log), c.rewritten ? NumberedLog(c.firstKept, c.lastKept) : *c.contents);
        }
        // No temporary file is left beside the log.
        EXPECT_EQ(
            std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), c.contents ? 1 : 0);
    }
}
