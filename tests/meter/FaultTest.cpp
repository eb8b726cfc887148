// Faults the black-box runs cannot reach or cannot pin down exactly: both ways
// of writing the log (append, safe replacement) meeting a full disk, and data
// files behind links. Price.DB, written in place, meets a full disk in the
// fault runs of the whole program.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
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

    const struct {
        const char* name;
        rlim_t limit;
        std::function<bool(const fs::path& folder, std::string* error)> write;
    } cases[] = {
        {"log line appended", log.size() + 5,
            [](const fs::path& d, std::string* error) {
                return AppendLogEntry(
                    d / "time.txt", *ParseLogLine("\"Home\",60,#2026-12-07#,0.1,0.12,1"), error);
            }},
        {"log rewritten with the newest lines", 20,
            [](const fs::path& d, std::string* error) {
                LogLoadResult r = LoadConnectionLog(d / "time.txt", 2);
                *error = r.Error;
                // The user still sees the history, even when it cannot be trimmed.
                return r.Entries.size() == 2 && r.Error.empty();
            }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder("tollix-fault");
        WriteFile(folder.Path() / "time.txt", log);
        const Files before = FolderContents(folder.Path());

        // A disk full from c.limit on, for this process: writes past it fail
        // with EFBIG instead of raising SIGXFSZ.
        rlimit normal{};
        ::getrlimit(RLIMIT_FSIZE, &normal);
        rlimit full = normal;
        full.rlim_cur = c.limit;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &full);
        std::string error;
        const bool ok = c.write(folder.Path(), &error);
        ::setrlimit(RLIMIT_FSIZE, &normal);
        std::signal(SIGXFSZ, handler);
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find((folder.Path() / "time.txt").string()), std::string::npos) << error;
        EXPECT_NE(error.find(SystemErrorText(EFBIG)), std::string::npos) << error;

        // Nothing changed, and no temporary file was left behind.
        EXPECT_EQ(FolderContents(folder.Path()), before);
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
