#include "dialup/NetworkManagerDialupService.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/SafeFile.h"
#include "base/TextUtil.h"
#include "base/Translation.h"

namespace tollix {

namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr const char* kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr const char* kSettingsInterface = "org.freedesktop.NetworkManager.Settings";
constexpr const char* kProfileInterface = "org.freedesktop.NetworkManager.Settings.Connection";
constexpr const char* kActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";
constexpr const char* kDeviceInterface = "org.freedesktop.NetworkManager.Device";
constexpr const char* kNetDir = "/sys/class/net";
constexpr const char* kProcDir = "/proc";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
// A NetworkManager that does not answer within this time is taken as absent;
// the meter's window must not freeze for longer.
constexpr uint64_t kCallTimeoutMicros = uint64_t{5} * 1000 * 1000;

// No sender in these rules: dbus-daemon would honour a well-known name, but a
// signal that merely looks like NetworkManager's only makes the backend read
// the truth from NetworkManager again.
constexpr const char* kMatches[] = {
    "type='signal',interface='org.freedesktop.NetworkManager.Settings'",
    "type='signal',interface='org.freedesktop.NetworkManager.Settings.Connection'",
    "type='signal',path='/org/freedesktop/NetworkManager'",
    "type='signal',path_namespace='/org/freedesktop/NetworkManager/ActiveConnection'",
    ("type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
     "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='org.freedesktop.NetworkManager'"),
};

struct BusError {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~BusError() { sd_bus_error_free(&error); }
    bool Is(const char* name) const { return sd_bus_error_has_name(&error, name) > 0; }
};

struct Reply {
    sd_bus_message* message = nullptr;
    ~Reply() { sd_bus_message_unref(message); }
};

std::string RefusalText(const std::string& name, const BusError& e)
{
    std::string reason = nm::ShowableReason(e.error.message ? e.error.message : "");
    if (reason.empty())
        reason = nm::ShowableReason(e.error.name ? e.error.name : "");
    auto refused = [&](const std::string& why) {
        return Tr("无法拨号“%1”：%2（%3）。", {name, why, reason});
    };
    if (e.Is("org.freedesktop.NetworkManager.PermissionDenied") || e.Is(SD_BUS_ERROR_ACCESS_DENIED)
        || e.Is(SD_BUS_ERROR_INTERACTIVE_AUTHORIZATION_REQUIRED))
        return refused(Tr("你没有启用这个连接的权限"));
    if (e.Is("org.freedesktop.NetworkManager.UnknownConnection") || e.Is(SD_BUS_ERROR_UNKNOWN_OBJECT)
        || e.Is(SD_BUS_ERROR_UNKNOWN_METHOD))
        return refused(Tr("这个连接已经不在 NetworkManager 中"));
    if (e.Is("org.freedesktop.NetworkManager.UnknownDevice")
        || e.Is("org.freedesktop.NetworkManager.ConnectionNotAvailable"))
        return refused(Tr("没有可用的设备（调制解调器或 SIM 卡）"));
    if (e.Is(SD_BUS_ERROR_NO_REPLY) || e.Is(SD_BUS_ERROR_TIMEOUT))
        return refused(Tr("NetworkManager 没有回应"));
    return refused(Tr("NetworkManager 拒绝了请求"));
}

}  // namespace

struct NetworkManagerSignals {
    static int OnSignal(sd_bus_message* m, void* userdata, sd_bus_error* error);
};

int NetworkManagerSignals::OnSignal(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    auto* self = static_cast<NetworkManagerDialupService*>(userdata);
    const char* interface = sd_bus_message_get_interface(m);
    if (!interface)
        return 0;
    if (std::strcmp(interface, "org.freedesktop.DBus") == 0) {
        self->dirty_ |= NetworkManagerDialupService::kAll;
        // A restart between two ticks looks present at both: what it left
        // behind is remembered all the same.
        const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
        if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) > 0 && oldOwner && *oldOwner)
            self->ownerLeft_ = true;
    } else if (std::strncmp(interface, kSettingsInterface, std::strlen(kSettingsInterface)) == 0)
        self->dirty_ |= NetworkManagerDialupService::kProfiles;
    else
        self->dirty_ |= NetworkManagerDialupService::kActive;
    return 0;
}

NetworkManagerDialupService::NetworkManagerDialupService(const Clock& clock)
    : clock_(clock)
{ }

NetworkManagerDialupService::~NetworkManagerDialupService()
{
    Disconnect();
}

bool NetworkManagerDialupService::Connect()
{
    everTried_ = true;
    lastConnectAttempt_ = clock_.SteadyMillis();
    sd_bus* bus = nullptr;
    int r = sd_bus_open_system(&bus);
    if (r < 0) {
        absenceReason_ = Tr("无法连接系统总线：%1", {SystemErrorText(-r)});
        return false;
    }
    bus_ = bus;
    sd_bus_set_method_call_timeout(bus_, kCallTimeoutMicros);
    for (const char* rule : kMatches) {
        sd_bus_slot* slot = nullptr;
        r = sd_bus_add_match(bus_, &slot, rule, &NetworkManagerSignals::OnSignal, this);
        if (r < 0) {
            absenceReason_ = Tr("无法连接系统总线：%1", {SystemErrorText(-r)});
            Disconnect();
            return false;
        }
        slots_.push_back(slot);
    }
    dirty_ = kAll;
    return true;
}

