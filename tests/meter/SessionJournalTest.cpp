#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "meter/SessionFixture.h"
#include "meter/SessionJournal.h"

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

using JournalFixture = SessionFixture;

// A session the power cut is recorded at the next start, as far as its last
// journal entry; which periods are over by then is the statistics' own rule.
TEST_F(JournalFixture, CrashedSessionIsRecoveredFromItsLastJournalEntry)
{
    Start(At(2026, 12, 7, 12, 0, 1));
    Connected(130);  // the journal follows each minute, not only each call unit
    EXPECT_EQ(ReadSessionJournal(program_->JournalPath)->Open->SessionSeconds, 120);
    Connected(70);  // then the power fails; the last journal entry is at 180 s
    RecoveryResult result = RecoverOpenSession(Load(At(2026, 12, 7, 14, 0, 0)), clock_);
    ASSERT_TRUE(result.Recovered) << result.Error;
    EXPECT_NE(result.Report.find("Home"), std::string::npos);
    const auto& r = program_->Stats.Records;
    for (Period p : {Today, Week, Month, Total})  // the second unit and the fourth minute began at 180 s
        EXPECT_EQ(r[p], (UsageRecord{r[p].StartDate, Money::FromRaw(2400), Money::FromRaw(4000), 1, 180, 2}))
            << p;
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].StartTime, At(2026, 12, 7, 12, 0, 1)) << "kept to the second";
}

// A journal is trusted only whole: its own first line, every line a key and
// value given once, every number nothing but digits, the start a real date, a
// name, and no count below zero.
TEST_F(JournalFixture, DamagedJournalIsSetAsideNotTrusted)
{
    // The previous version's journal, with values of the test's choosing.
    auto v1
        = [](const char* start, const char* seconds, const char* units, const char* name = "name=Home\n") {
              return std::string("tollix-session 1\nstart=") + start + "\nseconds=" + seconds
                  + "\nunits=" + units + "\nminutes=4\ntariff=1\ntelfee=0\nnetfee=0\n" + name;
          };
    const std::string good = v1("46363.5", "200", "2");
    Start(At(2026, 12, 7, 12, 0, 0));
    const fs::path journal = program_->JournalPath, aside = journal.string() + ".damaged";
    ASSERT_TRUE(session_->Tick(true, "Home").Started);  // this version's journal
    const std::string current = ReadFile(journal);
    const std::string bad[] = {"tollix-session 9" + current.substr(current.find('\n')),
        "tollix-session 2\nrecords=00\n", "tollix-session 2\nclosed=k\t1\n",
        good + "a line without a value\n", good + "units=2\n", v1("46363.5", "-5", "2"),
        v1("46363.5", "200", "2x"), v1("nan", "200", "2"), v1("46363.5", "200", "2", "")};
    for (const auto& text : bad) {
        WriteFile(journal, text);
        RecoveryResult result = RecoverOpenSession(Load(clock_.Now()), clock_);
        EXPECT_FALSE(result.Recovered) << text;
        EXPECT_FALSE(result.Error.empty()) << text;
        EXPECT_TRUE(fs::remove(aside));
        EXPECT_FALSE(fs::exists(program_->LogPath));
    }
    for (const std::string& text : {good, current}) {
        WriteFile(journal, text);
        EXPECT_TRUE(RecoverOpenSession(Load(clock_.Now()), clock_).Recovered) << text;
    }
}

// A journal written between two whole minutes: the statistics and the log get
// the time rounded up to the minute, the log its call units for that time, and
// the month follows the user's reset day.
TEST_F(JournalFixture, RecoveredSessionIsRoundedAndCountedInItsStatisticsMonth)
{
    Start(At(2026, 11, 20, 9, 0, 0), "[Reset]\r\nMonth=15\r\n");  // every period starts on 20 November
    SessionState s;
    s.SessionStart = At(2026, 12, 10, 12, 0, 0);  // still November's statistics month
    s.SessionSeconds = 130;
    s.UnitsCharged = 1;
    s.MinutesCharged = 3;
    s.SessionTelFee = Money::FromRaw(1200);
    s.SessionNetFee = Money::FromRaw(3000);
    s.ConnectionName = "Home";
    ASSERT_TRUE(WriteSessionJournal(program_->JournalPath, Journal{std::nullopt, s}));

    ASSERT_TRUE(RecoverOpenSession(Load(At(2026, 12, 10, 14, 0, 0)), clock_).Recovered);
    const auto& r = program_->Stats.Records;
    EXPECT_EQ(r[Today].Connections + r[Week].Connections, 0) << "the day and week of 20 November are over";
    for (Period p : {Month, Total}) {
        EXPECT_EQ(r[p], (UsageRecord{r[p].StartDate, Money::FromRaw(1200), Money::FromRaw(3000), 1, 180, 1}))
            << p;
        EXPECT_EQ(program_->Stats.RunningNetFee[p], Money::FromRaw(3000)) << p;
    }
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(FormatLogLine(Log()[0]), "\"Home           \",180,#2026-12-10 12:00:00#,0.3,0.12,2");
}

