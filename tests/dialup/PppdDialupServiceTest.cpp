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

using namespace tollix::test;
using tollix::PppdDialupService;

namespace {

// Children of this test process as /proc lists them, zombies included: a
// dialer the service started and never reaped stays here for good.
int Children()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        if (!std::isdigit(static_cast<unsigned char>(entry.path().filename().string()[0])))
            continue;
        std::string stat;
        try {
            stat = ReadFile(entry.path() / "stat");
        } catch (const std::ios_base::failure&) {
            continue;  // the process ended between listing and reading: ESRCH
        }
        const size_t end = stat.rfind(") ");  // the name may hold anything, even ") "
        count += end != std::string::npos && std::atoi(stat.c_str() + end + 4) == ::getpid();
    }
    return count;
}

// Lets the service reap what has finished, then counts what is left.
int ChildrenLeft(PppdDialupService& service)
{
    int left = 0;
    Eventually([&] { return service.IsConnected(), (left = Children()) == 0; });
    return left;
}

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
        {"ppp0 down", [&] { world.SetInterface("ppp0", 512, "0x1090"); }, false},
        {"ppp0 up", [&] { world.SetInterface("ppp0", 512, "0x1091"); }, true},
        {"its flags unreadable", [&] { world.SetInterface("ppp0", 512, "garbage"); }, false},
        // A new interface under a known name may get the old inode number.
        {"ppp0 back as ethernet", [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 1, "1"); },
            false},
        {"ppp0 a ppp link again",
            [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 512, "1"); }, true},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(service.IsConnected(), s.connected) << s.step;
        EXPECT_EQ(PppdDialupService(world.Root()).IsConnected(), s.connected) << s.step << " (fresh)";
    }
}

TEST(PppdDialupService, ConnectionNameComesFromTheOwningPppd)
{
    // ppp0 with its pid file naming process 4242; nullopt leaves the file or the process out.
    const std::vector<std::string_view> callIsp = {"pppd", "call", "isp"};
    const struct {
        const char* what;
        std::optional<std::string> pidFile, comm;
        std::vector<std::string_view> args;
        std::string name;
    } cases[] = {
        {"call not first", "4242\n", "pppd", {"pppd", "nodetach", "call", "163 拨号", "persist"}, "163 拨号"},
        {"call as the last word", "4242\n", "pppd", {"pppd", "call"}, ""},
        {"stale pid file, no such process", "4242\n", std::nullopt, {}, ""},
        {"pid file names a process that is not pppd", "4242\n", "sleep", {"sleep", "call", "isp"}, ""},
        {"no pid file", std::nullopt, "pppd", callIsp, ""},
        {"pid file not a number", "4242x\n", "pppd", callIsp, ""},
        {"name with a line break", "4242\n", "pppd", {"pppd", "call", "isp\nName=forged"}, ""},
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.SetInterface("ppp0", 512, "0x1091");
        if (c.pidFile)
            world.SetPidFile("ppp0.pid", *c.pidFile);
        if (c.comm)
            world.SetProcess(4242, *c.comm, c.args);
        EXPECT_EQ(PppdDialupService(world.Root()).GetDefaultConnection(), c.name) << c.what;
    }
    // Two links: the first one up, by interface name; a link that is down has no name.
    for (const auto& [ppp0Flags, name] : {std::pair{"0x1091", "first"}, std::pair{"0x1090", "second"}}) {
        PppWorld world;
        world.SetInterface("ppp1", 512, "0x1091");
        world.SetInterface("ppp0", 512, ppp0Flags);
        world.SetPidFile("ppp0.pid", "100\n");
        world.SetPidFile("ppp1.pid", "101\n");
        world.SetProcess(100, "pppd", {"pppd", "call", "first"});
        world.SetProcess(101, "pppd", {"pppd", "call", "second"});
        EXPECT_EQ(PppdDialupService(world.Root()).GetDefaultConnection(), name) << ppp0Flags;
    }
}

