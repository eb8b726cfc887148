#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"
#include "history/ConnectionLogEntry.h"

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
    // session; the text names the file and the reason.
    std::string Error;
};

// The state of an open session, enough to close it later exactly as the tick
// would (the crash journal keeps this).
struct SessionState {
    DateTime SessionStart;          // wall clock, less the connect delay
    int64_t SteadyStartMillis = 0;  // steady clock when the session was seen
    int32_t ProAddSeconds = 0;
    int32_t SessionSeconds = 0;
    int32_t UnitsCharged = 0;
    int32_t MinutesCharged = 0;
    int16_t TariffIndex = 0;
    int32_t BaseSeconds[4] = {0, 0, 0, 0};
    Money SessionTelFee;
    Money SessionNetFee;
    std::string ConnectionName;  // last name seen while connected, trimmed
};

// The per-second connection session: opens a session when the line comes up,
// charges every call unit and access minute as it begins, keeps the four records
// current in memory, and at the end writes the statistics and one log line.
class ConnectionSession {
public:
    ConnectionSession(Program& program, const Clock& clock);

    // One monitor tick. `connected` and `connectionName` are what the dial-up
    // layer reports now (the name is only looked at while connected).
    TickResult Tick(bool connected, const std::string& connectionName);

    // Closes an open session as if the line had dropped (the program is being
    // ended by the system). Does nothing when idle.
    TickResult EndNow();

    // Drops an open session without recording it (the user chose to quit).
    void Discard();

    bool Idle() const { return idle_; }
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
    void Start(const std::string& connectionName, TickResult& result);
    void ConnectedWork(const std::string& connectionName, TickResult& result);
    void End(TickResult& result);
    int32_t ElapsedSeconds() const;
    // Writes the statistics of a connection whose end could not be written.
    void FlushPendingStatistics(TickResult& result);
    int32_t TelUnit() const;

    Program& program_;
    const Clock& clock_;
    bool idle_ = true;
    bool statisticsPending_ = false;
    bool journalWarned_ = false;
    SessionState state_;
    std::string displayName_;
    Money currentUnitPrice_;
    Money currentMinutePrice_;
    ConnectionLogEntry lastEntry_;
};

// "Tollix 3.1"
std::string VersionTitle();

}  // namespace tollix
