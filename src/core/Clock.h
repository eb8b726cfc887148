#pragma once

#include <cstdint>

#include "core/DateTime.h"

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

// A clock the caller moves by hand: tests, and the demo's fast-forward.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime start = {}) : now_(start) {}
    DateTime Now() const override { return now_; }
    int64_t SteadyMillis() const override { return steadyMillis_; }

    void Set(DateTime now) { now_ = now; }
    // Moves both clocks forward together, as real time passing does.
    void Advance(int64_t seconds)
    {
        now_ = now_.AddSeconds(seconds);
        steadyMillis_ += seconds * 1000;
    }
    // Moves only the wall clock, as a manual or network clock correction does.
    void SetWallOnly(DateTime now) { now_ = now; }

private:
    DateTime now_;
    int64_t steadyMillis_ = 0;
};

}  // namespace tollix
