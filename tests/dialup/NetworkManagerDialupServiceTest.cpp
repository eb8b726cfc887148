#include <gtest/gtest.h>

#include "ManualClock.h"
#include "dialup/CombinedDialupService.h"
#include "dialup/NetworkManagerDialupService.h"
#include "dialup/NetworkManagerMock.h"
#include "dialup/NetworkManagerReplies.h"

using namespace tollix;
using namespace tollix::test;

namespace {

#define SKIP_WITHOUT_MOCK()                                                                                  \
    if (std::string missing = NetworkManagerMock::Missing(); !missing.empty())                               \
    GTEST_SKIP() << missing

TEST(NetworkManagerBilledKind, OnlyProfilesBilledLikeDialUp)
{
    const struct {
        const char* type;
        const char* bluetooth;
        int32_t metered;
        const char* kind;
    } cases[] = {
        {"gsm", "", 2, "gsm"},  // not metered, yet billed like dial-up
        {"bluetooth", "dun", 0, "bluetooth DUN"}, {"bluetooth", "panu", 0, ""},
        {"802-3-ethernet", "", 3, ""},  // only guessed metered
    };
    for (const auto& c : cases)
        EXPECT_EQ(nm::BilledKind(c.type, c.bluetooth, c.metered), c.kind) << c.type << " " << c.metered;
}

// One connection's life through the mock: each step changes NetworkManager and
// says what the meter must see afterwards.
TEST(NetworkManagerDialupService, FollowsNetworkManagerThroughAConnection)
{
    SKIP_WITHOUT_MOCK();
    NetworkManagerMock nm;
    ManualClock clock;
    NetworkManagerDialupService service(clock);
    std::string pppoe = nm.AddProfile("宽带连接", "pppoe");
    nm.AddProfile("家里", "802-11-wireless");
    ASSERT_TRUE(service.Available());

    const struct {
        const char* step;
        std::function<void()> change;
        std::vector<std::string> phonebook;
        std::string name;       // "" while the line is down
        const char* link = "";  // its interface; "same" for the link of the step before
    } steps[] = {
        {"profiles read", [] {}, {"宽带连接"}, ""},
        {"dialled", [&] { EXPECT_TRUE(service.DialConnection("宽带连接").Started); }, {"宽带连接"},
            "宽带连接"},
        {"second profile comes up while the first is timed",
            [&] {
                std::string gsm = nm.AddProfile("手机上网", "gsm");
                Eventually([&] { return service.Phonebook().Entries.size() == 2; });
                nm.Activate(gsm);
            },
            {"宽带连接", "手机上网"}, "宽带连接"},
        {"renamed during the connection",
            [&] {
                nm.Call(pppoe, "org.freedesktop.NetworkManager.Settings.Connection",
                    {"Update", "a{sa{sv}}", "1", "connection", "1", "id", "s", "电信宽带"});
            },
            {"电信宽带", "手机上网"}, "电信宽带"},
        {"hung up: the billed links go down", [&] { service.HangUp(); }, {"电信宽带", "手机上网"}, ""},
        {"up again, then NetworkManager leaves: a restart keeps the line",
            [&] {
                nm.Activate(pppoe);
                Eventually([&] { return service.IsConnected(); });
                nm.StopManager();
            },
            {}, "电信宽带", "lo"},
        {"back, still up", [&] { nm.StartManager(); }, {}, "电信宽带", "same"},
        {"adopts the line again under its own name",
            [&] {
                nm.Activate(nm.AddProfile("电信宽带", "pppoe"));
                clock.Advance(NetworkManagerDialupService::kAbsenceGraceMillis / 1000 + 1);
            },
            {"电信宽带"}, "电信宽带", "lo"},
        {"the bus goes away: the line is kept for the grace", [&] { nm.StopBus(); }, {}, "电信宽带", "same"},
        {"gone for longer than a restart",
            [&] { clock.Advance(NetworkManagerDialupService::kAbsenceGraceMillis / 1000 + 1); }, {}, ""},
    };
    LinkInfo last;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.change();
        EXPECT_TRUE(Eventually([&] { return service.IsConnected() == !s.name.empty(); }));
        EXPECT_TRUE(Eventually([&] { return service.Phonebook().Entries == s.phonebook; }));
        EXPECT_EQ(service.GetDefaultConnection(), s.name);
        const LinkInfo link = service.CurrentLink();
        if (std::string_view(s.link) == "same") {
            EXPECT_EQ(link.Identity, last.Identity);
        } else {
            EXPECT_EQ(link.Interface, s.link);
            EXPECT_EQ(link.Identity.find("NetworkManager /org/freedesktop/NetworkManager/ActiveConnection/"),
                *s.link ? 0 : std::string::npos)
                << link.Identity;
        }
        EXPECT_EQ(link.ReceivedBytes.has_value(), !link.Interface.empty());
        last = link;
    }
}

