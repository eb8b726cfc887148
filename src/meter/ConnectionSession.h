#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"
#include "dialup/DialupService.h"
#include "history/ConnectionLogEntry.h"
#include "meter/SessionJournal.h"

namespace tollix {

class Clock;
struct Program;

// What one tick decided, for the window to show.
struct TickResult {
    bool Started = false;        // a session opened on this tick
    bool Ended = false;          // a session closed on this tick
    bool UnitCharged = false;    // the telephone fee label changed
    bool MinuteCharged = false;  // the access fee labels changed
    bool PlayStartSound = false;
    // Set when the statistics or the log could not be written at the end of a
    // session; the text names the file and the reason. Later ticks try again.
    std::string Error;
};

// The per-second connection session: opens a session when the line comes up,
// charges every call unit and access minute as it begins, keeps the four records
// current in memory, and at the end writes the statistics and one log line,
// through the journal (see SessionJournal.h). An end that could not be written
// is kept in the journal and tried again on every tick until it is.
class ConnectionSession {
public:
    ConnectionSession(Program& program, const Clock& clock);

    // One monitor tick. `connected`, `connectionName` and `link` are what the
    // dial-up layer reports now (the name and link are only looked at while
    // connected). The link's identity is recorded when a session opens, so
    // that a restart can tell the same link from a new one; its byte counters
    // are kept on every tick, a counter that could not be read keeping the
    // count seen last.
    TickResult Tick(bool connected, const std::string& connectionName, const LinkInfo& link = {});

    // After start-up (the statistics loaded): takes over what recovery left, an
    // end not yet written and a session whose link is still up, which then goes
    // on where it was. True when a session was taken up again.
    bool Adopt(const RecoveryResult& recovery);

    // Closes an open session as if the line had dropped (the program is being
    // ended by the system). Does nothing when idle.
    TickResult EndNow();

    // Drops an open session without recording it (the user chose to quit).
    void Discard();

    bool Idle() const { return idle_; }
    // An ended connection is not yet wholly in Price.DB, time.txt or the archive.
    bool HasUnwritten() const { return pending_.has_value(); }
    // For the user at quit: what is not written yet, where, and where it waits.
    std::string UnwrittenText() const;
    const SessionState& State() const { return state_; }

    // Texts of the main window's upper frame and caption.
    std::string StartTimeText() const;
    std::string DurationLabel() const;  // "1小时2分5秒 (21个电话)"
    std::string TelFeeLabel() const;
    std::string NetFeeLabel() const;
    std::string TotalPriceLabel() const;
    std::string CurrentName() const { return displayName_; }

    // The line the log got (or would get) for the session just ended.
    const ConnectionLogEntry& LastLogEntry() const { return lastEntry_; }

private:
    void Start(const std::string& connectionName, const std::string& linkIdentity, TickResult& result);
    void ConnectedWork(const std::string& connectionName, const LinkInfo& link, TickResult& result);
    void End(TickResult& result);
    int32_t ElapsedSeconds() const;
    bool SaveJournal(std::string* error = nullptr);
    // Runs the steps of the pending end; false, with the reason in `error`, while unwritten.
    bool Flush(std::string* error);
    int32_t TelUnit() const;

    Program& program_;
    const Clock& clock_;
    bool idle_ = true;
    bool journalWarned_ = false;
    bool journalSaved_ = true;  // the last write of the journal worked
    std::optional<PendingCommit> pending_;
    CommitResult lastCommit_;
    std::optional<std::array<UsageRecord, 4>> recordsWritten_;  // by an earlier try of the pending end
    SessionState state_;
    std::string displayName_;
    Money currentUnitPrice_;
    Money currentMinutePrice_;
    ConnectionLogEntry lastEntry_;
};

// "Tollix 3.1"
std::string VersionTitle();

}  // namespace tollix
