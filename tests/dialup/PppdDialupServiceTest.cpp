#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "dialup/DialupFixture.h"
#include "dialup/PppdDialupService.h"

extern char** environ;

using namespace tollix;
using namespace tollix::test;

namespace {

TEST(PppdDialupService, ConnectedOnlyWhileAPppInterfaceIsUp)
{
    EXPECT_FALSE(PppdDialupService(PppWorld().Root()).IsConnected()) << "no /sys at all";
    PppWorld world;
    world.MakeEmptyNet();
    PppdDialupService service(world.Root());
    const struct {
        const char* step;
        std::function<void()> change;
        bool connected;
    } steps[] = {
        {"no interfaces", [] {}, false},
        {"ethernet up, not ppp", [&] { world.SetInterface("eth0", 1, "0x1003"); }, false},
        {"ppp0 with flags unreadable", [&] { world.SetInterface("ppp0", 512, "garbage"); }, false},
        // A new interface under a known name may get the old inode number.
        {"ppp0 back as ethernet", [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 1, "1"); },
            false},
        {"ppp0 a ppp link again",
            [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 512, "1"); }, true},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(service.IsConnected(), s.connected) << s.step;
    }
}

// The link the meter times is the first ppp interface up by name; its name is
// the word after `call` on its owning pppd's command line, its identity the
// owner, interface index and boot; its counters the kernel's. ppp0 is owned by
// `pppd call isp` (pid 4242), ppp1 by `pppd call second`; each row changes one thing.
TEST(PppdDialupService, CurrentLinkAndItsNameComeFromTheOwningPppd)
{
    const std::string id = "pppd 4242 ppp0#7 boot-1";
    const auto owner = [](const char* comm, std::vector<std::string_view> args) {
        return [=](PppWorld& w) { w.SetProcess(4242, comm, args); };
    };
    const struct {
        const char* what;
        std::function<void(PppWorld&)> change;
        std::string name, identity;
        std::optional<uint64_t> received = 1234, sent = 56;
        const char* interface = "ppp0";
    } cases[] = {
        {"complete", [](PppWorld&) {}, "isp", id},
        {"call not first", owner("pppd", {"pppd", "nodetach", "call", "163 拨号", "persist"}), "163 拨号",
            id},
        {"call as the last word", owner("pppd", {"pppd", "call"}), "", id},
        {"name with a line break", owner("pppd", {"pppd", "call", "isp\nName=forged"}), "", id},
        {"pid file names a process that is not pppd", owner("sleep", {"sleep", "call", "isp"}), "", ""},
        {"no pid file", [](PppWorld& w) { std::filesystem::remove(w.Root() / "run/ppp0.pid"); }, "", ""},
        {"boot unknown", [](PppWorld& w) { std::filesystem::remove_all(w.Root() / "proc/sys"); }, "isp", ""},
        {"ppp0 down", [](PppWorld& w) { w.SetInterface("ppp0", 512, "0x1090"); }, "second", "", std::nullopt,
            std::nullopt, "ppp1"},
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.SetInterface("ppp1", 512, "0x1091");
        world.SetInterface("ppp0", 512, "0x1091");
        WriteFile(world.Net() / "ppp0/ifindex", "7\n");
        WriteFile(world.Net() / "ppp0/statistics/rx_bytes", "1234\n");
        WriteFile(world.Net() / "ppp0/statistics/tx_bytes", "56\n");
        WriteFile(world.Root() / "proc/sys/kernel/random/boot_id", "boot-1\n");
        world.SetPidFile("ppp0.pid", "4242\n");
        world.SetPidFile("ppp1.pid", "101\n");
        world.SetProcess(4242, "pppd", {"pppd", "call", "isp"});
        world.SetProcess(101, "pppd", {"pppd", "call", "second"});
        c.change(world);
        PppdDialupService service(world.Root());
        EXPECT_EQ(service.GetDefaultConnection(), c.name) << c.what;
        const LinkInfo link = service.CurrentLink();
        EXPECT_EQ(link.Interface, c.interface) << c.what;
        EXPECT_EQ(link.Identity, c.identity) << c.what;
        EXPECT_EQ(link.ReceivedBytes, c.received) << c.what;
        EXPECT_EQ(link.SentBytes, c.sent) << c.what;
    }
}