void NetworkManagerDialupService::Disconnect()
{
    for (sd_bus_slot* slot : slots_)
        sd_bus_slot_unref(slot);
    slots_.clear();
    if (bus_)
        bus_ = sd_bus_flush_close_unref(bus_);
}

bool NetworkManagerDialupService::Update()
{
    if (!bus_) {
        if (everTried_ && clock_.SteadyMillis() - lastConnectAttempt_ < kReconnectMillis)
            return false;
        if (!Connect()) {
            LoseNetworkManager();
            return false;
        }
    }
    int r;
    while ((r = sd_bus_process(bus_, nullptr)) > 0) { }
    if (r < 0 || sd_bus_is_open(bus_) <= 0) {
        Disconnect();
        absenceReason_ = Tr("系统总线的连接断开了");
        LoseNetworkManager();
        return false;
    }
    if (dirty_ == 0)
        return true;
    const unsigned dirty = dirty_;
    // Signals that arrive while reading are handled at the next call.
    dirty_ = 0;
    if (std::exchange(ownerLeft_, false))
        LoseNetworkManager();
    if (dirty & kPresence)
        ReadPresence();
    if (!present_)
        return true;
    if (dirty & (kProfiles | kPresence))
        ReadProfiles();
    if (!ReadActive()) {
        // Gone in the middle, most likely: the next call asks whether it is
        // still there, and a line it had up is kept meanwhile.
        dirty_ |= kPresence;
        return true;
    }
    Recompute();
    return true;
}

void NetworkManagerDialupService::ReadPresence()
{
    BusError e;
    Reply reply;
    int hasOwner = 0;
    int r = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", &e.error, &reply.message, "s", kService);
    if (r >= 0)
        r = sd_bus_message_read_basic(reply.message, SD_BUS_TYPE_BOOLEAN, &hasOwner);
    if (r > 0 && hasOwner) {
        present_ = true;
        absenceReason_.clear();
        return;
    }
    absenceReason_
        = r < 0 ? Tr("系统总线没有回应：%1", {SystemErrorText(-r)}) : Tr("NetworkManager 没有运行");
    LoseNetworkManager();
}

void NetworkManagerDialupService::LoseNetworkManager()
{
    if (present_) {
        absentSince_ = clock_.SteadyMillis();
        if (upIndex_ >= 0) {
            wasUp_ = true;
            absentName_ = upName_;
            absentLink_ = upLink_;
        }
    }
    present_ = false;
    profiles_.clear();
    active_.clear();
    upIndex_ = -1;
    upName_.clear();
    upLink_ = {};
}

bool NetworkManagerDialupService::InGrace() const
{
    return wasUp_ && clock_.SteadyMillis() - absentSince_ < kAbsenceGraceMillis;
}

void NetworkManagerDialupService::ReadProfiles()
{
    BusError e;
    Reply list;
    if (sd_bus_call_method(
            bus_, kService, kSettingsPath, kSettingsInterface, "ListConnections", &e.error, &list.message, "")
        < 0)
        return;
    std::optional<std::vector<std::string>> paths = nm::ReadPaths(list.message);
    if (!paths)
        return;
    std::vector<nm::Profile> profiles;
    for (const std::string& path : *paths) {
        BusError settingsError;
        Reply settings;
        if (sd_bus_call_method(bus_, kService, path.c_str(), kProfileInterface, "GetSettings",
                &settingsError.error, &settings.message, "")
            < 0)
            continue;  // deleted meanwhile, or hidden from this user
        std::optional<nm::Profile> profile = nm::ReadSettings(settings.message);
        if (profile && !profile->Kind.empty()) {
            profile->Path = path;
            profiles.push_back(std::move(*profile));
        }
    }
    profiles_ = std::move(profiles);
}

bool NetworkManagerDialupService::ReadActive()
{
    BusError e;
    Reply reply;
    std::vector<nm::ActiveConnection> active;
    if (sd_bus_call_method(bus_, kService, kManagerPath, kProperties, "Get", &e.error, &reply.message, "ss",
            "org.freedesktop.NetworkManager", "ActiveConnections")
        < 0)
        return false;
    for (const std::string& path : nm::ReadPaths(reply.message).value_or(std::vector<std::string>{})) {
        BusError propertiesError;
        Reply properties;
        if (sd_bus_call_method(bus_, kService, path.c_str(), kProperties, "GetAll", &propertiesError.error,
                &properties.message, "s", kActiveInterface)
            < 0)
            continue;  // gone meanwhile
        if (std::optional<nm::ActiveConnection> connection = nm::ReadActiveConnection(properties.message)) {
            connection->Path = path;
            if (connection->State == nm::kActiveConnectionActivated && !connection->Device.empty())
                connection->Interface = DeviceInterface(connection->Device);
            active.push_back(std::move(*connection));
        }
    }
    active_ = std::move(active);
    return true;
}