// The link the meter times: the interface the name comes from, an identity of
// owner, interface index and boot, and the kernel's counters.
TEST(PppdDialupService, CurrentLinkIsTheTimedInterface)
{
    const struct {
        const char* what;
        std::function<void(PppWorld&)> change;
        std::string identity;
        std::optional<uint64_t> received, sent;
    } cases[] = {
        {"complete", [](PppWorld&) {}, "pppd 4242 ppp0#7 boot-1", 1234, 56},
        {"counters not a number, beyond 64 bits",
            [](PppWorld& w) {
                WriteFile(w.Net() / "ppp0/statistics/rx_bytes", "12x\n");
                WriteFile(w.Net() / "ppp0/statistics/tx_bytes", "18446744073709551616\n");
            },
            "pppd 4242 ppp0#7 boot-1", std::nullopt, std::nullopt},
        {"owner unknown", [](PppWorld& w) { std::filesystem::remove(w.Root() / "run/ppp0.pid"); }, "", 1234,
            56},
        {"boot unknown", [](PppWorld& w) { std::filesystem::remove_all(w.Root() / "proc/sys"); }, "", 1234,
            56},
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
        world.SetProcess(4242, "pppd", {"pppd", "call", "isp"});
        c.change(world);
        tollix::LinkInfo link = PppdDialupService(world.Root()).CurrentLink();
        EXPECT_EQ(link.Interface, "ppp0") << c.what;
        EXPECT_EQ(link.Identity, c.identity) << c.what;
        EXPECT_EQ(link.ReceivedBytes, c.received) << c.what;
        EXPECT_EQ(link.SentBytes, c.sent) << c.what;
    }
}

// A name from the bus becomes a path under /sys: only what the kernel accepts.
TEST(DialupService, InterfaceNamesAreTheKernels)
{
    for (const char* name : {"ppp0", "wwan0", "enp0s31f6", "a-b_c.d@e", "123456789012345"})
        EXPECT_TRUE(tollix::IsInterfaceName(name)) << name;
    for (const char* name : {"", ".", "..", "../etc", "a/b", "eth0:1", "a b", "1234567890123456", "网卡"})
        EXPECT_FALSE(tollix::IsInterfaceName(name)) << name;
}

TEST(PppdDialupService, PhonebookListsOnlyDiallablePeers)
{
    PppWorld world;
    for (const char* name :
        {"isp", "with blank", "中国电信", "a;b", "$(reboot)", "-leading", "a..b", "zeta", ".hidden", "isp~",
            "isp.bak", "ctl\x01name", "line\nbreak", "tab\tname", "bad\xff utf8", "del\x7f"})
        world.AddPeer(name);
    std::filesystem::create_directories(world.Peers() / "folder");
    std::filesystem::create_symlink("isp", world.Peers() / "linked");
    std::filesystem::create_symlink("missing", world.Peers() / "dangling");
    tollix::PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
    EXPECT_TRUE(book.Readable);
    EXPECT_EQ(book.Entries,
        (std::vector<std::string>{
            "$(reboot)", "-leading", "a..b", "a;b", "isp", "linked", "with blank", "zeta", "中国电信"}));
}

// Readable only by the group dip, as on Debian. Root reads anything, so the
// check runs in a child that gives up root and answers by its exit status.
TEST(PppdDialupService, PhonebookWithoutPermissionSaysHowToGetIt)
{
    PppWorld world;
    world.AddPeer("isp");
    ::chmod(world.Root().c_str(), 0755);
    ::chmod(world.Peers().c_str(), ::geteuid() == 0 ? 0750 : 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        tollix::PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
        bool told
            = book.Error.find("权限") != std::string::npos && book.Error.find("dip") != std::string::npos;
        ::_exit(book.Readable ? 1 : told ? 0 : 2);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "1: read as readable, 2: no word of permission and dip, 3: no setuid";
}

TEST(PppdDialupService, DialsOnlyPhonebookEntriesAsOneArgument)
{
    const std::vector<std::string> entries
        = {"isp", "with blank", "a;b", "$(touch pwned)", "-leading", "中国电信"};
    const std::vector<std::string> refused
        = {"not an entry", ".hidden", "isp.bak", "../../../bin/sh", "isp\n", ""};
    PppWorld world;
    for (const std::string& name : entries)
        world.AddPeer(name);
    world.AddPeer(".hidden");
    world.AddPeer("isp.bak");
    for (const auto& list : {entries, refused}) {
        for (const std::string& name : list) {
            FakePppd pppd;
            ScopedEnv path = pppd.FirstOnPath();
            PppdDialupService service(world.Root());
            tollix::DialResult result = service.DialConnection(name);
            if (std::count(entries.begin(), entries.end(), name)) {
                EXPECT_TRUE(result.Started && result.Error.empty()) << name << ": " << result.Error;
                EXPECT_TRUE(Eventually([&] { return std::filesystem::exists(pppd.Record()); }));
                EXPECT_EQ(ReadFile(pppd.Record()), "call" + std::string(1, '\0') + name + '\0');
                EXPECT_EQ(ChildrenLeft(service), 0) << "unreaped: " << name;
            } else {
                EXPECT_FALSE(result.Started) << name;
                EXPECT_NE(result.Error.find("不是拨号网络电话簿中的连接"), std::string::npos) << result.Error;
                EXPECT_FALSE(std::filesystem::exists(pppd.Record())) << name;
            }
        }
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "pwned"));
}

