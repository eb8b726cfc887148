#pragma once

#include <string>

#include "base/DateTime.h"
#include "base/Money.h"
#include "history/ConnectionLog.h"

namespace tollix::test {

// An entry as the log keeps it: the name cut or padded to 15 characters.
inline ConnectionLogEntry LogEntry(std::string name, DateTime start, int32_t seconds = 60,
    const char* tel = "0", const char* net = "0", int16_t units = 1)
{
    return ConnectionLogEntry{FixName15(name), start, seconds, *ParseMoney(tel), *ParseMoney(net), units};
}

}  // namespace tollix::test
