#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"

namespace tollix {

// One finished connection as the usage archive keeps it, for good.
struct ArchivedConnection {
    // Names the session, not its text: the same session stored twice (a retry
    // after a kill) is stored once. Imported log lines get "time.txt:" keys.
    std::string SessionKey;
    DateTime Start;                // local time, as logged
    int32_t UtcOffsetSeconds = 0;  // local time minus UTC at Start (28800 for China)
    int32_t Seconds = 0;           // connected seconds, as logged (whole minutes)
    std::string ConnectionName;    // UTF-8, trailing blanks trimmed
    Money TelFee;                  // stored as Money::Raw(), never as a float
    Money NetFee;
    int32_t CallUnits = 0;
    int32_t MinutesCharged = 0;            // 0 when not known (imported lines)
    std::optional<int64_t> ReceivedBytes;  // nothing when not measured
    std::optional<int64_t> SentBytes;
    std::string Backend;    // "pppd", "NetworkManager", "demo"; empty when not known
    bool Imported = false;  // taken over from time.txt, not seen ending

    Money TotalFee() const { return TelFee + NetFee; }
    bool operator==(const ArchivedConnection&) const = default;
};

}  // namespace tollix
