#pragma once

#include <cstdint>

#include "ManualClock.h"
#include "base/Clock.h"

namespace tollix {

// A clock the test moves by hand.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime start = {})
        : now_(start)
    { }
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
