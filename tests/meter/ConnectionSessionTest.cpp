#include <gtest/gtest.h>

#include <filesystem>

#include "meter/SessionFixture.h"

namespace fs = std::filesystem;
using namespace tollix;
using tollix::test::At;
using tollix::test::SessionFixture;

TEST_F(SessionFixture, ChargesAtEachBeginningAndRoundsUpTheStoredTime)
{
    const struct {
        int connectedTicks;  // ticks seen connected, one a second from 0
        int units, minutes, storedSeconds, loggedUnits;
    } cases[] = {
        {61, 1, 2, 60, 1},    // last tick at 60 s: two minutes charged, 60 s stored
        {180, 1, 3, 180, 2},  // 179 s: one unit live, the log's count follows the rounded time
        {181, 2, 4, 180, 2},
        {1, 1, 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connectedTicks);
        Start(At(2026, 12, 7, 12, 0, 0));
        Connected(c.connectedTicks);
        EXPECT_EQ(session_->State().UnitsCharged, c.units);
        EXPECT_EQ(session_->State().MinutesCharged, c.minutes);
        if (c.connectedTicks == 1) {
            EXPECT_EQ(session_->TelFeeLabel(), "0.12元  (现在0.12元/个电话)");
            EXPECT_EQ(session_->TotalPriceLabel(), "0.22 元");
        }
        EXPECT_EQ(Drop().Error, "");
        auto log = Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].ConnectionName, "Home           ");
        EXPECT_EQ(log[0].Seconds, c.storedSeconds);
        EXPECT_EQ(log[0].CallUnits, c.loggedUnits);
        EXPECT_EQ(session_->LastLogEntry(), log[0]) << "the line the window shows";
        const UsageRecord expected{At(2026, 12, 7, 12, 0, 0), Money::FromRaw(1200 * c.units),
            Money::FromRaw(1000 * c.minutes), 1, c.storedSeconds, c.units};
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(Stored(n), expected) << n;
    }
}

// The phonebook may be read again, and prices edited, while a line is up: the
// next unit and minute are priced by what is there now, and with no entry left
// a minute costs nothing rather than look up a tariff that is not there.
TEST_F(SessionFixture, TariffsChangedDuringASession)
{
    Start(At(2026, 12, 7, 12, 0, 0), "[Telephone Fee]\r\nTel Unit=60\r\n");
    Connected(30);
    program_->Tariffs.Connections.clear();
    program_->Tariffs.Telephone.FullFee = Money::FromRaw(5000);
    Connected(60);
    EXPECT_EQ(session_->State().MinutesCharged, 2);
    EXPECT_EQ(session_->State().SessionNetFee, Money::FromRaw(1000));
    EXPECT_EQ(session_->State().SessionTelFee, Money::FromRaw(1200 + 5000));
}

// A reset weekday edited while the meter runs takes effect at the next start:
// until then the weeks keep the day they started with. Days still roll over
// as each session opens.
TEST_F(SessionFixture, EditedResetWeekdayWaitsForTheNextStart)
{
    Start(At(2026, 12, 7, 12, 0, 0), "[Reset]\r\nWeek=1\r\n");  // weeks from Monday 7 December
    Connected(10);
    Drop();
    program_->Reset.ResetWeekDay = 3;  // Wednesday
    clock_.Set(At(2026, 12, 9, 12, 0, 0));
    Connected(10);
    Drop();
    EXPECT_EQ(Stored(2).Connections, 2);
    EXPECT_EQ(Stored(1).Connections, 1);
}

TEST_F(SessionFixture, ConnectDelayIsCountedAndShown)
{
    Start(At(2026, 12, 7, 12, 0, 0), "[ProAdd]\r\nProAdd Seconds=30\r\n");
    session_->Tick(true, "Home");
    EXPECT_EQ(session_->DurationLabel(), "30秒 (1个电话)");
    EXPECT_EQ(session_->StartTimeText(), "2026年12月07日11点59分");
    Connected(31);
    Drop();
    EXPECT_EQ(Log()[0].StartTime, At(2026, 12, 7, 11, 59, 30));
    // A negative delay from a hand-edited file counts as none.
    Start(At(2026, 12, 7, 12, 0, 0), "[ProAdd]\r\nProAdd Seconds=-30\r\n");
    session_->Tick(true, "Home");
    EXPECT_EQ(session_->State().SessionStart, At(2026, 12, 7, 12, 0, 0));
}

