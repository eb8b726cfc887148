#include "dialup/NetworkManagerReplies.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <type_traits>

#include "base/TextUtil.h"
#include "base/Translation.h"

namespace tollix::nm {

namespace {

// NetworkManager's NM_METERED_YES.
constexpr int32_t kMeteredYes = 1;
constexpr size_t kReasonLimit = 300;

// Reads a variant's value when it holds `type`, else skips it; false only when
// the message itself is broken. `Raw` is what sd-bus hands out for that type
// (a C string for strings and object paths, the number itself otherwise).
template <typename Raw, typename T> bool ReadVariant(sd_bus_message* m, char type, std::optional<T>& out)
{
    char contentType = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(m, &contentType, &contents) <= 0 || contentType != SD_BUS_TYPE_VARIANT)
        return false;
    const char wanted[2] = {type, '\0'};
    if (!contents || std::strcmp(contents, wanted) != 0)
        return sd_bus_message_skip(m, "v") >= 0;
    Raw value{};
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, wanted) <= 0
        || sd_bus_message_read_basic(m, type, &value) <= 0 || sd_bus_message_exit_container(m) < 0)
        return false;
    if constexpr (std::is_same_v<Raw, const char*>)
        out = value ? value : "";
    else
        out = value;
    return true;
}

// The first path of a variant holding "ao"; any other variant is skipped.
bool ReadFirstDevice(sd_bus_message* m, std::string& device)
{
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(m, &type, &contents) <= 0 || type != SD_BUS_TYPE_VARIANT)
        return false;
    if (!contents || std::strcmp(contents, "ao") != 0)
        return sd_bus_message_skip(m, "v") >= 0;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, "ao") <= 0
        || sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "o") <= 0)
        return false;
    const char* path = nullptr;
    int r = sd_bus_message_read_basic(m, SD_BUS_TYPE_OBJECT_PATH, &path);
    device = r > 0 && path ? path : "";
    // The others are read past without being kept, however many there are.
    while (r > 0)
        r = sd_bus_message_read_basic(m, SD_BUS_TYPE_OBJECT_PATH, &path);
    return r == 0 && sd_bus_message_exit_container(m) >= 0 && sd_bus_message_exit_container(m) >= 0;
}

}  // namespace

std::string BilledKind(std::string_view type, std::string_view bluetoothType, int32_t metered)
{
    if (type == "pppoe" || type == "gsm" || type == "cdma" || type == "adsl")
        return std::string(type);
    if (type == "bluetooth" && bluetoothType == "dun")
        return "bluetooth DUN";
    if (metered == kMeteredYes)
        return Tr("%1，按流量计费", {type.empty() ? "?" : type});
    return {};
}