// Totals a step from their ends, and a journal at the ends of every range:
// each sum stops at its end instead of wrapping.
TEST_F(JournalFixture, HugeJournalValuesStopAtTheEndsOfTheirRange)
{
    Start(At(2026, 12, 7, 13, 0, 0));
    const UsageRecord nearEnds{At(2026, 1, 1), Money::FromRaw(INT64_MAX - 1), Money::FromRaw(INT64_MIN + 1),
        INT16_MAX, INT32_MAX - 1, INT32_MAX - 1};
    ASSERT_TRUE(program_->StatsFile.Open() && program_->StatsFile.Put(4, nearEnds));
    WriteFile(program_->JournalPath,
        "tollix-session 1\nstart=46363.5\nseconds=2147483647\nunits=2147483647\nminutes=1\ntariff=0\n"
        "telfee=9223372036854775807\nnetfee=-9223372036854775808\nname=Home\n");
    RecoveryResult result = RecoverOpenSession(Load(clock_.Now()), clock_);
    ASSERT_TRUE(result.Recovered) << result.Error;
    const UsageRecord& t = program_->Stats.Records[Total];
    EXPECT_EQ(t,
        (UsageRecord{t.StartDate, Money::FromRaw(INT64_MAX), Money::FromRaw(INT64_MIN), INT16_MAX, INT32_MAX,
            INT32_MAX}));
}

// Everything an end settles, written and read back: an ended connection
// waiting to be written and the session open meanwhile.
TEST(SessionJournal, KeepsSettledEndsBesideTheOpenSession)
{
    Journal journal{PendingCommit{}, SessionState{}};
    for (int i = 0; i < 4; ++i)
        journal.Closing->Records[size_t(i)] = UsageRecord{
            At(2026, 12, i + 1, 8), Money::FromRaw(12345 + i), Money::FromRaw(-7), int16_t(i), 60 * i, i};
    ClosedConnection c;
    c.SessionKey = NewSessionKey();
    c.Start = At(2026, 12, 7, 12, 0, 1);
    c.UtcOffsetSeconds = 28800;
    c.Seconds = 120;
    c.Name = "名字\twith a tab";
    c.TelFee = Money::FromRaw(2400);
    c.NetFee = Money::FromRaw(2000);
    c.CallUnits = 1;
    c.Minutes = 2;
    c.Log = *ParseLogLine("\"名字\twith a tab\",120,#2026-12-07 12:00:01#,0.2,0.24,1");
    c.ReceivedBytes = 5000000000;
    c.Backend = "pppd";
    journal.Closing->Connections.push_back(c);
    journal.Open->SessionKey = "k";
    journal.Open->SteadyStartMillis = 123456789;
    journal.Open->SentBytes = 42;
    TempFolder dir;
    ASSERT_TRUE(WriteSessionJournal(dir.Path() / "j", journal));
    auto read = ReadSessionJournal(dir.Path() / "j");
    ASSERT_TRUE(read && read->Closing && read->Open);
    EXPECT_EQ(read->Closing->Records, journal.Closing->Records);
    journal.Closing->Connections[0].Name = "名字 with a tab";  // one line per connection
    EXPECT_EQ(read->Closing->Connections, journal.Closing->Connections);
    EXPECT_EQ(read->Open->SteadyStartMillis, 123456789);
    EXPECT_EQ(read->Open->SentBytes, 42u);
    EXPECT_EQ(read->Open->ReceivedBytes, std::nullopt);
}