TEST_F(SessionFixture, NameThatResolvesLaterRepricesTheFirstMinutesOnly)
{
    const std::string ini = "[Work]\r\nFull Fee=300\r\n";
    // Seen as "Other" first, named "Work" before the second minute: the first minute is
    // priced again at Work's 0.3 and the session goes on under it.
    Start(At(2026, 12, 7, 12, 0, 0), ini);
    Connected(60, "Other");
    Connected(1, "Work");
    EXPECT_EQ(session_->State().SessionNetFee, Money::FromRaw(6000));
    EXPECT_EQ(program_->Stats.RunningNetFee[Today], Money::FromRaw(6000));
    Drop();
    EXPECT_EQ(Log()[0].NetFee, Money::FromRaw(6000));

    // A change first seen when the sixth minute begins is ignored.
    Start(At(2026, 12, 7, 13, 0, 0), ini);
    Connected(300, "Other");
    Connected(1, "Work");
    EXPECT_EQ(session_->State().SessionNetFee, Money::FromRaw(6000));
}

TEST_F(SessionFixture, MissedTicksAreCaughtUpAtTheirOwnPrices)
{
    // Daily discount 21:00-07:00 on both tariffs. The machine sleeps from 20:58 to 21:08:
    // units and minutes that began before 21:00 cost the full price, later ones the discount.
    const std::string ini = "[Telephone Fee]\r\nEveryday Flag=1\r\nTel Unit=60\r\n"
                            "[Home]\r\nEveryday Flag=1\r\n";
    Start(At(2026, 12, 7, 20, 58, 0), ini);
    session_->Tick(true, "Home");
    clock_.Advance(600);
    session_->Tick(true, "Home");
    EXPECT_EQ(session_->State().UnitsCharged, 11);
    EXPECT_EQ(session_->State().MinutesCharged, 11);
    // 20:58 and 20:59 at full price, 21:00 ... 21:08 at the discount.
    EXPECT_EQ(session_->State().SessionTelFee, Money::FromRaw(2 * 1200 + 9 * 600));
    EXPECT_EQ(session_->State().SessionNetFee, Money::FromRaw(2 * 1000 + 9 * 500));
}

// Rated hours: a minute is free while the month's time at its beginning is
// within the allowance, judged minute by minute also when a stall is caught up.
TEST_F(SessionFixture, RatedHoursChargeOnlyTheMinutesPastTheAllowance)
{
    Start(At(2026, 12, 7, 12, 0, 0), "[Home]\r\nFee Type=2\r\nFix Hour=1\r\n");
    program_->Stats.Records[Month].Seconds = 3510;  // a minute and a half of the hour left
    program_->Stats.Records[Week].Seconds = 5000;
    session_->Tick(true, "Home");
    clock_.Advance(150);  // the machine stalls; minutes two and three begin in one tick
    session_->Tick(true, "Home");
    EXPECT_EQ(session_->State().MinutesCharged, 3);
    EXPECT_TRUE(program_->FeeTypeTwo);
    EXPECT_EQ(session_->State().SessionNetFee, Money::FromRaw(1000));
    EXPECT_EQ(session_->NetFeeLabel(), "0.1元  (现在0.1元/分钟)");
}

// Only whole seconds of the steady clock count: ticks are never exactly a
// second apart, and a tick a moment before the minute is still in it.
TEST_F(SessionFixture, WallClockChangesNeitherLoseNorInventTime)
{
    Start(At(2026, 12, 7, 12, 0, 0));
    Connected(100);
    clock_.Set(At(2026, 12, 7, 11, 0, 0));  // clock set back an hour
    clock_.AdvanceMillis(999);
    Connected(20);
    EXPECT_EQ(session_->State().SessionSeconds, 119);
    EXPECT_EQ(program_->Stats.Records[Today].Seconds, 119) << "the live totals follow the steady clock too";
    EXPECT_EQ(session_->State().MinutesCharged, 2);
    clock_.Set(At(2026, 12, 8, 12, 0, 0));  // and forward a day
    Connected(1);
    EXPECT_EQ(session_->State().SessionSeconds, 120);
    EXPECT_EQ(session_->State().MinutesCharged, 3);
}

// The user quits during a connection: it was never wanted on record.
TEST_F(SessionFixture, DiscardedSessionIsNotRecorded)
{
    Start(At(2026, 12, 7, 12, 0, 0));
    Connected(90);
    session_->Discard();
    EXPECT_TRUE(session_->Idle());
    EXPECT_FALSE(fs::exists(program_->JournalPath));
    EXPECT_EQ(Stored(4).Connections, 0);
}

