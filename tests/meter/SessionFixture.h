#pragma once

// A data folder, the program started on it and its connection session, ticked
// by a clock the test moves.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ManualClock.h"
#include "TestSupport.h"
#include "history/ConnectionLog.h"
#include "meter/ConnectionSession.h"
#include "meter/Program.h"

namespace tollix::test {

// The files of a folder, name to bytes.
inline std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadFile(entry.path());
    return files;
}

class SessionFixture : public ::testing::Test {
protected:
    // Writes tollix.ini into a fresh data folder, then starts the program at `start`.
    void Start(DateTime start, const std::string& ini = "")
    {
        session_.reset();
        program_.reset();
        folder_ = std::make_unique<TempFolder>("tollix-session");
        WriteFile(Dir() / "tollix.ini", ini);
        Load(start);
        Open();
    }
    // The program started again on the same folder at `now`, its statistics not
    // yet opened: a session that was open when the last run died is still to recover.
    Program& Load(DateTime now)
    {
        session_.reset();
        clock_.Set(now);
        program_ = std::make_unique<Program>(Dir());
        LoadSettings(*program_, {"Home", "Work", "Other"}, now);
        return *program_;
    }
    void Open()
    {
        std::string error;
        ASSERT_TRUE(OpenStatistics(*program_, clock_.Now(), &error)) << error;
        session_ = std::make_unique<ConnectionSession>(*program_, clock_);
    }

    // Ticks once a second while connected for `seconds` more seconds (the first
    // tick at the current moment), then leaves the clock one second on.
    void Connected(int seconds, const std::string& name = "Home", const LinkInfo& link = {})
    {
        for (int i = 0; i < seconds; ++i) {
            session_->Tick(true, name, link);
            clock_.Advance(1);
        }
    }
    TickResult Drop() { return session_->Tick(false, ""); }

    std::vector<ConnectionLogEntry> Log() { return LoadConnectionLog(Dir() / "time.txt", 1000).Entries; }
    UsageRecord Stored(int n)
    {
        StatisticsFile file(Dir() / "Price.DB");
        EXPECT_TRUE(file.Open());
        return file.Get(n);
    }
    std::filesystem::path Dir() const { return folder_->Path(); }

    std::unique_ptr<TempFolder> folder_;
    ManualClock clock_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<ConnectionSession> session_;
};

}  // namespace tollix::test