// The program killed after each write of the end of a session, and after each
// write of the recovery of a crashed one: once the next start has recovered,
// Price.DB, time.txt and the archive hold the connection exactly once, and
// the four periods agree.
TEST_F(JournalFixture, KilledAtEachStepCountsTheConnectionOnce)
{
    // The real archive, opened afresh by each process as the program does.
    auto archiveTo = [this](const ClosedConnection& c, std::string* error) {
        auto opened = UsageArchive::OpenForWriting(Dir());
        return opened.Archive && opened.Archive->Store(ToArchived(c, "pppd"), error);
    };
    for (bool inRecovery : {false, true}) {
        for (int step = 1; step <= 7; ++step) {
            SCOPED_TRACE(std::string(inRecovery ? "recovery" : "end") + ", step " + std::to_string(step));
            Start(At(2026, 12, 7, 12, 0, 0));
            ASSERT_TRUE(UsageArchive::OpenForWriting(Dir()).Archive);  // made at start, before the session
            program_->ArchiveConnection = archiveTo;
            // The counters unreadable for the last ticks: the last ones read are kept.
            for (uint64_t i = 0; i < 200; ++i, clock_.Advance(1))
                session_->Tick(true, "Home",
                    {"ppp0", "NetworkManager /ac/1 ppp0#7 boot",
                        i < 150 ? std::optional(i * 1000) : std::nullopt, 77});
            fflush(nullptr);
            const pid_t child = fork();
            if (child == 0) {
                static int stopAt = 0;
                stopAt = step;
                CommitStepHook = [](int at) {
                    if (at == stopAt)
                        _exit(0);
                };
                if (inRecovery) {
                    Load(clock_.Now()).ArchiveConnection = archiveTo;
                    RecoverOpenSession(*program_, clock_);
                } else {
                    Drop();
                }
                _exit(1);  // the step was never reached
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

            Load(clock_.Now().AddSeconds(60)).ArchiveConnection = archiveTo;
            EXPECT_EQ(RecoverOpenSession(*program_, clock_).Error, "");
            EXPECT_FALSE(fs::exists(program_->JournalPath));
            Open();
            const auto& r = program_->Stats.Records;
            for (Period p : {Today, Week, Month, Total})
                EXPECT_EQ(r[p],
                    (UsageRecord{r[p].StartDate, r[Total].TelFee, r[Total].NetFee, 1, r[Total].Seconds,
                        r[Total].CallUnits}))
                    << p;
            ASSERT_EQ(Log().size(), 1u);
            EXPECT_EQ(Log()[0].Seconds, r[Total].Seconds);
            EXPECT_EQ(Log()[0].TelFee, r[Total].TelFee);
            // Told again is fine, as long as it is stored once.
            auto archived = UsageArchive::OpenForWriting(Dir()).Archive->QueryAll();
            ASSERT_TRUE(archived && archived->size() == 1u);
            EXPECT_EQ((*archived)[0].Seconds, r[Total].Seconds);
            EXPECT_EQ((*archived)[0].TotalFee(), r[Total].TelFee + r[Total].NetFee);
            EXPECT_EQ((*archived)[0].ReceivedBytes, 149000);
            EXPECT_EQ((*archived)[0].SentBytes, 77);
            EXPECT_EQ((*archived)[0].Backend, "NetworkManager");
        }
    }
}

// The program restarted after a crash: the same link, still up, goes on as the
// same connection from its first start; anything else is a connection that
// ended with the crash.
TEST_F(JournalFixture, RestartWhileTheLinkIsStillUp)
{
    const struct {
        const char* what;
        std::string linkNow;
        bool sameBoot;
        bool resumed;
    } cases[] = {
        {"same link", "ppp0 4242", true, true},
        {"another pppd on the interface", "ppp0 4343", true, false},
        {"same names after a reboot", "ppp0 4242", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DateTime start = At(2026, 12, 7, 12, 0, 0);
        Start(start);
        program_->BootId = "boot-1";
        Connected(100, "Home", {"ppp0", "ppp0 4242", {}, {}});
        clock_.Advance(20);  // the program is down for a while; the line is not
        Load(clock_.Now()).BootId = c.sameBoot ? "boot-1" : "boot-2";
        RecoveryResult recovery = RecoverOpenSession(*program_, clock_, c.linkNow);
        Open();
        EXPECT_EQ(session_->Adopt(recovery), c.resumed);
        Connected(60, "Home", {"ppp0", c.linkNow, {}, {}});
        Drop();
        const auto& total = program_->Stats.Records[Total];
        ASSERT_EQ(Log().size(), c.resumed ? 1u : 2u);
        if (!c.resumed)
            continue;
        const ConnectionLogEntry log = Log()[0];
        EXPECT_EQ(log.StartTime, start);
        EXPECT_EQ(log.Seconds, 180);  // 179 s from the first start, rounded up
        EXPECT_EQ(
            total, (UsageRecord{total.StartDate, Money::FromRaw(1200), Money::FromRaw(3000), 1, 180, 1}));
    }
}
