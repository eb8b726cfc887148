#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/SafeFile.h"
#include "meter/StatisticsFile.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

namespace {

std::string FromHex(std::string_view hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

UsageRecord Record(
    double start, int64_t tel, int64_t net, int16_t connections, int32_t seconds, int32_t units)
{
    return UsageRecord{
        DateTime::FromDays(start), Money::FromRaw(tel), Money::FromRaw(net), connections, seconds, units};
}

// The file the Windows program wrote for these four records.
const UsageRecord kRecords[4] = {
    Record(36073.5, 11000, 24000, 3, 1860, 11),
    Record(-1.25, -5000, 0, -1, 0x01020304, 100000),
    Record(0, 0, 0, 0, 0, 0),
    Record(45000.25, 123456789, 1, 32767, -60, 2147483647),
};
const char* const kRecordHex[4] = {
    "00000000309de140f82a000000000000c05d0000000000000300440700000b000000",
    "000000000000f4bf78ecffffffffffff0000000000000000ffff04030201a0860100",
    "00000000000000000000000000000000000000000000000000000000000000000000",
    "0000000008f9e54015cd5b07000000000100000000000000ff7fc4ffffffffffff7f",
};

}  // namespace

TEST(StatisticsFile, DocumentedBytesInFilesOfAnySize)
{
    std::string full;
    for (const char* hex : kRecordHex)
        full += FromHex(hex);
    const struct {
        const char* name;
        std::string contents;
        UsageRecord expected[4];
    } cases[] = {
        {"empty", "", {}},
        // A record cut short: its missing bytes read as zeros.
        {"cut in record 2", full.substr(0, 34 + 17), {kRecords[0], Record(-1.25, -5000, 0, 0, 0, 0), {}, {}}},
        {"whole file and more", full + "trailing bytes",
            {kRecords[0], kRecords[1], kRecords[2], kRecords[3]}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path path = dir.Path() / "Price.DB";
        WriteFile(path, c.contents);
        StatisticsFile file(path);
        ASSERT_TRUE(file.Open());
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(file.Get(n), c.expected[n - 1]) << "record " << n;

        // Each put writes the documented bytes in its own place and nothing
        // else: out of order, past a short file's end, before trailing bytes.
        for (int n : {4, 2, 1, 3})
            ASSERT_TRUE(file.Put(n, kRecords[n - 1]));
        EXPECT_EQ(ReadFile(path), full + c.contents.substr(std::min(c.contents.size(), full.size())));
    }
}

TEST(StatisticsFile, RefusesWhatIsNotAFileWithAMessageNamingIt)
{
    const struct {
        const char* name;
        void (*make)(const fs::path&);
        const char* reason;
    } cases[] = {
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "文件夹"},
        {"pipe", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }, "不是普通文件"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path path = dir.Path() / "Price.DB";
        c.make(path);
        StatisticsFile file(path);
        std::string error;
        EXPECT_FALSE(file.Open(&error));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(file.Get(1), UsageRecord{});
        EXPECT_FALSE(file.Put(1, kRecords[0], &error));
    }
}