// An end that cannot be written stays in the journal, is tried again on the
// following ticks, and at quit the user learns what is unwritten and where.
// time.txt fails after Price.DB is written, so a retry must not count it twice.
TEST_F(SessionFixture, EndThatCouldNotBeWrittenIsKeptAndWrittenLater)
{
    for (bool quit : {false, true}) {  // the user quits while it is unwritten
        SCOPED_TRACE(quit);
        Start(At(2026, 12, 7, 12, 0, 0));
        Connected(30);
        const fs::path file = Dir() / "time.txt";
        fs::create_directory(file);  // cannot be opened as a file
        TickResult end = Drop();
        EXPECT_TRUE(end.Ended);
        EXPECT_NE(end.Error.find(file.string()), std::string::npos) << end.Error;
        EXPECT_TRUE(session_->HasUnwritten());
        EXPECT_TRUE(fs::exists(program_->JournalPath));
        EXPECT_NE(session_->UnwrittenText().find(file.string()), std::string::npos);
        if (quit) {
            Connected(30);  // quit during the next connection, which is dropped
            session_->Discard();
            EXPECT_TRUE(session_->HasUnwritten());
            fs::remove(file);
            EXPECT_TRUE(RecoverOpenSession(Load(clock_.Now()), clock_).Recovered)
                << "the next start writes it";
        } else {
            EXPECT_EQ(Drop().Error, "") << "tried again quietly";
            fs::remove(file);
            Drop();
            EXPECT_FALSE(session_->HasUnwritten());
            EXPECT_FALSE(fs::exists(program_->JournalPath));
        }
        EXPECT_EQ(Stored(4).Connections, 1);
        EXPECT_EQ(Stored(4).Seconds, 60);
        EXPECT_EQ(Log().size(), 1u);
    }
}

// Said once a session: a journal that cannot be written does not stop the
// meter, and the user is not told again every minute. Its end waits for the
// journal: a data file written without it could count the connection twice.
TEST_F(SessionFixture, JournalThatCannotBeWrittenIsReportedOnce)
{
    Start(At(2026, 12, 7, 12, 0, 0));
    const fs::path journal = program_->JournalPath;
    program_->JournalPath = Dir() / "missing folder" / "session.journal";
    EXPECT_NE(session_->Tick(true, "Home").Error.find("临时记录"), std::string::npos);
    clock_.Advance(60);
    EXPECT_EQ(session_->Tick(true, "Home").Error, "");
    EXPECT_EQ(session_->State().MinutesCharged, 2);
    EXPECT_NE(Drop().Error, "");
    EXPECT_EQ(Stored(4).Connections, 0);
    program_->JournalPath = journal;
    Drop();
    EXPECT_EQ(Stored(4).Connections, 1);
    EXPECT_FALSE(fs::exists(journal));
}

TEST_F(SessionFixture, CountersOfADamagedRecordStopAtTheirLargestValue)
{
    Start(At(2026, 12, 7, 12, 0, 0));
    auto& total = program_->Stats.Records[Total];
    total.Connections = INT16_MAX;
    total.Seconds = INT32_MAX - 10;
    total.CallUnits = INT32_MAX;
    Connected(61);
    Drop();
    EXPECT_EQ(Stored(4).Connections, INT16_MAX);
    EXPECT_EQ(Stored(4).Seconds, INT32_MAX);
    EXPECT_EQ(Stored(4).CallUnits, INT32_MAX);
    // A log line holds at most 32767 call units (a stall of 70 days, caught up).
    Connected(1);
    clock_.Advance(70 * 86400);
    Connected(1);
    Drop();
    EXPECT_EQ(Log()[0].CallUnits, INT16_MAX);
}

// While a line is up the totals stay in memory: the data files are written when
// a session opens and when it closes, never in between, so a busy line costs no
// disk traffic and a file backed up mid-session is whole; one that goes on past
// midnight counts in the day it started. Price.DB put back from
// such a backup (moved over by a copy) then gets the connection.
TEST_F(SessionFixture, DataFilesAreWrittenOnlyWhenTheSessionOpensAndCloses)
{
    Start(At(2026, 12, 7, 20, 57, 0),
        "[Telephone Fee]\r\nEveryday Flag=1\r\n[Home]\r\nEveryday Flag=1\r\n[Work]\r\nFull Fee=300\r\n");
    ASSERT_TRUE(session_->Tick(true, "Home").Started);
    auto dataFiles = [this] {  // all but the journal
        auto files = test::FolderContents(Dir());
        files.erase(program_->JournalPath.filename());
        return files;
    };
    const auto atStart = dataFiles();
    // Named again after the start, across the discount start, the wall clock
    // corrected both ways, then a three-hour stall past midnight.
    Connected(90, "");
    Connected(150, "Work");
    clock_.Set(At(2026, 12, 7, 20, 0, 0));
    Connected(100, "Work");
    clock_.Set(At(2026, 12, 7, 22, 0, 0));
    clock_.Advance(3 * 3600);
    Connected(120, "Work");
    EXPECT_EQ(dataFiles(), atStart);
    fs::copy_file(Dir() / "Price.DB", Dir() / "copy");
    fs::rename(Dir() / "copy", Dir() / "Price.DB");
    EXPECT_EQ(Drop().Error, "");
    EXPECT_EQ(Stored(4).Connections, 1);
    EXPECT_EQ(DateText(Stored(1).StartDate), "2026年12月7日");
    EXPECT_EQ(Stored(1).Connections, 1);
}
