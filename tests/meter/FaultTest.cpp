// Faults the black-box runs cannot reach or cannot pin down exactly: each way
// of writing the data folder (append, safe replacement, in place) meeting a
// full disk, and data files behind links.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>

#include "base/SafeFile.h"
#include "history/ConnectionLog.h"
#include "meter/SessionFixture.h"

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

using Files = std::map<std::string, std::string>;

TEST(FullDisk, EveryWriterKeepsWhatWasStoredAndSaysWhy)
{
    std::string log;
    for (int i = 1; i <= 3; ++i)
        log += "\"Home           \"," + std::to_string(60 * i) + ",#2026-12-07 12:00:00#,0.1,0.12,1\r\n";
    const std::string records(102, '\0');  // three never-used records

    const struct {
        const char* name;
        const char* file;
        rlim_t limit;
        std::function<bool(const fs::path& folder, std::string* error)> write;
    } cases[] = {
        {"log line appended", "time.txt", log.size() + 5,
            [](const fs::path& d, std::string* error) {
                return AppendLogEntry(
                    d / "time.txt", *ParseLogLine("\"Home\",60,#2026-12-07#,0.1,0.12,1"), error);
            }},
        {"log rewritten with the newest lines", "time.txt", 20,
            [](const fs::path& d, std::string* error) {
                LogLoadResult r = LoadConnectionLog(d / "time.txt", 2);
                *error = r.Error;
                // The user still sees the history, even when it cannot be trimmed.
                return r.Entries.size() == 2 && r.Error.empty();
            }},
        {"statistics record added", "Price.DB", records.size() + 10,
            [](const fs::path& d, std::string* error) {
                StatisticsFile file(d / "Price.DB");
                UsageRecord r;
                r.StartDate = At(2026, 12, 7, 12);
                r.CallUnits = 1;
                return file.Open(error) && file.Put(4, r, error);
            }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder("tollix-fault");
        WriteFile(folder.Path() / "time.txt", log);
        WriteFile(folder.Path() / "Price.DB", records);
        const Files before = FolderContents(folder.Path());

        std::string error;
        bool ok = true;
        {
            FileSizeLimit full(c.limit);
            ok = c.write(folder.Path(), &error);
        }
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find((folder.Path() / c.file).string()), std::string::npos) << error;
        EXPECT_NE(error.find(SystemErrorText(EFBIG)), std::string::npos) << error;

        Files after = FolderContents(folder.Path());
        if (std::string(c.file) == "Price.DB") {
            // Written in place: the records before the new one are intact.
            EXPECT_EQ(after["Price.DB"].substr(0, records.size()), records);
            after["Price.DB"] = records;
        }
        // Nothing else changed, and no temporary file was left behind.
        EXPECT_EQ(after, before);
    }
}

// The safe replacement every rewriter uses follows a link to the real file.
TEST(LinkedDataFiles, RewritesGoThroughTheLinkAndKeepIt)
{
    const std::string log = "\"Home           \",60,#2026-12-07 12:00:00#,0.1,0.12,1\r\n"
                            "\"Home           \",120,#2026-12-07 13:00:00#,0.1,0.12,1\r\n";
    TempFolder data("tollix-fault"), elsewhere("tollix-fault");
    const fs::path link = data.Path() / "time.txt";
    WriteFile(elsewhere.Path() / "time.txt", log);
    fs::create_symlink(elsewhere.Path() / "time.txt", link);
    EXPECT_EQ(LoadConnectionLog(link, 1).Entries.size(), 1u);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FolderContents(elsewhere.Path()), (Files{{"time.txt", log.substr(log.find('\n') + 1)}}));
    EXPECT_EQ(FolderContents(data.Path()).size(), 1u);  // the link, no temporary file
}