std::string NetworkManagerDialupService::DeviceInterface(const std::string& device)
{
    // A PPP or mobile link carries IP on an interface of its own (ppp0,
    // wwan0), not on the device it runs over (eth0, ttyUSB0).
    for (const char* property : {"IpInterface", "Interface"}) {
        BusError e;
        char* value = nullptr;
        int r = sd_bus_get_property_string(
            bus_, kService, device.c_str(), kDeviceInterface, property, &e.error, &value);
        std::string name = r >= 0 && value ? value : "";
        std::free(value);
        if (IsInterfaceName(name))
            return name;
    }
    return {};
}

void NetworkManagerDialupService::Recompute()
{
    upIndex_ = -1;
    const nm::ActiveConnection* timed = nullptr;
    for (const nm::ActiveConnection& connection : active_) {
        if (connection.State != nm::kActiveConnectionActivated)
            continue;
        for (size_t i = 0; i < profiles_.size(); ++i) {
            if (profiles_[i].Path == connection.ProfilePath && (upIndex_ < 0 || int(i) < upIndex_)) {
                upIndex_ = int(i);
                timed = &connection;
            }
        }
    }
    upName_ = upIndex_ >= 0 ? profiles_[size_t(upIndex_)].Id : std::string();
    upLink_ = {};
    if (timed) {
        upLink_.Interface = timed->Interface;
        upLink_.Identity = LinkIdentity("NetworkManager " + timed->Path, kNetDir, kProcDir, timed->Interface);
    }
    if (upIndex_ >= 0)
        wasUp_ = false;  // the line NetworkManager left behind is its own again
}

const nm::Profile* NetworkManagerDialupService::FindProfile(const std::string& id) const
{
    auto it
        = std::find_if(profiles_.begin(), profiles_.end(), [&](const nm::Profile& p) { return p.Id == id; });
    return it == profiles_.end() ? nullptr : &*it;
}

bool NetworkManagerDialupService::Available()
{
    Update();
    return present_;
}

PhonebookResult NetworkManagerDialupService::Phonebook()
{
    Update();
    PhonebookResult result;
    for (const nm::Profile& profile : profiles_) {
        if (std::find(result.Entries.begin(), result.Entries.end(), profile.Id) == result.Entries.end())
            result.Entries.push_back(profile.Id);
    }
    return result;
}

bool NetworkManagerDialupService::IsConnected()
{
    Update();
    return upIndex_ >= 0 || InGrace();
}

std::string NetworkManagerDialupService::GetDefaultConnection()
{
    Update();
    return upIndex_ >= 0 ? upName_ : InGrace() ? absentName_ : std::string();
}

LinkInfo NetworkManagerDialupService::CurrentLink()
{
    Update();
    LinkInfo link = upIndex_ >= 0 ? upLink_ : InGrace() ? absentLink_ : LinkInfo{};
    ReadInterfaceCounters(kNetDir, link);
    return link;
}

std::string NetworkManagerDialupService::OwnedLinkName()
{
    Update();
    for (const nm::Profile& profile : profiles_) {
        for (const nm::ActiveConnection& connection : active_) {
            if (connection.ProfilePath == profile.Path
                && (connection.State == nm::kActiveConnectionActivating
                    || connection.State == nm::kActiveConnectionActivated))
                return profile.Id;
        }
    }
    return {};
}

std::string NetworkManagerDialupService::EntryKind(const std::string& name)
{
    const nm::Profile* profile = FindProfile(name);
    return profile ? profile->Kind : std::string();
}

DialResult NetworkManagerDialupService::DialConnection(const std::string& name)
{
    Update();
    DialResult result;
    const nm::Profile* profile = FindProfile(name);
    if (!profile) {
        result.Error = !present_ && IsCleanText(name) && !name.empty()
            ? Tr("无法拨号“%1”：%2。", {name, absenceReason_})
            : IsCleanText(name) && !name.empty() ? Tr("“%1”不是拨号网络电话簿中的连接，不能拨号。", {name})
                                                 : Tr("这个名称不是拨号网络电话簿中的连接，不能拨号。");
        return result;
    }
    BusError e;
    Reply reply;
    if (sd_bus_call_method(bus_, kService, kManagerPath, "org.freedesktop.NetworkManager",
            "ActivateConnection", &e.error, &reply.message, "ooo", profile->Path.c_str(), "/", "/")
        < 0) {
        result.Error = RefusalText(name, e);
        return result;
    }
    result.Started = true;
    return result;
}

void NetworkManagerDialupService::HangUp()
{
    wasUp_ = false;
    Update();
    if (!present_)
        return;
    for (const nm::ActiveConnection& connection : active_) {
        bool billed = std::any_of(profiles_.begin(), profiles_.end(),
            [&](const nm::Profile& p) { return p.Path == connection.ProfilePath; });
        if (!billed)
            continue;  // the user's other networks stay up
        BusError e;
        Reply reply;
        sd_bus_call_method(bus_, kService, kManagerPath, "org.freedesktop.NetworkManager",
            "DeactivateConnection", &e.error, &reply.message, "o", connection.Path.c_str());
    }
}

}  // namespace tollix
