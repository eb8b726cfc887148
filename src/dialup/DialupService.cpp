#include "dialup/DialupService.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "dialup/CombinedDialupService.h"
#include "dialup/DemoDialupService.h"
#include "dialup/NetworkManagerDialupService.h"
#include "dialup/PppdDialupService.h"

namespace tollix {

void WaitSeconds(double seconds, const Clock& clock, const std::function<void()>& processEvents)
{
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    // A year is longer than any wait the program asks for and keeps the sum in range.
    const double millis = std::min(std::ceil(seconds * 1000.0), 365.0 * 86400 * 1000);
    const int64_t end = clock.SteadyMillis() + static_cast<int64_t>(millis);
    while (clock.SteadyMillis() < end) {
        if (processEvents) {
            processEvents();
        } else {
            timespec pause{0, 10L * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
    }
}

HangUpResult HangUpAll(DialupService& service, const Clock& clock, const std::function<void()>& processEvents)
{
    const int64_t start = clock.SteadyMillis();
    service.HangUp();
    WaitSeconds(3, clock, processEvents);
    while (service.IsConnected()) {
        if (clock.SteadyMillis() - start >= int64_t(kHangUpWaitLimitSeconds) * 1000)
            return HangUpResult{false};
        WaitSeconds(1, clock, processEvents);
    }
    return HangUpResult{true};
}

std::unique_ptr<DialupService> CreateDialupService(bool demo, const Clock& clock)
{
    if (demo)
        return std::make_unique<DemoDialupService>(clock);
    const char* root = std::getenv("TOLLIX_PPP_ROOT");
    auto pppd = std::make_unique<PppdDialupService>(root && *root ? root : "/");
    auto networkManager = std::make_unique<NetworkManagerDialupService>(clock);
    if (!networkManager->Available())
        return pppd;
    return std::make_unique<CombinedDialupService>(std::move(networkManager), std::move(pppd));
}

}  // namespace tollix
