#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Gbk.h"
#include "history/HistoryExport.h"

using namespace tollix;
using tollix::test::At;

namespace {

ConnectionLogEntry Entry(const std::string& name, const char* net, const char* tel, int32_t seconds = 60)
{
    return ConnectionLogEntry{name, At(2024, 5, 15, 9, 5, 7), seconds, *ParseMoney(tel), *ParseMoney(net), 1};
}

const std::string kHeader
    = "序号,连接名称,开始时间,用时(秒),上网费(元),电话费(元),总费用(元),接收字节,发送字节\r\n";

TEST(HistoryExportTest, FormatsOneLinePerEntryAndTotals)
{
    const struct {
        const char* what;
        std::vector<ConnectionLogEntry> entries;
        std::vector<LinkBytes> bytes;
        CsvEncoding encoding;
        std::string expected;
    } cases[] = {
        {"fees with '.', whole seconds, known bytes summed",
            {Entry("Home", "2.4", "1.1", 1860), Entry("Work", "0.0667", "-3")}, {{1048576, 2048}, {10, 20}},
            CsvEncoding::Utf8WithBom,
            "\xEF\xBB\xBF" + kHeader + "1,Home,2024-05-15 09:05:07,1860,2.4,1.1,3.5,1048576,2048\r\n"
                + "2,Work,2024-05-15 09:05:07,60,0.0667,-3,-2.9333,10,20\r\n"
                + "合计,,,1920,2.4667,-1.9,0.5667,1048586,2068\r\n"},
        {"an unknown count leaves its cell and the total empty", {Entry("A", "1", "0"), Entry("B", "1", "0")},
            {{5, std::nullopt}}, CsvEncoding::Utf8WithBom,
            "\xEF\xBB\xBF" + kHeader
                + "1,A,2024-05-15 09:05:07,60,1,0,1,5,\r\n2,B,2024-05-15 09:05:07,60,1,0,1,,\r\n"
                + "合计,,,120,2,0,2,,\r\n"},
        {"commas, quotes and formulas in names",
            {Entry("a,b", "0", "0"), Entry("say \"hi\"", "0", "0"), Entry("=1+2", "0", "0")}, {},
            CsvEncoding::Utf8WithBom,
            "\xEF\xBB\xBF" + kHeader + "1,\"a,b\",2024-05-15 09:05:07,60,0,0,0,,\r\n"
                + "2,\"say \"\"hi\"\"\",2024-05-15 09:05:07,60,0,0,0,,\r\n3,'=1+2,2024-05-15 "
                  "09:05:07,60,0,0,0,,\r\n"
                + "合计,,,180,0,0,0,,\r\n"},
        {"GBK without a BOM", {Entry("宽带", "1", "0")}, {}, CsvEncoding::Gbk,
            Utf8ToGbk(kHeader + "1,宽带,2024-05-15 09:05:07,60,1,0,1,,\r\n合计,,,60,1,0,1,,\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HistoryCsv(c.entries, c.bytes, c.encoding), c.expected) << c.what;
}

TEST(HistoryExportTest, BytesComeFromTheArchivedConnectionWithTheSameStartAndName)
{
    auto archived = [](const std::string& name, DateTime start, int64_t received) {
        ArchivedConnection c;
        c.ConnectionName = name;
        c.Start = start;
        c.ReceivedBytes = received;
        return c;
    };
    const DateTime start = At(2024, 5, 15, 9, 5, 7);
    const std::vector<ArchivedConnection> archive{archived("Home", start, 1), archived("Work", start, 2),
        archived("A very long connection name", start.AddSeconds(60), 3)};
    const struct {
        std::string name;
        DateTime start;
        std::optional<int64_t> received;
    } cases[] = {
        {"Work", start, 2}, {"Home", start.AddSeconds(1), std::nullopt},
        {"A very long con", start.AddSeconds(60), 3},  // the log keeps 15 characters
    };
    for (const auto& c : cases) {
        const ConnectionLogEntry e{c.name, c.start, 60, {}, {}, 1};
        EXPECT_EQ(ArchivedBytes({e}, archive).at(0).Received, c.received) << c.name;
    }
}

}  // namespace
