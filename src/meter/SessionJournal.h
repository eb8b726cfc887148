#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "meter/ClosedConnection.h"
#include "meter/UsageRecord.h"

namespace tollix {

class Clock;
struct Program;

// The state of an open session, enough to close it later exactly as the tick
// would, or to go on with it when the program restarts while its link is up.
struct SessionState {
    std::string SessionKey;
    DateTime SessionStart;          // wall clock, less the connect delay
    int32_t UtcOffsetSeconds = 0;   // at SessionStart
    int64_t SteadyStartMillis = 0;  // boot clock (CLOCK_BOOTTIME) when the session was seen
    std::string BootId;             // the boot that clock belongs to
    std::string LinkIdentity;       // the link as the dial-up layer names it; empty when unknown
    int32_t ProAddSeconds = 0;
    int32_t SessionSeconds = 0;
    int32_t UnitsCharged = 0;
    int32_t MinutesCharged = 0;
    int16_t TariffIndex = 0;
    int32_t BaseSeconds[4] = {0, 0, 0, 0};
    Money SessionTelFee;
    Money SessionNetFee;
    std::string ConnectionName;  // last name seen while connected, trimmed
    // The link's counters, since it came up, as last read while connected:
    // once it is down its interface, and they with it, are gone.
    std::optional<uint64_t> ReceivedBytes;
    std::optional<uint64_t> SentBytes;
    // Periods the session counts in: all four, unless it was taken up again
    // after a restart in a later day, week or month than it started in.
    std::array<bool, 4> Counted{true, true, true, true};
};

// The end of one or more sessions, settled before any data file is touched:
// the four records as Price.DB must hold them and the connections whose log
// lines (and archive entries) go with them.
struct PendingCommit {
    std::array<UsageRecord, 4> Records;
    std::vector<ClosedConnection> Connections;  // oldest first
};

// session.journal: a small file in the data folder that exists while a
// session is open or the end of one is not yet fully written. Price.DB and
// time.txt stay untouched while a session is open; only this file changes,
// each time a unit or a minute is charged, so a crash loses at most the last
// minute of a connection. At the end the journal first records the settled
// values (Closing), then Price.DB, time.txt and the archive are written from
// them, then the journal goes. Each step can be run again with the same
// result, so a crash anywhere, also in recovery, counts a connection once.
struct Journal {
    std::optional<PendingCommit> Closing;
    std::optional<SessionState> Open;
};

bool WriteSessionJournal(
    const std::filesystem::path& path, const Journal& journal, std::string* error = nullptr);
// Reads this version's journals and the previous version's (an open session only).
std::optional<Journal> ReadSessionJournal(const std::filesystem::path& path);

// A key no other session gets.
std::string NewSessionKey();

struct CommitResult {
    bool StatisticsWritten = false;
    bool LogWritten = false;
    bool Archived = false;
    bool Done() const { return StatisticsWritten && LogWritten && Archived; }
    std::string Error;  // the first failure, naming the file
};

// The steps after the journal holds `commit`: the four records into Price.DB,
// the log lines time.txt does not end with yet, then the archive. Each file is
// opened for the step, so a file replaced meanwhile gets the connection.
// `statisticsWritten` skips the records a retry wrote already.
CommitResult RunCommit(Program& program, const PendingCommit& commit, bool statisticsWritten = false);

// Called after each durable step of a commit (1 the closing journal, 2 to 5
// the records, 6 the log, 7 the archive) when set; tests stop the process there.
extern void (*CommitStepHook)(int step);

struct RecoveryResult {
    bool Recovered = false;
    std::string Report;  // what was recovered, for the user
    std::string Error;   // why it could not be recorded (the journal is then kept)
    // The session of a link that is still up, to go on with.
    std::optional<SessionState> Resume;
    // What could not be written yet; the journal keeps it.
    std::optional<PendingCommit> Unwritten;
};

// At start-up, before the statistics are loaded: settles what a crash left.
// An open session whose link is still up (the same boot, the same
// `currentLink`, which is not empty) is handed back to go on with; any other is
// closed as of its last journal entry, counted in each statistics record whose
// period it started in. Then every settled end is written. A journal that
// cannot be read is set aside as session.journal.damaged so it never blocks a
// start.
RecoveryResult RecoverOpenSession(Program& program, const Clock& clock, const std::string& currentLink = {});

}  // namespace tollix
