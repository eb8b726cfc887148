#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "dialup/DialupFixture.h"
#include "dialup/PppdDialupService.h"

extern char** environ;

using namespace tollix::test;
using tollix::PppdDialupService;

namespace {

bool WaitFor(const std::function<bool()>& done, int millis = 5000)
{
    for (int i = 0; i < millis / 10; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        if (done())
            return true;
    return done();
}

// Children of this test process as /proc lists them, zombies included: a
// dialer the service started and never reaped stays here for good.
int Children()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        if (!std::isdigit(static_cast<unsigned char>(entry.path().filename().string()[0])))
            continue;
        const std::string stat = ReadFile(entry.path() / "stat");
        const size_t end = stat.rfind(") ");  // the name may hold anything, even ") "
        count += end != std::string::npos && std::atoi(stat.c_str() + end + 4) == ::getpid();
    }
    return count;
}

// Lets the service reap what has finished, then counts what is left.
int ChildrenLeft(PppdDialupService& service)
{
    int left = 0;
    WaitFor([&] { return service.IsConnected(), (left = Children()) == 0; });
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
        {"up bit only, decimal", [&] { world.SetInterface("ppp0", 512, "1"); }, true},
        // A new interface under a known name may get the old inode number.
        {"ppp0 back as ethernet", [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 1, "1"); },
            false},
        {"ppp0 a ppp link again",
            [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp0", 512, "1"); }, true},
        {"type unreadable", [&] { world.RemoveInterface("ppp0"), world.SetInterface("ppp2", -1, "1"); },
            false},
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
        const char* flags = "0x1091";
    } cases[] = {
        {"plain call", "4242\n", "pppd", {"/usr/sbin/pppd", "call", "isp"}, "isp"},
        {"call not first", "4242\n", "pppd", {"pppd", "nodetach", "call", "163 拨号", "persist"}, "163 拨号"},
        {"NetworkManager pppd without call", "4242\n", "pppd", {"/usr/sbin/pppd", "plugin", "rp-pppoe.so"},
            ""},
        {"call as the last word", "4242\n", "pppd", {"pppd", "call"}, ""},
        {"stale pid file, no such process", "4242\n", std::nullopt, {}, ""},
        {"pid file names a process that is not pppd", "4242\n", "sleep", {"sleep", "call", "isp"}, ""},
        {"no pid file", std::nullopt, "pppd", callIsp, ""},
        {"pid file not a number", "4242x\n", "pppd", callIsp, ""},
        {"line down", "4242\n", "pppd", callIsp, "", "0x1090"},
        {"name with a line break", "4242\n", "pppd", {"pppd", "call", "isp\nName=forged"}, ""},
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.SetInterface("ppp0", 512, c.flags);
        if (c.pidFile)
            world.SetPidFile("ppp0.pid", *c.pidFile);
        if (c.comm)
            world.SetProcess(4242, *c.comm, c.args);
        EXPECT_EQ(PppdDialupService(world.Root()).GetDefaultConnection(), c.name) << c.what;
    }
    // Two links: the first one up, by interface name.
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
                EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(pppd.Record()); }));
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
    if (fallback.empty()) {
        PppWorld world;
        world.AddPeer("isp");
        ScopedEnv emptyPath("PATH", empty.Path().c_str());
        tollix::DialResult result = PppdDialupService(world.Root()).DialConnection("isp");
        EXPECT_FALSE(result.Started);
        EXPECT_NE(result.Error.find("找不到拨号程序 pppd"), std::string::npos) << result.Error;
    }
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
    ASSERT_TRUE(WaitFor([&] { return ::waitpid(pppd, &status, WNOHANG) == pppd; })) << "pppd not signalled";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(WaitFor([&] { return ::waitpid(unrelated, &status, WNOHANG) == unrelated; }, 300))
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
