#include "base/Clock.h"

#include <ctime>

namespace tollix {

DateTime SystemClock::Now() const
{
    return FromUnixTime(static_cast<int64_t>(std::time(nullptr)));
}

int64_t SystemClock::SteadyMillis() const
{
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace tollix
