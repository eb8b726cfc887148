#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/SafeFile.h"
#include "meter/StatisticsFile.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>

namespace fs = std::filesystem;
using tollix::DateTime;
using tollix::Money;
using tollix::StatisticsFile;
using tollix::UsageRecord;
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

TEST(StatisticsFile, FourRecordsAreTheDocumentedBytes)
{
    TempFolder dir;
    const fs::path path = dir.Path() / "Price.DB";
    {
        StatisticsFile file(path);
        ASSERT_TRUE(file.Open());
        for (int n = 4; n >= 1; --n)  // out of order: each goes to its own place
            ASSERT_TRUE(file.Put(n, kRecords[n - 1]));
    }
    std::string expected;
    for (const char* hex : kRecordHex)
        expected += FromHex(hex);
    EXPECT_EQ(ReadFile(path), expected);  // read back by the "whole file" row below
}

TEST(StatisticsFile, OddFileSizesAndContents)
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

        // A put changes its own 34 bytes and nothing else, whatever the size.
        ASSERT_TRUE(file.Put(2, kRecords[3]));
        std::string after = ReadFile(path);
        std::string want = c.contents;
        if (want.size() < 68)
            want.resize(68, '\0');
        want.replace(34, 34, FromHex(kRecordHex[3]));
        EXPECT_EQ(after, want);
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
        {"missing folder", [](const fs::path&) {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        fs::path path = dir.Path() / "Price.DB";
        c.make(path);
        if (std::string(c.name) == "missing folder")
            path = dir.Path() / "gone" / "Price.DB";
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
