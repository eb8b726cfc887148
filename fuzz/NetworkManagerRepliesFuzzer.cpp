// The readers of NetworkManager's replies fed messages built from the input:
// settings, property maps, path arrays, single paths and state changes of any shape, with values of the
// wrong type, keys missing or repeated, and arrays of several thousand
// elements. The input drives a small generator rather than being the
// wire format, so that nearly every input is a message the bus would deliver.

#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "base/TextUtil.h"
#include "dialup/NetworkManagerReplies.h"

using namespace tollix;

namespace {

class Generator {
public:
    Generator(const uint8_t* data, size_t size)
        : data_(data)
        , size_(size)
    { }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Mostly small counts; now and then a huge one.
    size_t Count()
    {
        uint8_t b = Byte();
        return b >= 0xf8 ? size_t(b - 0xf7) * 700 : b % 6;
    }
    std::string Text()
    {
        static const char* const kWords[] = {"connection", "bluetooth", "id", "type", "metered", "pppoe",
            "gsm", "dun", "Connection", "State", "Devices", "宽带连接", ""};
        uint8_t b = Byte();
        if (b < 0xc0)
            return kWords[b % (sizeof kWords / sizeof *kWords)];
        std::string text;
        for (size_t n = b - 0xc0u; n > 0; --n)
            text.push_back(char(Byte()));
        return text;
    }

    // Any value at all, its type chosen by the input.
    void Value(sd_bus_message* m, int depth)
    {
        const unsigned which = depth > 3 ? Byte() % 5u : Byte() % 9u;
        if (which < 5)
            Basic(m, which);
        else if (which == 5)
            Variant(m, depth);
        else if (which == 6)
            Map(m, depth);
        else if (which == 7)
            Paths(m);
        else
            Settings(m, depth);
    }
    void Variant(sd_bus_message* m, int depth)
    {
        static const char* const kTypes[] = {"s", "o", "i", "u", "b", "ao", "a{sv}"};
        const unsigned which = depth > 3 ? Byte() % 5u : Byte() % 7u;
        sd_bus_message_open_container(m, SD_BUS_TYPE_VARIANT, kTypes[which]);
        if (which < 5)
            Basic(m, which);
        else if (which == 5)
            Paths(m);
        else
            Map(m, depth + 1);
        sd_bus_message_close_container(m);
    }
    void Map(sd_bus_message* m, int depth)
    {
        sd_bus_message_open_container(m, SD_BUS_TYPE_ARRAY, "{sv}");
        for (size_t n = Count(); n > 0; --n) {
            sd_bus_message_open_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv");
            String(m, SD_BUS_TYPE_STRING, Text());
            Variant(m, depth + 1);
            sd_bus_message_close_container(m);
        }
        sd_bus_message_close_container(m);
    }
    void Settings(sd_bus_message* m, int depth)
    {
        sd_bus_message_open_container(m, SD_BUS_TYPE_ARRAY, "{sa{sv}}");
        for (size_t n = Count(); n > 0; --n) {
            sd_bus_message_open_container(m, SD_BUS_TYPE_DICT_ENTRY, "sa{sv}");
            String(m, SD_BUS_TYPE_STRING, Text());
            Map(m, depth + 1);
            sd_bus_message_close_container(m);
        }
        sd_bus_message_close_container(m);
    }
    void Paths(sd_bus_message* m)
    {
        sd_bus_message_open_container(m, SD_BUS_TYPE_ARRAY, "o");
        for (size_t n = Count(); n > 0; --n)
            String(m, SD_BUS_TYPE_OBJECT_PATH, "/" + Text());
        sd_bus_message_close_container(m);
    }

private:
    // s, o, i, u or b.
    void Basic(sd_bus_message* m, unsigned which)
    {
        if (which == 0)
            String(m, SD_BUS_TYPE_STRING, Text());
        else if (which == 1)
            String(m, SD_BUS_TYPE_OBJECT_PATH, "/" + Text());
        else if (which == 2) {
            int32_t v = int32_t(Byte()) - 2;
            sd_bus_message_append_basic(m, SD_BUS_TYPE_INT32, &v);
        } else if (which == 3) {
            uint32_t v = Byte() % 6u;
            sd_bus_message_append_basic(m, SD_BUS_TYPE_UINT32, &v);
        } else {
            int v = Byte() & 1;
            sd_bus_message_append_basic(m, SD_BUS_TYPE_BOOLEAN, &v);
        }
    }
    // Texts the bus would refuse (bad UTF-8, bad path) become a plain one.
    static void String(sd_bus_message* m, char type, const std::string& text)
    {
        if (sd_bus_message_append_basic(m, type, text.c_str()) < 0)
            sd_bus_message_append_basic(m, type, type == SD_BUS_TYPE_OBJECT_PATH ? "/x" : "x");
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Messages need a bus that has started; it never has to reach a peer.
sd_bus* Bus()
{
    static sd_bus* bus = [] {
        int fds[2];
        sd_bus* b = nullptr;
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0
            || sd_bus_new(&b) < 0 || sd_bus_set_fd(b, fds[0], fds[0]) < 0 || sd_bus_start(b) < 0)
            std::abort();
        return b;
    }();
    return bus;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Generator generator(data, size);
    sd_bus_message* m = nullptr;
    if (sd_bus_message_new_signal(Bus(), &m, "/org/freedesktop/NetworkManager", "org.example.Fuzz", "Reply")
        < 0)
        std::abort();
    // Usually one of the shapes the readers expect, sometimes anything.
    for (size_t values = 1 + generator.Byte() % 2; values > 0; --values) {
        switch (generator.Byte() % 4) {
        case 0:
            generator.Settings(m, 0);
            break;
        case 1:
            generator.Map(m, 0);
            break;
        case 2:
            generator.Byte() & 1 ? generator.Paths(m) : generator.Variant(m, 0);
            break;
        default:
            generator.Value(m, 0);
            break;
        }
    }
    if (sd_bus_message_seal(m, 1, 0) < 0) {
        sd_bus_message_unref(m);
        return 0;  // a container left open: not a message anyone can send
    }

    sd_bus_message_rewind(m, 1);
    if (auto profile = nm::ReadSettings(m)) {
        TOLLIX_FUZZ_CHECK(!profile->Id.empty() && IsCleanText(profile->Id), "an unusable profile id");
        TOLLIX_FUZZ_CHECK(profile->Path.empty(), "a path the reply cannot hold");
    }
    sd_bus_message_rewind(m, 1);
    if (auto paths = nm::ReadPaths(m))
        TOLLIX_FUZZ_CHECK(paths->size() <= nm::kMaxObjects, "%zu paths kept", paths->size());
    sd_bus_message_rewind(m, 1);
    if (auto active = nm::ReadActiveConnection(m))
        TOLLIX_FUZZ_CHECK(!active->ProfilePath.empty(), "an active connection without its profile");
    sd_bus_message_rewind(m, 1);
    if (auto path = nm::ReadPath(m))
        TOLLIX_FUZZ_CHECK(!path->empty() && path->front() == '/', "an object path that is none");
    sd_bus_message_rewind(m, 1);
    nm::ReadStateChanged(m);
    sd_bus_message_rewind(m, 1);
    nm::ReadDeviceStateChanged(m);
    sd_bus_message_unref(m);

    const std::string reason
        = nm::ShowableReason(std::string_view(reinterpret_cast<const char*>(data), size));
    TOLLIX_FUZZ_CHECK(IsCleanText(reason) && reason.size() <= 310, "an unshowable reason");
    return 0;
}
