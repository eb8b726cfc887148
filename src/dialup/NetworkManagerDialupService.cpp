#include "dialup/NetworkManagerDialupService.h"

#include <systemd/sd-bus.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
// Where sd-bus finds the system bus when DBUS_SYSTEM_BUS_ADDRESS does not say.
constexpr const char* kSystemBusSocket = "/run/dbus/system_bus_socket";
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

// Why NetworkManager gave up on an activation it had accepted, from the
// reason its active connection went down with.
std::string ActivationFailureReason(uint32_t reason)
{
    switch (reason) {
    case 0:
    case 1:
        return Tr("NetworkManager 没有说明原因");
    case 3:
        return Tr("设备断开了（调制解调器、SIM 卡或线路有问题）");
    case 4:
        return Tr("提供这个连接的服务停止了");
    case 5:
        return Tr("没有得到可用的 IP 地址");
    case 6:
        return Tr("连接超时");
    case 7:
        return Tr("提供这个连接的服务启动超时");
    case 8:
        return Tr("提供这个连接的服务无法启动");
    case 9:
        return Tr("缺少密码或 PIN 码");
    case 10:
        return Tr("登录失败（用户名或密码不对）");
    case 11:
        return Tr("这个连接已经从 NetworkManager 中删除");
    case 12:
        return Tr("它所依赖的另一个连接失败了");
    case 13:
        return Tr("无法创建这个连接所需的设备");
    case 14:
        return Tr("设备被拔出或移除了");
    default:
        return Tr("NetworkManager 给出的原因代码为 %1", {std::to_string(reason)});
    }
}

// What a device's own reason for going down tells the user beyond its
// activation's, or "" when it tells nothing more.
std::string DeviceFailureReason(uint32_t reason)
{
    switch (reason) {
    case 7:
        return Tr("缺少密码或 PIN 码");
    case 12:
        return Tr("无法启动 PPP");
    case 13:
        return Tr("PPP 连接断开了");
    case 14:
        return Tr("PPP 协商失败（可能是用户名或密码不对）");
    case 23:
        return Tr("线路忙");
    case 24:
        return Tr("没有拨号音");
    case 25:
        return Tr("没有载波（对方没有应答）");
    case 26:
        return Tr("拨号超时");
    case 27:
        return Tr("调制解调器拨号失败");
    case 28:
        return Tr("调制解调器初始化失败");
    case 29:
        return Tr("无法使用这个接入点（APN）");
    case 31:
        return Tr("移动网络拒绝了注册");
    case 32:
    case 33:
        return Tr("无法注册到移动网络");
    case 34:
    case 59:
        return Tr("SIM 卡的 PIN 码不对");
    case 36:
        return Tr("设备被拔出或移除了");
    case 38:
        return Tr("这个连接已经从 NetworkManager 中删除");
    case 43:
        return Tr("找不到调制解调器");
    case 44:
        return Tr("蓝牙连接失败或超时");
    case 45:
        return Tr("没有插入 SIM 卡");
    case 46:
        return Tr("SIM 卡需要输入 PIN 码");
    case 47:
        return Tr("SIM 卡已锁定，需要 PUK 码");
    case 48:
        return Tr("SIM 卡不能用");
    case 52:
        return Tr("ModemManager 没有运行");
    case 57:
        return Tr("调制解调器出错了");
    default:
        return {};
    }
}

}  // namespace

struct NetworkManagerSignals {
    static int OnSignal(sd_bus_message* m, void* userdata, sd_bus_error* error);
    static int OnActivationState(sd_bus_message* m, void* userdata, sd_bus_error* error);
    static int OnDeviceState(sd_bus_message* m, void* userdata, sd_bus_error* error);
};

int NetworkManagerSignals::OnDeviceState(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    auto* self = static_cast<NetworkManagerDialupService*>(userdata);
    const char* sender = sd_bus_message_get_sender(m);
    if (self->watchSender_ != (sender ? sender : ""))
        return 0;
    std::optional<nm::StateChange> change = nm::ReadDeviceStateChanged(m);
    if (change && (change->State == nm::kDeviceDeactivating || change->State == nm::kDeviceFailed))
        self->watchDeviceReason_ = change->Reason;
    return 0;
}

