#pragma once

// Readers of the NetworkManager replies the dial-up backend relies on. Each
// takes a message positioned at its body and either returns what it found or
// nothing; a reply of the wrong shape never throws, aborts or grows without
// bound, so a confused or hostile peer on the bus cannot upset the meter.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sd_bus_message;

namespace tollix::nm {

// Active-connection states: being brought up, up, and gone down.
constexpr uint32_t kActiveConnectionActivating = 1;
constexpr uint32_t kActiveConnectionActivated = 2;
constexpr uint32_t kActiveConnectionDeactivated = 4;
// Why an active connection went down: someone chose to end it.
constexpr uint32_t kReasonUserDisconnected = 2;
// Device states on the way down, and why a device went there: someone chose to.
constexpr uint32_t kDeviceDeactivating = 110;
constexpr uint32_t kDeviceFailed = 120;
constexpr uint32_t kDeviceReasonUserRequested = 39;
// More saved profiles or active connections than anyone keeps; the rest are
// ignored so that one reply cannot make the meter issue unbounded calls.
constexpr size_t kMaxObjects = 512;

struct Profile {
    std::string Path;
    std::string Id;    // connection.id, clean UTF-8
    std::string Kind;  // why it is billed like dial-up; empty when it is not
};

struct ActiveConnection {
    std::string Path;
    std::string ProfilePath;
    uint32_t State = 0;
    std::string Device;     // the first of its devices, empty for none
    std::string Interface;  // that device's IP interface, as the backend asked it
};

// How a profile is billed like dial-up, as shown by `--check`, or "" when it
// is not: PPPoE, mobile broadband, Bluetooth DUN, ADSL, or anything the user
// marked metered (connection.metered = 1, "yes"; a guess does not count).
std::string BilledKind(std::string_view type, std::string_view bluetoothType, int32_t metered);

// Settings.Connection.GetSettings (a{sa{sv}}): the profile's id and kind.
// Nothing when the reply is malformed or the id is missing or not clean text.
std::optional<Profile> ReadSettings(sd_bus_message* reply);

// An array of object paths ("ao"), bare or inside a variant as Properties.Get
// returns it; at most kMaxObjects of them.
std::optional<std::vector<std::string>> ReadPaths(sd_bus_message* reply);

// Properties.GetAll of Connection.Active (a{sv}): its profile, state and first device.
std::optional<ActiveConnection> ReadActiveConnection(sd_bus_message* reply);

// One object path ("o"), as ActivateConnection returns the activation it started.
std::optional<std::string> ReadPath(sd_bus_message* reply);

// Connection.Active's StateChanged signal (uu): the new state and why.
struct StateChange {
    uint32_t State = 0;
    uint32_t Reason = 0;
};
std::optional<StateChange> ReadStateChanged(sd_bus_message* signal);
// Device's StateChanged signal (uuu): the new state and why, the old one passed over.
std::optional<StateChange> ReadDeviceStateChanged(sd_bus_message* signal);

// A D-Bus error text (or a dialer's message) made fit to show inside a Chinese message: control
// characters dropped, cut to a sensible length at a character boundary.
std::string ShowableReason(std::string_view text);

}  // namespace tollix::nm
