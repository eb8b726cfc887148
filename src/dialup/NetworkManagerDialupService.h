#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "dialup/DialupService.h"
#include "dialup/NetworkManagerReplies.h"

struct sd_bus;
struct sd_bus_slot;

namespace tollix {

// Dial-up through NetworkManager on the system bus ($DBUS_SYSTEM_BUS_ADDRESS
// honoured). The phonebook is the saved profiles billed like dial-up; a
// connection is up while one of them is activated.
//
// The state is read once and then kept current from NetworkManager's signals:
// IsConnected drains what the bus has delivered without waiting and reads
// again only what a signal said has changed, so a quiet second costs one
// non-blocking read of the socket.
class NetworkManagerDialupService final : public DialupService {
public:
    // The clock must outlive the service.
    explicit NetworkManagerDialupService(const Clock& clock);
    ~NetworkManagerDialupService() override;
    NetworkManagerDialupService(const NetworkManagerDialupService&) = delete;
    NetworkManagerDialupService& operator=(const NetworkManagerDialupService&) = delete;

    std::string BackendName() const override { return "NetworkManager"; }

    // Whether NetworkManager answers on the bus right now; otherwise why not,
    // in words for the user.
    bool Available();
    const std::string& AbsenceReason() const { return absenceReason_; }
    // Whether it answered when last asked, without asking again.
    bool Present() const { return present_; }

    PhonebookResult Phonebook() override;
    bool IsConnected() override;
    std::string GetDefaultConnection() override;
    // The timed connection's interface (its device's IP interface) and
    // identity (its active connection's path); kept through the grace.
    LinkInfo CurrentLink() override;
    DialResult DialConnection(const std::string& name) override;
    void HangUp() override;
    // An activation NetworkManager accepted and then gave up on (no SIM, the
    // modem gone, the login refused), told once.
    std::string TakeDialFailure() override;

    // The first profile in phonebook order whose line NetworkManager is
    // bringing up or has up, or "": a PPP link shows up before NetworkManager
    // calls it activated, and must not go unnamed meanwhile.
    std::string OwnedLinkName();
    // The kind of a phonebook entry ("pppoe", "gsm", …), empty for none.
    std::string EntryKind(const std::string& name);

    // How long a connection is still taken as up after NetworkManager left the
    // bus: a restart keeps the link, and one connection must not be billed as
    // two.
    static constexpr int64_t kAbsenceGraceMillis = 15000;
    // How often a lost bus is tried again.
    static constexpr int64_t kReconnectMillis = 5000;

private:
    enum Dirty : unsigned { kProfiles = 1, kActive = 2, kPresence = 4, kAll = 7 };

    bool Connect();
    void Disconnect();
    // Handles what the bus has delivered and re-reads what changed; false
    // when the bus is gone.
    bool Update();
    void ReadPresence();
    // Forgets NetworkManager's state, remembering whether a line was up.
    void LoseNetworkManager();
    // Within the grace after NetworkManager left with a line up, until it
    // shows a line of its own again.
    bool InGrace() const;
    void ReadProfiles();
    // False when NetworkManager did not answer: what was known stays.
    bool ReadActive();
    // The interface a device carries IP on, or "" when it cannot be told.
    std::string DeviceInterface(const std::string& device);
    void Recompute();
    const nm::Profile* FindProfile(const std::string& id) const;
    // Follows the activation a dial started until it is up or has failed.
    void Watch(const std::string& path, const std::string& sender, const std::string& name);
    void StopWatching();
    void OnActivationState(uint32_t state, uint32_t reason);
    // Said once everything NetworkManager sent with the failure has been heard.
    void SettleWatch();

    // Marks what a signal from the bus says has changed.
    friend struct NetworkManagerSignals;

    const Clock& clock_;
    sd_bus* bus_ = nullptr;
    std::vector<sd_bus_slot*> slots_;
    unsigned dirty_ = kAll;
    bool ownerLeft_ = false;  // NetworkManager left the bus since the last update
    int64_t lastConnectAttempt_ = 0;
    bool everTried_ = false;

    bool present_ = false;     // NetworkManager owns its name on the bus
    int64_t absentSince_ = 0;  // steady millis when it was last seen leaving
    std::string absenceReason_;
    std::vector<nm::Profile> profiles_;  // billed ones only, in NetworkManager's order
    std::vector<nm::ActiveConnection> active_;
    // The phonebook index of the profile the meter times, -1 for none.
    int upIndex_ = -1;
    std::string upName_;
    LinkInfo upLink_;         // its interface and identity
    bool wasUp_ = false;      // a line was up when NetworkManager left
    std::string absentName_;  // and this was its name
    LinkInfo absentLink_;     // and its link

    // The last dial's activation while it is being brought up: its object,
    // who answered the dial (only NetworkManager itself may say how it
    // ended) and the connection's name. One at a time, so nothing piles up.
    sd_bus_slot* watchSlot_ = nullptr;
    sd_bus_slot* watchDeviceSlot_ = nullptr;  // its device's state, when it has one
    std::string watchPath_;
    std::string watchSender_;
    std::string watchName_;
    bool watchSettled_ = false;  // said its last word; let go at the next update
    bool watchMissing_ = false;  // not among the active ones at the last read
    bool watchFailed_ = false;   // went down before it was ever up
    uint32_t watchReason_ = 0;   // and why
    // Why its device last went down or failed: says more than the activation
    // (no SIM, no carrier), and tells a hang-up from elsewhere from a failure.
    uint32_t watchDeviceReason_ = 0;
    std::string dialFailure_;
};

}  // namespace tollix