int NetworkManagerSignals::OnActivationState(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    auto* self = static_cast<NetworkManagerDialupService*>(userdata);
    const char* sender = sd_bus_message_get_sender(m);
    if (self->watchSender_ != (sender ? sender : ""))
        return 0;
    if (std::optional<nm::StateChange> change = nm::ReadStateChanged(m))
        self->OnActivationState(change->State, change->Reason);
    return 0;
}

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
    // Without a system bus the answer is known from one access() call: the meter asks
    // again every few seconds for as long as it runs, and opening a bus
    // connection each time would keep libsystemd's bus code resident and
    // cost eight system calls for the same "not there".
    if (!std::getenv("DBUS_SYSTEM_BUS_ADDRESS") && ::access(kSystemBusSocket, F_OK) != 0 && errno == ENOENT) {
        absenceReason_ = Tr("无法连接系统总线：%1", {SystemErrorText(ENOENT)});
        return false;
    }
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
    StopWatching();
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
    // What the activation and its device said before it left the list has
    // been heard by now.
    if (watchSlot_ && (watchSettled_ || watchMissing_))
        SettleWatch();
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
    // A restarted NetworkManager knows nothing of the dial.
    StopWatching();
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
    if (watchSlot_) {
        auto watched = std::find_if(active_.begin(), active_.end(),
            [&](const nm::ActiveConnection& c) { return c.Path == watchPath_; });
        if (watched == active_.end())
            watchMissing_ = true;
        else if (watched->State == nm::kActiveConnectionActivated)
            watchSettled_ = true;
    }
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
    if (std::optional<std::string> active = nm::ReadPath(reply.message)) {
        const char* sender = sd_bus_message_get_sender(reply.message);
        Watch(*active, sender ? sender : "", name);
    }
    return result;
}

void NetworkManagerDialupService::HangUp()
{
    // Our own hang-up ends the activation; that is no failure.
    StopWatching();
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

std::string NetworkManagerDialupService::TakeDialFailure()
{
    if (watchSlot_)
        Update();
    return std::exchange(dialFailure_, std::string());
}

void NetworkManagerDialupService::Watch(
    const std::string& path, const std::string& sender, const std::string& name)
{
    StopWatching();
    // Signals sent since the dial are queued already (the match on every
    // active connection has been in place since connecting), so none is
    // missed: the new match only picks this object's out of them.
    sd_bus_slot* slot = nullptr;
    if (sd_bus_match_signal(bus_, &slot, nullptr, path.c_str(), kActiveInterface, "StateChanged",
            &NetworkManagerSignals::OnActivationState, this)
        < 0)
        return;  // the dial goes on; only a later failure would go untold
    watchSlot_ = slot;
    watchPath_ = path;
    watchSender_ = sender;
    watchName_ = name;
    watchSettled_ = false;
    watchMissing_ = false;
    watchFailed_ = false;
    watchReason_ = 0;
    watchDeviceReason_ = 0;
    // Its device's changes are heard only from here on: a failure quicker
    // than this is told with the activation's own reason.
    BusError e;
    Reply devices;
    if (sd_bus_get_property(
            bus_, kService, path.c_str(), kActiveInterface, "Devices", &e.error, &devices.message, "ao")
        < 0)
        return;
    std::optional<std::vector<std::string>> paths = nm::ReadPaths(devices.message);
    if (paths && !paths->empty())
        sd_bus_match_signal(bus_, &watchDeviceSlot_, nullptr, paths->front().c_str(), kDeviceInterface,
            "StateChanged", &NetworkManagerSignals::OnDeviceState, this);
}

void NetworkManagerDialupService::StopWatching()
{
    if (!watchSlot_)
        return;
    watchSlot_ = sd_bus_slot_unref(watchSlot_);
    watchDeviceSlot_ = sd_bus_slot_unref(watchDeviceSlot_);
    watchPath_.clear();
    watchSender_.clear();
    watchName_.clear();
}

void NetworkManagerDialupService::OnActivationState(uint32_t state, uint32_t reason)
{
    // Let go at the next update rather than from inside the slot's own callback.
    if (watchSettled_)
        return;
    if (state == nm::kActiveConnectionActivated) {
        watchSettled_ = true;
    } else if (state == nm::kActiveConnectionDeactivated) {
        watchSettled_ = true;
        watchFailed_ = true;
        watchReason_ = reason;
    }
}

void NetworkManagerDialupService::SettleWatch()
{
    // A hang-up from another program (nmcli, the desktop's own menu) is no
    // failure either: the activation says only that its device went away.
    if (watchFailed_ && watchReason_ != nm::kReasonUserDisconnected
        && watchDeviceReason_ != nm::kDeviceReasonUserRequested) {
        std::string reason = DeviceFailureReason(watchDeviceReason_);
        if (reason.empty())
            reason = ActivationFailureReason(watchReason_);
        dialFailure_ = Tr("拨号“%1”失败：%2。", {watchName_, reason});
    }
    StopWatching();
}

}  // namespace tollix
