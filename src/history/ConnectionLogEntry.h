#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"
#include "base/Money.h"

namespace tollix {

// One finished connection: one line of time.txt.
struct ConnectionLogEntry {
    std::string ConnectionName;  // UTF-8, exactly 15 characters (see FixName15)
    DateTime StartTime;
    int32_t Seconds = 0;
    Money TelFee;
    Money NetFee;
    int16_t CallUnits = 0;

    bool operator==(const ConnectionLogEntry&) const = default;
};

}  // namespace tollix
