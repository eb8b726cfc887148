#pragma once

#include <cstdint>

#include "base/Clock.h"

namespace tollix {

// A clock the test moves by hand. Set moves only the wall clock, as a clock
// correction does; Advance moves both, as time passing does.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime start = {})
        : now_(start)
    { }
    DateTime Now() const override { return now_; }
    int64_t SteadyMillis() const override { return steadyMillis_; }

    void Set(DateTime now) { now_ = now; }
    void Advance(int64_t seconds)
    {
        now_ = now_.AddSeconds(seconds);
        steadyMillis_ += seconds * 1000;
    }
    // Moves the steady clock alone by part of a second: timer ticks are never
    // exactly a second apart.
    void AdvanceMillis(int64_t millis) { steadyMillis_ += millis; }

private:
    DateTime now_;
    int64_t steadyMillis_ = 0;
};

}  // namespace tollix
