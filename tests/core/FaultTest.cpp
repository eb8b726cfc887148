// Faults the black-box runs cannot reach or cannot pin down exactly: every
// writer of the data folder meeting a full disk, and sums over damaged totals.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "config/ProfileFile.h"
#include "core/ConnectionSession.h"
#include "core/Money.h"
#include "core/SafeFile.h"
#include "core/SessionJournal.h"
#include "core/StatisticsFile.h"
#include "history/ConnectionLog.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using namespace tollix;
using tollix::test::FileSizeLimit;

namespace {

class Folder {
public:
    Folder()
    {
        std::string templ = (fs::temp_directory_path() / "tollix-fault-XXXXXX").string();
        if (!::mkdtemp(templ.data()))
            std::abort();
        path_ = templ;
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

    std::map<std::string, std::string> Contents() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(path_)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files[entry.path().filename().string()] = bytes.str();
        }
        return files;
    }

private:
    fs::path path_;
};

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

ConnectionLogEntry Entry(int seconds)
{
    ConnectionLogEntry e;
    e.ConnectionName = FixName15("Home");
    e.StartTime = *DateTime::FromCivil(2026, 12, 7, 12, 0, 0);
    e.Seconds = seconds;
    e.TelFee = Money::FromRaw(1200);
    e.NetFee = Money::FromRaw(1000);
    e.CallUnits = 1;
    return e;
}

}  // namespace

TEST(FullDisk, EveryWriterKeepsWhatWasStoredAndSaysWhy)
{
    std::string log;
    for (int i = 1; i <= 3; ++i)
        log += "\"Home           \"," + std::to_string(60 * i) + ",#2026-12-07 12:00:00#,0.1,0.12,1\r\n";
    const std::string records(102, '\0');  // three never-used records
    const std::string ini = "[Start Settings]\r\nAuto Hide=0\r\n";

    const struct {
        const char* name;
        const char* file;
        rlim_t limit;
        std::function<bool(const fs::path& folder, std::string* error)> write;
    } cases[] = {
        {"log line appended", "time.txt", log.size() + 5,
         [](const fs::path& d, std::string* error) { return AppendLogEntry(d / "time.txt", Entry(60), error); }},
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
             r.StartDate = *DateTime::FromCivil(2026, 12, 7, 12, 0, 0);
             r.CallUnits = 1;
             return file.Open(error) && file.Put(4, r, error);
         }},
        {"session journal", "session.journal", 40,
         [](const fs::path& d, std::string* error) {
             SessionState s;
             s.SessionStart = *DateTime::FromCivil(2026, 12, 7, 12, 0, 0);
             s.ConnectionName = "Home";
             return WriteSessionJournal(d / "session.journal", s, error);
         }},
        {"setting written", "tollix.ini", ini.size() + 3,
         [](const fs::path& d, std::string* error) {
             ProfileFile file(d / "tollix.ini");
             return file.WriteText("Start Settings", "Play Wave", "-1", error);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        Write(folder.Path() / "time.txt", log);
        Write(folder.Path() / "Price.DB", records);
        Write(folder.Path() / "tollix.ini", ini);
        const auto before = folder.Contents();

        std::string error;
        bool ok = true;
        {
            FileSizeLimit full(c.limit);
            ok = c.write(folder.Path(), &error);
        }
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find((folder.Path() / c.file).string()), std::string::npos) << error;
        EXPECT_NE(error.find(SystemErrorText(EFBIG)), std::string::npos) << error;

        auto after = folder.Contents();
        if (std::string(c.file) == "Price.DB") {
            // Written in place: the records before the new one are intact.
            EXPECT_EQ(after["Price.DB"].substr(0, records.size()), records);
            after["Price.DB"] = records;
        }
        // Nothing else changed, and no temporary file was left behind.
        EXPECT_EQ(after, before);
    }
}

TEST(DamagedTotals, SumsStopAtTheLargestAmountInsteadOfWrapping)
{
    constexpr int64_t kMax = INT64_MAX;
    constexpr int64_t kMin = INT64_MIN;
    const struct {
        int64_t a;
        char op;
        int64_t b;
        int64_t expected;
    } cases[] = {
        {kMax - 500, '+', 1200, kMax},  // a damaged total plus one call unit
        {kMin + 500, '+', -1200, kMin},
        {kMin + 500, '-', 1200, kMin},
        {kMax - 500, '-', -1200, kMax},
        {kMin, '~', 0, kMax},  // negation of the smallest amount
        {kMax / 2 + 1, '*', 2, kMax},
        {kMax / 2 + 1, '*', -2, kMin},
        {kMin, '*', -1, kMax},
        // Ordinary sums are unchanged.
        {1200, '+', 1000, 2200},
        {1200, '-', 2000, -800},
        {-1200, '*', 3, -3600},
    };
    for (const auto& c : cases) {
        const Money a = Money::FromRaw(c.a);
        Money result;
        switch (c.op) {
        case '+': {
            result = a + Money::FromRaw(c.b);
            Money sum = a;
            sum += Money::FromRaw(c.b);
            EXPECT_EQ(sum, result);
            break;
        }
        case '-':
            result = a - Money::FromRaw(c.b);
            break;
        case '~':
            result = -a;
            break;
        default:
            result = a * c.b;
        }
        EXPECT_EQ(result.Raw(), c.expected) << c.a << " " << c.op << " " << c.b;
    }
}

TEST(LinkedDataFiles, RewritesGoThroughTheLinkAndKeepIt)
{
    const std::string log = "\"Home           \",60,#2026-12-07 12:00:00#,0.1,0.12,1\r\n"
                            "\"Home           \",120,#2026-12-07 13:00:00#,0.1,0.12,1\r\n";
    const struct {
        const char* name;
        const char* file;
        std::string before;
        std::function<void(const fs::path& link)> rewrite;
        std::string after;
    } cases[] = {
        {"history trimmed", "time.txt", log,
         [](const fs::path& link) { EXPECT_EQ(LoadConnectionLog(link, 1).Entries.size(), 1u); },
         log.substr(log.find('\n') + 1)},
        {"setting written", "tollix.ini", "[Start Settings]\r\nAuto Hide=0\r\n",
         [](const fs::path& link) { EXPECT_TRUE(ProfileFile(link).WriteText("Start Settings", "Auto Hide", "-1")); },
         "[Start Settings]\r\nAuto Hide=-1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder data, elsewhere;
        const fs::path target = elsewhere.Path() / c.file;
        const fs::path link = data.Path() / c.file;
        Write(target, c.before);
        fs::create_symlink(target, link);
        c.rewrite(link);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(elsewhere.Contents(), (std::map<std::string, std::string>{{c.file, c.after}}));
        EXPECT_EQ(data.Contents().size(), 1u);  // the link, no temporary file
    }
}