// A refused dial names the connection and NetworkManager's reason, and
// changes nothing. An activation NetworkManager accepted and then gave up on
// is told once, with its device's reason when that says more, else its own;
// one that was up first, or that the user hung up here or elsewhere, is not.
TEST(NetworkManagerDialupService, DialsThatFailSayWhyOnce)
{
    SKIP_WITHOUT_MOCK();
    NetworkManagerMock nm;
    ManualClock clock;
    NetworkManagerDialupService service(clock);
    nm.AddProfile("宽带连接", "pppoe");
    const struct {
        const char* errorName;  // nullptr: not a phonebook entry
        const char* name;
        const char* error;
    } refusals[] = {
        {nullptr, "家里", "“家里”不是拨号网络电话簿中的连接，不能拨号。"},
        {"UnknownDevice", "宽带连接",
            "无法拨号“宽带连接”：没有可用的设备（调制解调器或 SIM 卡）（Not authorized）。"},
        {"Failed", "宽带连接", "无法拨号“宽带连接”：NetworkManager 拒绝了请求（Not authorized）。"},
    };
    for (const auto& c : refusals) {
        if (c.errorName)
            nm.Call(kNmPath, "org.freedesktop.DBus.Mock",
                {"AddMethod", "sssss", kNmService, "ActivateConnection", "ooo", "o",
                    "raise dbus.exceptions.DBusException('Not\tauthorized', name='" + std::string(kNmService)
                        + "." + c.errorName + "')"});
        DialResult result = service.DialConnection(c.name);
        EXPECT_FALSE(result.Started);
        EXPECT_EQ(result.Error, c.error);
    }

    // Each activation starts out being brought up on the device, at this one path.
    const std::string active = std::string(kNmPath) + "/ActiveConnection/dial";
    nm.Call(kNmPath, "org.freedesktop.DBus.Mock",
        {"AddMethod", "sssss", kNmService, "ActivateConnection", "ooo", "o",
            std::string("ret = self.AddActiveConnection(['") + kNmDevice
                + "'], args[0], '/', 'dial', dbus.UInt32(1))"});
    const struct {
        const char* what;
        std::function<void()> before;
        unsigned reason;
        const char* failure;
    } cases[] = {
        {"fails", [] {}, 3, "拨号“宽带连接”失败：设备断开了（调制解调器、SIM 卡或线路有问题）。"},
        {"fails for a reason of a newer NetworkManager", [] {}, 99,
            "拨号“宽带连接”失败：NetworkManager 给出的原因代码为 99。"},
        {"the device failed: no SIM", [&] { nm.DeviceGoesDown(120, 45); }, 3,
            "拨号“宽带连接”失败：没有插入 SIM 卡。"},
        {"hung up elsewhere", [&] { nm.DeviceGoesDown(110, 39); }, 3, ""},
        {"up first",
            [&] {
                nm.SetState(active, 2);
                EXPECT_TRUE(Eventually([&] { return service.IsConnected(); }));
            },
            3, ""},
        {"hung up by the user",
            [&] {
                // NetworkManager answers at once and takes the line down afterwards.
                nm.Call(kNmPath, "org.freedesktop.DBus.Mock",
                    {"AddMethod", "sssss", kNmService, "DeactivateConnection", "o", "", ""});
                service.HangUp();
            },
            3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(service.DialConnection("宽带连接").Started);
        EXPECT_TRUE(Eventually([&] { return service.OwnedLinkName() == "宽带连接"; }));
        c.before();
        // Down as NetworkManager takes it: its state, the signal with the reason, out of the list.
        nm.SetState(active, 4);
        nm.Call(active, "org.freedesktop.DBus.Mock",
            {"EmitSignal", "sssav", kNmActive, "StateChanged", "uu", "2", "u", "4", "u",
                std::to_string(c.reason)});
        nm.Call(kNmPath, "org.freedesktop.DBus.Mock", {"RemoveActiveConnection", "ss", kNmDevice, active});
        EXPECT_TRUE(Eventually([&] { return service.OwnedLinkName().empty(); }));
        EXPECT_EQ(service.TakeDialFailure(), c.failure);
        EXPECT_EQ(service.TakeDialFailure(), "");
    }
}

// Both worlds at once: NetworkManager's profiles first, then pppd's peers; a
// PPP link NetworkManager runs is named by it, one of `pppd call` by pppd.
TEST(CombinedDialupService, EachLinkIsNamedByItsOwnBackend)
{
    SKIP_WITHOUT_MOCK();
    NetworkManagerMock nm;
    ManualClock clock;
    PppWorld world;
    world.AddPeer("isp");
    world.AddPeer("宽带连接");
    world.MakeEmptyNet();
    std::string profile = nm.AddProfile("宽带连接", "pppoe");
    CombinedDialupService service(std::make_unique<NetworkManagerDialupService>(clock),
        std::make_unique<PppdDialupService>(world.Root()));
    EXPECT_EQ(service.Phonebook().Entries, (std::vector<std::string>{"宽带连接", "isp"}));

    world.SetInterface("ppp0", 512, "0x1091");  // NetworkManager's pppd: no pid file, no `call`
    std::string active = nm.Activate(profile);
    nm.SetState(active, 1);
    EXPECT_TRUE(Eventually([&] { return service.GetDefaultConnection() == "宽带连接"; }));
    nm.Call(kNmPath, kNmService, {"DeactivateConnection", "o", active});
    world.SetPidFile("ppp0.pid", "777\n");
    world.SetProcess(777, "pppd", {"/usr/sbin/pppd", "call", "isp"});
    EXPECT_TRUE(Eventually([&] { return service.GetDefaultConnection() == "isp"; }));
}

}  // namespace
