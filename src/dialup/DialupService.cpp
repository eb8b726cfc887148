#include "dialup/DialupService.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/TextUtil.h"
#include "dialup/CombinedDialupService.h"
#include "dialup/DemoDialupService.h"
#include "dialup/NetworkManagerDialupService.h"
#include "dialup/PppdDialupService.h"

namespace tollix {

std::string LinkBackend(const std::string& identity)
{
    return identity.substr(0, identity.find(' '));
}

namespace {

// The start of a small file, or -1.
ssize_t ReadStart(const char* path, char* text, size_t size)
{
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    ssize_t n;
    do
        n = ::read(fd, text, size);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    return n;
}

// A counter file such as "123456\n"; nothing when it holds anything else.
std::optional<uint64_t> ReadCounter(const char* path)
{
    char text[32];
    ssize_t n = ReadStart(path, text, sizeof text);
    if (n <= 0)
        return std::nullopt;
    uint64_t value = 0;
    ssize_t i = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (i == 0 || (i < n && text[i] != '\n'))
        return std::nullopt;
    return value;
}

}  // namespace

bool IsInterfaceName(const std::string& name)
{
    // The kernel's own limit (IFNAMSIZ less the NUL) and its forbidden characters.
    if (name.empty() || name.size() > 15 || name == "." || name == "..")
        return false;
    return std::all_of(
        name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7f && c != '/' && c != ':'; });
}

void ReadInterfaceCounters(const std::string& netDir, LinkInfo& link)
{
    link.ReceivedBytes.reset();
    link.SentBytes.reset();
    if (!IsInterfaceName(link.Interface))
        return;
    char path[4096];
    if (std::snprintf(path, sizeof path, "%s/%s/statistics/rx_bytes", netDir.c_str(), link.Interface.c_str())
        < int(sizeof path))
        link.ReceivedBytes = ReadCounter(path);
    if (std::snprintf(path, sizeof path, "%s/%s/statistics/tx_bytes", netDir.c_str(), link.Interface.c_str())
        < int(sizeof path))
        link.SentBytes = ReadCounter(path);
}

std::string LinkIdentity(const std::string& owner, const std::string& netDir, const std::string& procDir,
    const std::string& interface)
{
    if (!IsInterfaceName(interface))
        return {};
    const std::optional<uint64_t> index = ReadCounter((netDir + "/" + interface + "/ifindex").c_str());
    char boot[64];
    ssize_t n = ReadStart((procDir + "/sys/kernel/random/boot_id").c_str(), boot, sizeof boot);
    std::string_view bootId(boot, n > 0 ? size_t(n) : 0);
    while (!bootId.empty() && bootId.back() == '\n')
        bootId.remove_suffix(1);
    if (!index || bootId.empty() || !IsCleanText(bootId))
        return {};
    return owner + " " + interface + "#" + std::to_string(*index) + " " + std::string(bootId);
}

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
    // Asked once now so the backend's name is right from the start; later the
    // service keeps trying, so a NetworkManager started after the meter joins in.
    networkManager->Available();
    return std::make_unique<CombinedDialupService>(std::move(networkManager), std::move(pppd));
}

}  // namespace tollix