// A dialer that ends before a link comes up is told once, with the meaning of
// its exit status and its own last word; one that went to the background,
// brought a link up or was hung up is not.
TEST(PppdDialupService, ADialThatFailsSaysWhyOnce)
{
    const struct {
        const char* what;
        const char* script;
        bool linkUp, hangUp;
        std::string failure;
    } cases[] = {
        {"bad options: the first complaint",
            "echo '/usr/sbin/pppd: In file /etc/ppp/peers/isp: unrecognized option' >&2\necho more >&2\nexit "
            "2",
            false, false,
            "拨号“isp”失败：连接的设置有误，或找不到这个连接的设置文件（pppd：In file /etc/ppp/peers/isp: "
            "unrecognized option）。"},
        {"silent, unknown status", "exit 42", false, false, "拨号“isp”失败：拨号程序以状态 42 退出。"},
        {"went to the background", "echo 'Serial connection established.'\nexit 0", false, false, ""},
        {"the link came up first", "sleep 0.5\nexit 16", true, false, ""},
        {"hung up while dialling", "sleep 0.5\nexit 5", false, true, ""},
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
        service.IsConnected();
        if (c.hangUp)
            service.HangUp();
        std::string failure;
        Eventually([&] {
            return service.IsConnected(), (failure = service.TakeDialFailure()) != "" || Children() == 0;
        });
        if (failure.empty())
            failure = service.TakeDialFailure();
        EXPECT_EQ(failure, c.failure) << c.what;
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
    EXPECT_FALSE(service.IsConnected());
}

TEST(PppdDialupService, FindsPppdOnPathThenInSbin)
{
    FakePppd first, second;
    TempFolder empty;
    std::string path
        = empty.Path().string() + "::relative:" + first.Bin().string() + ":" + second.Bin().string();
    EXPECT_EQ(PppdDialupService::FindPppd(path.c_str()), (first.Bin() / "pppd").string());
    std::string fallback = std::filesystem::exists("/usr/sbin/pppd") ? "/usr/sbin/pppd" : "";
    EXPECT_EQ(PppdDialupService::FindPppd(empty.Path().c_str()), fallback);
    EXPECT_EQ(PppdDialupService::FindPppd(nullptr), fallback);
}

pid_t Spawn(const std::filesystem::path& program, const char* name)
{
    char* argv[] = {const_cast<char*>(name), const_cast<char*>("30"), nullptr};
    pid_t pid = -1;
    return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

TEST(PppdDialupService, HangUpSignalsOnlyPppd)
{
    TempFolder bin;
    std::filesystem::copy_file("/bin/sleep", bin.Path() / "pppd");
    std::filesystem::permissions(bin.Path() / "pppd", std::filesystem::perms::owner_all);
    pid_t pppd = Spawn(bin.Path() / "pppd", "pppd");
    pid_t unrelated = Spawn("/bin/sleep", "sleep");
    ASSERT_GT(pppd, 0);
    ASSERT_GT(unrelated, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // until comm is the program's name

    PppWorld world;
    world.UseRealProc();
    // ppp1.pid is stale: its pid now belongs to sleep.
    const std::pair<const char*, pid_t> pidFiles[] = {{"ppp0.pid", pppd}, {"ppp-isp.pid", pppd},
        {"ppp1.pid", unrelated}, {"self.pid", ::getpid()}, {"init.pid", 1}, {"junk.pid", -15}};
    for (const auto& [file, pid] : pidFiles)
        world.SetPidFile(file, std::to_string(pid) + "\n");
    PppdDialupService(world.Root()).HangUp();
    int status = 0;
    ASSERT_TRUE(Eventually([&] { return ::waitpid(pppd, &status, WNOHANG) == pppd; }))
        << "pppd not signalled";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(Eventually([&] { return ::waitpid(unrelated, &status, WNOHANG) == unrelated; }, 300))
        << "an unrelated process was signalled";
    ::kill(unrelated, SIGKILL);
    ::waitpid(unrelated, &status, 0);

    // A pppd this service started, still dialling, is stopped too.
    PppWorld dialWorld;
    dialWorld.AddPeer("isp");
    dialWorld.UseRealProc();
    FakePppd slow("#!/bin/sh\nexec /bin/sleep 30\n");
    ScopedEnv path("PATH", slow.Bin().string().c_str());
    PppdDialupService service(dialWorld.Root());
    ASSERT_TRUE(service.DialConnection("isp").Started);
    EXPECT_EQ(Children(), 1);
    service.HangUp();
    EXPECT_EQ(ChildrenLeft(service), 0);
}

}  // namespace
