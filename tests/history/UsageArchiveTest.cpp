#include <gtest/gtest.h>

#include <sqlite3.h>

#include "TestSupport.h"
#include "base/Gbk.h"
#include "history/UsageArchive.h"

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

namespace {

ArchivedConnection Live(std::string key, DateTime start, int64_t telRaw)
{
    return {.SessionKey = std::move(key),
        .Start = start,
        .UtcOffsetSeconds = 28800,
        .Seconds = 120,
        .ConnectionName = "宽带连接",
        .TelFee = Money::FromRaw(telRaw),
        .NetFee = Money::FromRaw(3),
        .CallUnits = 2,
        .MinutesCharged = 2,
        .ReceivedBytes = 5'000'000'000,
        .SentBytes = 7,
        .Backend = "NetworkManager"};
}

// A log with a Chinese name, a blank line, a damaged line, a repeated line and
// a start at midnight.
const std::string kLog = Utf8ToGbk("\"中国电信       \",60,#2026-03-01 08:00:00#,0.5,.25,1\r\n"
                                   "\r\n"
                                   "\"Home           \",sixty,#2026-03-01#,0,0,1\r\n"
                                   "\"中国电信       \",60,#2026-03-01 08:00:00#,0.5,.25,1\r\n"
                                   "\"Home           \",1860,#2026-03-02#,2.4,1.1,11\r\n");

}  // namespace

TEST(UsageArchive, StoresEachSessionOnceAndReadsItBack)
{
    TempFolder home;
    const ArchivedConnection a = Live("s1", At(2026, 3, 1, 23, 59, 59), 12345);
    ArchivedConnection b = Live("s2", At(2026, 3, 2), 1);
    b.ReceivedBytes.reset();
    b.Backend.clear();
    {
        auto opened = UsageArchive::OpenForWriting(home.Path());
        ASSERT_TRUE(opened.Archive) << opened.Error;
        ArchivedConnection retry = a;
        retry.TelFee = Money::FromYuan(99);  // a retry of the same session changes nothing
        for (const ArchivedConnection& c : {a, retry, b, a})
            EXPECT_TRUE(opened.Archive->Store(c));
    }
    std::string error;
    auto archive = UsageArchive::OpenReadOnly(home.Path() / "usage.sqlite", &error);
    ASSERT_TRUE(archive) << error;
    EXPECT_EQ(archive->QueryAll(), (std::vector{a, b}));
    EXPECT_EQ(archive->Query(At(2026, 3, 1), At(2026, 3, 2)), (std::vector{a}));
    EXPECT_FALSE(archive->Store(Live("s3", At(2026, 3, 3), 1)));  // read-only means read-only
}

TEST(UsageArchive, NewArchiveTakesOverTimeTxtOnce)
{
    TempFolder home;
    WriteFile(home.Path() / "time.txt", kLog);
    {
        auto opened = UsageArchive::OpenForWriting(home.Path());
        ASSERT_TRUE(opened.Archive) << opened.Error;
        EXPECT_EQ(opened.ImportedLines, 2);
        EXPECT_EQ(opened.SkippedLines, 1);
    }
    // A line logged later is not imported again: the live step stores it.
    const std::string later = kLog + "\"Home           \",60,#2026-03-03#,0,0,1\r\n";
    WriteFile(home.Path() / "time.txt", later);
    auto opened = UsageArchive::OpenForWriting(home.Path());
    ASSERT_TRUE(opened.Archive);
    EXPECT_EQ(opened.ImportedLines, 0);
    ArchivedConnection recovered = Live("s1", At(2026, 3, 2), 1);  // the imported line's own session
    recovered.ConnectionName = "Home";
    EXPECT_TRUE(opened.Archive->Store(recovered));
    auto rows = opened.Archive->QueryAll();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);  // the repeated line is one connection
    const ArchivedConnection& f = (*rows)[0];
    EXPECT_EQ(std::tuple(f.ConnectionName, f.Start, f.TelFee.Raw(), f.NetFee.Raw(), f.CallUnits, f.Imported,
                  f.ReceivedBytes),
        std::tuple("中国电信", At(2026, 3, 1, 8), 2500, 5000, 1, true, std::nullopt));
    EXPECT_EQ((*rows)[1].Seconds, 1860);
    EXPECT_EQ(ReadFile(home.Path() / "time.txt"), later);  // only read
}

TEST(UsageArchive, UnusableFileIsSetAsideOrLeftAlone)
{
    const struct {
        const char* what;
        std::string contents;  // SQL for a database, else the raw bytes
        bool sql;
        bool setAside;
    } cases[] = {
        {"garbage", std::string(5000, 'x'), false, true},
        {"another program's database", "CREATE TABLE t(x);", true, true},
        {"a newer archive", "CREATE TABLE t(x); PRAGMA user_version=99;", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder home;
        const fs::path file = home.Path() / "usage.sqlite";
        WriteFile(home.Path() / "time.txt", kLog);
        if (c.sql) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db, c.contents.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else {
            WriteFile(file, c.contents);
        }
        const std::string before = ReadFile(file);
        auto opened = UsageArchive::OpenForWriting(home.Path());
        EXPECT_EQ(bool(opened.Archive), c.setAside) << opened.Error;
        if (!c.setAside) {
            EXPECT_TRUE(ReadFile(file) == before);
            continue;
        }
        EXPECT_NE(opened.Notice.find("usage.sqlite.damaged"), std::string::npos) << opened.Notice;
        EXPECT_TRUE(ReadFile(home.Path() / "usage.sqlite.damaged") == before);
        EXPECT_EQ(opened.ImportedLines, 2);
        opened.Archive.reset();
        EXPECT_TRUE(UsageArchive::OpenForWriting(home.Path()).Notice.empty());  // told once
    }
}
