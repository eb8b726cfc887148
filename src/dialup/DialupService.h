#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Clock.h"

namespace tollix {

struct PhonebookResult {
    std::vector<std::string> Entries;  // in the service's order, UTF-8
    bool Readable = true;
    std::string Error;  // why the phonebook could not be read, ready to show the user
};

struct DialResult {
    bool Started = false;
    std::string Error;  // why the dialer was not started, ready to show the user
};

struct HangUpResult {
    bool LineDown = true;  // false when the line was still up when the wait gave up
};

// The line the meter times, as far as the backend can tell.
struct LinkInfo {
    std::string Interface;  // "ppp0"; empty when not connected or unknown
    // Names this one link and stays the same while it stays up, across a
    // restart of the meter; empty when not connected or unknown.
    std::string Identity;
    // The interface's counters as the kernel keeps them since it came up.
    std::optional<uint64_t> ReceivedBytes;
    std::optional<uint64_t> SentBytes;
};

// Reads a network interface's byte counters from `netDir`/NAME/statistics;
// each stays unknown when it cannot be read or the name is not an interface
// name (so a name from the bus never leads outside `netDir`).
void ReadInterfaceCounters(const std::string& netDir, LinkInfo& link);

// The backend that made a link ("pppd", "NetworkManager", "demo"), read from its
// identity; empty when the identity is.
std::string LinkBackend(const std::string& identity);
// What the kernel accepts as an interface name.
bool IsInterfaceName(const std::string& name);
// A link's identity: its owner (who brought it up, in the backend's words),
// the interface with the kernel's index for it (a new interface of the same
// name gets a new index) and the boot it belongs to, since pids, index and
// NetworkManager's object paths all start over after a reboot. Empty when any
// part cannot be read.
std::string LinkIdentity(const std::string& owner, const std::string& netDir, const std::string& procDir,
    const std::string& interface);

// The program's only contact with the system's dial-up networking. One
// implementation per kind of dialer; callers never know which one they hold.
class DialupService {
public:
    virtual ~DialupService() = default;

    // "pppd", "demo" or "NetworkManager+pppd" (while NetworkManager answers).
    virtual std::string BackendName() const = 0;
    // Where the phonebook lives, for diagnostics; empty when it is built in.
    virtual std::string PhonebookLocation() const { return {}; }
    // For diagnostics, where several backends share the phonebook: which one
    // holds an entry and what kind of connection it is; empty otherwise.
    virtual std::string DescribeEntry(const std::string& /*name*/) { return {}; }

    virtual PhonebookResult Phonebook() = 0;
    // Asked once a second for the whole run: kept cheap and free of allocation.
    virtual bool IsConnected() = 0;
    // Name of the connection that is up, or "" when none is or it cannot be told.
    virtual std::string GetDefaultConnection() = 0;
    // The link GetDefaultConnection names: its interface, identity and
    // counters. Cheap enough to ask once a second.
    virtual LinkInfo CurrentLink() = 0;
    // Starts the dialer for a phonebook entry and returns at once; the monitor
    // notices the connection when it comes up. Anything that is not an entry is
    // refused.
    virtual DialResult DialConnection(const std::string& name) = 0;
    // Asks every connection to hang up and returns at once.
    virtual void HangUp() = 0;
    // Why the last dial failed after its dialer had started, ready to show
    // the user, or "" when nothing failed since the last call. Said once.
    virtual std::string TakeDialFailure() { return {}; }
};

// The longest HangUpAll waits for the line to clear.
constexpr int kHangUpWaitLimitSeconds = 30;

// Hangs up every connection and waits, keeping the event loop running, until
// the line is down: at least three seconds, then whole seconds while it is
// still up, but no longer than kHangUpWaitLimitSeconds in all.
HangUpResult HangUpAll(
    DialupService& service, const Clock& clock, const std::function<void()>& processEvents);

// Lets the program handle its events (processEvents should block briefly,
// up to some tens of milliseconds) until `seconds` have passed on the steady
// clock, so a wait across midnight or a change of the wall clock still ends on
// time. Zero or less returns at once without handling any events.
void WaitSeconds(double seconds, const Clock& clock, const std::function<void()>& processEvents);

// The simulated line when `demo` is set; else NetworkManager and pppd together,
// NetworkManager joining in whenever it answers on the system bus and pppd
// working alone meanwhile. The pppd
// backend reads its world under $TOLLIX_PPP_ROOT when that is set. The clock
// must outlive the service.
std::unique_ptr<DialupService> CreateDialupService(bool demo, const Clock& clock);

}  // namespace tollix