// A name from the bus becomes a path under /sys: only what the kernel accepts.
TEST(DialupService, InterfaceNamesAreTheKernels)
{
    for (const char* name : {"ppp0", "wwan0", "enp0s31f6", "a-b_c.d@e", "123456789012345"})
        EXPECT_TRUE(IsInterfaceName(name)) << name;
    for (const char* name : {"", ".", "..", "../etc", "a/b", "eth0:1", "a b", "1234567890123456", "网卡"})
        EXPECT_FALSE(IsInterfaceName(name)) << name;
}

// Readable only by the group dip, as on Debian. Root reads anything, so the
// check runs in a child that gives up root and answers by its exit status.
TEST(PppdDialupService, PhonebookWithoutPermissionSaysHowToGetIt)
{
    PppWorld world;
    world.AddPeer("isp");
    ::chmod(world.Root().c_str(), 0755);
    ::chmod(world.Peers().c_str(), ::geteuid() == 0 ? 0750 : 0);
    // 1: read as readable, 2: no word of permission and dip, 3: no setuid.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0
                && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(3);
            PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
            bool told
                = book.Error.find("权限") != std::string::npos && book.Error.find("dip") != std::string::npos;
            ::_exit(book.Readable ? 1 : told ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

// The phonebook lists the peers a user may call, whatever their names hold;
// only those are dialled, each as one argument.
TEST(PppdDialupService, DialsOnlyPhonebookEntriesAsOneArgument)
{
    const std::vector<std::string> entries
        = {"$(touch pwned)", "-leading", "a..b", "a;b", "isp", "linked", "with blank", "中国电信"};
    const std::vector<std::string> refused
        = {"not an entry", ".hidden", "isp.bak", "folder", "../../../bin/sh", "isp\n", ""};
    PppWorld world;
    for (const std::string& name : entries)
        world.AddPeer(name);
    for (const char* name :
        {".hidden", "isp~", "isp.bak", "ctl\x01name", "line\nbreak", "tab\tname", "bad\xff utf8", "del\x7f"})
        world.AddPeer(name);
    std::filesystem::remove(world.Peers() / "linked");
    std::filesystem::create_symlink("isp", world.Peers() / "linked");
    std::filesystem::create_symlink("missing", world.Peers() / "dangling");
    std::filesystem::create_directories(world.Peers() / "folder");
    EXPECT_EQ(PppdDialupService(world.Root()).Phonebook().Entries, entries);
    FakePppd pppd;
    ScopedEnv path = pppd.FirstOnPath();
    PppdDialupService service(world.Root());
    for (const std::string& name : refused) {
        DialResult result = service.DialConnection(name);
        EXPECT_FALSE(result.Started) << name;
        EXPECT_NE(result.Error.find("不是拨号网络电话簿中的连接"), std::string::npos) << result.Error;
    }
    for (const std::string& name : entries) {
        std::filesystem::remove(pppd.Record());
        EXPECT_TRUE(service.DialConnection(name).Started) << name;
        EXPECT_TRUE(Eventually([&] { return std::filesystem::exists(pppd.Record()); }));
        EXPECT_EQ(ReadFile(pppd.Record()), "call" + std::string(1, '\0') + name + '\0');
    }
}

// A dialer that ends before a link comes up is told once, with the meaning of
// its exit status and its own last word; one that went to the background,
// brought a link up or was hung up (and so stopped) is not. Each is reaped.
TEST(PppdDialupService, ADialThatFailsSaysWhyOnce)
{
    const struct {
        const char* what;
        const char* script;
        bool linkUp, hangUp;
        std::string failure;
    } cases[] = {
        {"bad options: the first complaint",
            "echo '/usr/sbin/pppd: unrecognized option' >&2\necho more >&2\nexit 2", false, false,
            "拨号“isp”失败：连接的设置有误，或找不到这个连接的设置文件（pppd：unrecognized option）。"},
        {"its last logged line before any complaint",
            "echo 'Serial connection established.'\necho 'Connect script failed'\necho bad >&2\nexit 8",
            false, false, "拨号“isp”失败：拨号脚本失败（没有应答或线路忙）（pppd：Connect script failed）。"},
        {"silent, unknown status", "exit 42", false, false, "拨号“isp”失败：拨号程序以状态 42 退出。"},
        {"went to the background", "echo 'Serial connection established.'\nexit 0", false, false, ""},
        {"the link came up first", "sleep 0.5\nexit 16", true, false, ""},
        {"hung up while dialling: stopped, not told", "exec sleep 30", false, true, ""},
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.AddPeer("isp");
        world.MakeEmptyNet();
        if (c.linkUp)
            world.SetInterface("ppp0", 512, "0x1091");
        FakePppd pppd(std::string("#!/bin/sh\n") + c.script + "\n");
        ScopedEnv path = pppd.FirstOnPath();
        PppdDialupService service(world.Root());
        ASSERT_TRUE(service.DialConnection("isp").Started) << c.what;
        if (c.hangUp)
            service.HangUp();
        // No child left, not even a zombie: a dialer never reaped would stay one for good.
        siginfo_t info{};
        EXPECT_TRUE(Eventually([&] {
            return service.IsConnected(), ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0;
        })) << c.what;
        EXPECT_EQ(service.TakeDialFailure(), c.failure) << c.what;
        EXPECT_EQ(service.TakeDialFailure(), "") << c.what << ": said twice";
    }
}

// The real pppd, where this machine has no /dev/ppp, started through the
// service: a wrapper first on PATH runs it with the fixture's peers folder in
// place of /etc/ppp/peers, in a mount namespace of its own.
TEST(PppdDialupService, TheRealPppdSaysThereIsNoKernelSupport)
{
    PppWorld world;
    WriteFile(world.Peers() / "isp", "/dev/null\nnoauth\n");
    const std::string unshare = std::string("unshare -m --propagation private") + (::geteuid() ? " -r" : "");
    if (std::filesystem::exists("/dev/ppp") || !std::filesystem::exists("/usr/sbin/pppd")
        || std::system((unshare + " true 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "needs the real pppd (package ppp), mount namespaces, and no /dev/ppp";
    FakePppd wrapper("#!/bin/sh\nexec " + unshare + " sh -c 'mount --bind " + world.Peers().string()
        + " /etc/ppp/peers && exec /usr/sbin/pppd \"$@\"' pppd \"$@\"\n");
    ScopedEnv path = wrapper.FirstOnPath();
    PppdDialupService service(world.Root());
    ASSERT_TRUE(service.DialConnection("isp").Started);
    std::string failure;
    Eventually([&] { return !(failure = service.TakeDialFailure()).empty(); });
    EXPECT_EQ(failure,
        "拨号“isp”失败：系统内核不支持 PPP（没有 /dev/ppp 设备）（pppd：Couldn't open the /dev/ppp device: "
        "No such file or directory）。");
}

TEST(PppdDialupService, FindsPppdOnPathThenInSbin)
{
    FakePppd first, second;
    TempFolder empty;
    // A relative entry names the current folder's pppd, whoever put it there: skipped.
    const std::string path = empty.Path().string() + "::" + std::filesystem::relative(first.Bin()).string()
        + ":" + second.Bin().string() + ":" + first.Bin().string();
    EXPECT_EQ(PppdDialupService::FindPppd(path.c_str()), (second.Bin() / "pppd").string());
    std::string fallback = std::filesystem::exists("/usr/sbin/pppd") ? "/usr/sbin/pppd" : "";
    EXPECT_EQ(PppdDialupService::FindPppd(empty.Path().c_str()), fallback);
    EXPECT_EQ(PppdDialupService::FindPppd(nullptr), fallback);
}

// Two real processes; the world's /proc says which one is pppd (the other's
// pid file is stale: its pid now belongs to something else).
TEST(PppdDialupService, HangUpSignalsOnlyPppd)
{
    const auto spawn = [] {
        const char* argv[] = {"sleep", "30", nullptr};
        pid_t pid = -1;
        ::posix_spawn(&pid, "/bin/sleep", nullptr, nullptr, const_cast<char**>(argv), environ);
        return pid;
    };
    const pid_t pppd = spawn(), unrelated = spawn();
    ASSERT_GT(pppd, 0);
    ASSERT_GT(unrelated, 0);
    PppWorld world;
    world.SetProcess(pppd, "pppd", {"pppd", "call", "isp"});
    world.SetProcess(unrelated, "sleep", {"sleep", "30"});
    world.SetPidFile("ppp0.pid", std::to_string(pppd) + "\n");
    world.SetPidFile("ppp1.pid", std::to_string(unrelated) + "\n");
    PppdDialupService(world.Root()).HangUp();
    int status = 0;
    ASSERT_TRUE(Eventually([&] { return ::waitpid(pppd, &status, WNOHANG) == pppd; }))
        << "pppd not signalled";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(Eventually([&] { return ::waitpid(unrelated, &status, WNOHANG) == unrelated; }, 300))
        << "an unrelated process was signalled";
    ::kill(unrelated, SIGKILL);
    ::waitpid(unrelated, &status, 0);
}

}  // namespace
