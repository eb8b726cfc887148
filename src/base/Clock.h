#pragma once

#include <cstdint>

#include "base/DateTime.h"

namespace tollix {

// Where the engine learns the time. The wall clock gives the moments shown,
// logged and priced at; the steady clock measures how long a connection lasts
// and keeps counting through suspend, untouched by changes of the wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    virtual int64_t SteadyMillis() const = 0;
};

class SystemClock final : public Clock {
public:
    DateTime Now() const override;
    int64_t SteadyMillis() const override;  // CLOCK_BOOTTIME
};

}  // namespace tollix