std::optional<Profile> ReadSettings(sd_bus_message* m)
{
    std::optional<std::string> id, type, bluetoothType;
    std::optional<int32_t> metered;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sa{sv}}") <= 0)
        return std::nullopt;
    int r;
    while ((r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sa{sv}")) > 0) {
        const char* setting = nullptr;
        if (sd_bus_message_read_basic(m, SD_BUS_TYPE_STRING, &setting) <= 0
            || sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sv}") <= 0)
            return std::nullopt;
        const bool isConnection = std::strcmp(setting, "connection") == 0;
        const bool isBluetooth = std::strcmp(setting, "bluetooth") == 0;
        while ((r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv")) > 0) {
            const char* key = nullptr;
            if (sd_bus_message_read_basic(m, SD_BUS_TYPE_STRING, &key) <= 0)
                return std::nullopt;
            bool ok;
            if (isConnection && std::strcmp(key, "id") == 0)
                ok = ReadVariant<const char*>(m, SD_BUS_TYPE_STRING, id);
            else if (isConnection && std::strcmp(key, "type") == 0)
                ok = ReadVariant<const char*>(m, SD_BUS_TYPE_STRING, type);
            else if (isConnection && std::strcmp(key, "metered") == 0)
                ok = ReadVariant<int32_t>(m, SD_BUS_TYPE_INT32, metered);
            else if (isBluetooth && std::strcmp(key, "type") == 0)
                ok = ReadVariant<const char*>(m, SD_BUS_TYPE_STRING, bluetoothType);
            else
                ok = sd_bus_message_skip(m, "v") >= 0;
            if (!ok || sd_bus_message_exit_container(m) < 0)
                return std::nullopt;
        }
        if (r < 0 || sd_bus_message_exit_container(m) < 0 || sd_bus_message_exit_container(m) < 0)
            return std::nullopt;
    }
    if (r < 0 || !id || id->empty() || !IsCleanText(*id))
        return std::nullopt;
    Profile profile;
    profile.Id = std::move(*id);
    profile.Kind = BilledKind(type.value_or(""), bluetoothType.value_or(""), metered.value_or(0));
    return profile;
}

std::optional<std::vector<std::string>> ReadPaths(sd_bus_message* m)
{
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(m, &type, &contents) <= 0)
        return std::nullopt;
    if (type == SD_BUS_TYPE_VARIANT
        && (!contents || std::strcmp(contents, "ao") != 0
            || sd_bus_message_enter_container(m, type, "ao") <= 0))
        return std::nullopt;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "o") <= 0)
        return std::nullopt;
    std::vector<std::string> paths;
    const char* path = nullptr;
    int r = 0;
    // The rest of an oversized array is left unread: nothing follows it that
    // the backend needs.
    while (
        paths.size() < kMaxObjects && (r = sd_bus_message_read_basic(m, SD_BUS_TYPE_OBJECT_PATH, &path)) > 0)
        paths.emplace_back(path);
    if (paths.size() < kMaxObjects && r < 0)
        return std::nullopt;
    return paths;
}

std::optional<ActiveConnection> ReadActiveConnection(sd_bus_message* m)
{
    std::optional<std::string> profile;
    std::optional<uint32_t> state;
    std::string device;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sv}") <= 0)
        return std::nullopt;
    int r;
    while ((r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv")) > 0) {
        const char* key = nullptr;
        if (sd_bus_message_read_basic(m, SD_BUS_TYPE_STRING, &key) <= 0)
            return std::nullopt;
        bool ok;
        if (std::strcmp(key, "Connection") == 0)
            ok = ReadVariant<const char*>(m, SD_BUS_TYPE_OBJECT_PATH, profile);
        else if (std::strcmp(key, "State") == 0)
            ok = ReadVariant<uint32_t>(m, SD_BUS_TYPE_UINT32, state);
        else if (std::strcmp(key, "Devices") == 0)
            ok = ReadFirstDevice(m, device);
        else
            ok = sd_bus_message_skip(m, "v") >= 0;
        if (!ok || sd_bus_message_exit_container(m) < 0)
            return std::nullopt;
    }
    if (r < 0 || !profile)
        return std::nullopt;
    ActiveConnection connection;
    connection.ProfilePath = std::move(*profile);
    connection.State = state.value_or(0);
    connection.Device = std::move(device);
    return connection;
}

std::optional<std::string> ReadPath(sd_bus_message* m)
{
    const char* path = nullptr;
    if (sd_bus_message_read_basic(m, SD_BUS_TYPE_OBJECT_PATH, &path) <= 0 || !path)
        return std::nullopt;
    return std::string(path);
}

std::optional<StateChange> ReadStateChanged(sd_bus_message* m)
{
    StateChange change;
    if (sd_bus_message_read(m, "uu", &change.State, &change.Reason) <= 0)
        return std::nullopt;
    return change;
}

std::optional<StateChange> ReadDeviceStateChanged(sd_bus_message* m)
{
    StateChange change;
    uint32_t old = 0;
    if (sd_bus_message_read(m, "uuu", &change.State, &old, &change.Reason) <= 0)
        return std::nullopt;
    return change;
}

std::string ShowableReason(std::string_view text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size() && out.size() < kReasonLimit) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead & 0xe0) == 0xc0 ? 2 : (lead & 0xf0) == 0xe0 ? 3 : 4;
        std::string_view character = text.substr(i, length);
        if (IsCleanText(character)) {
            out.append(character);
            i += length;
        } else {
            if (out.empty() || out.back() != ' ')
                out.push_back(' ');
            ++i;
        }
    }
    return std::string(TrimChars(out, " "));
}

}  // namespace tollix::nm
