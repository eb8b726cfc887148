#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"
#include "history/ConnectionLogEntry.h"

namespace tollix {

// Everything known of one finished connection once its end is settled.
struct ClosedConnection {
    // Given when the session opened and kept through a crash and its recovery,
    // so a store that sees the same connection twice can tell.
    std::string SessionKey;
    DateTime Start;                // local wall clock, less the connect delay
    int32_t UtcOffsetSeconds = 0;  // of the local time zone at Start, east positive
    int32_t Seconds = 0;           // rounded up to the whole minute, as stored
    std::string Name;              // trimmed, whole (the log keeps 15 characters)
    Money TelFee;
    Money NetFee;
    int32_t CallUnits = 0;   // telephone call units charged
    int32_t Minutes = 0;     // access minutes charged
    ConnectionLogEntry Log;  // the exact line time.txt gets
    // The link's counters as last seen while it was up; nothing when never read.
    std::optional<uint64_t> ReceivedBytes;
    std::optional<uint64_t> SentBytes;
    std::string Backend;  // the one that made the link; empty when not known

    bool operator==(const ClosedConnection&) const = default;
};

// One more store of finished connections (the usage archive), written after
// the log and before the session journal goes. It may be called again with a
// connection it already holds (after a crash, or a retry after another step
// failed) and must then leave it as it is. False, saying why, keeps the
// journal and the step is tried again later.
using ArchiveStep = std::function<bool(const ClosedConnection& connection, std::string* error)>;

}  // namespace tollix
