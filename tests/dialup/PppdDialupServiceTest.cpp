#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "dialup/DialupFixture.h"
#include "dialup/PppdDialupService.h"

extern char** environ;

using tollix::PppdDialupService;
using tollix::test::PppWorld;
using tollix::test::ReadFile;
using tollix::test::ScopedEnv;
using tollix::test::TempFolder;
using tollix::test::WriteFile;

namespace {

struct Interface {
    const char* name;
    int type;
    const char* flags;
};

TEST(PppdDialupService, ConnectedOnlyWhileAPppInterfaceIsUp)
{
    const struct {
        const char* what;
        std::vector<Interface> interfaces;
        bool connected;
    } cases[] = {
        { "ppp up", { { "ppp0", 512, "0x1091" } }, true },
        { "ppp down", { { "ppp0", 512, "0x1090" } }, false },
        { "ethernet up, not ppp", { { "lo", 772, "0x9" }, { "eth0", 1, "0x1003" } }, false },
        { "no interfaces", {}, false },
        { "two links, the second up", { { "ppp0", 512, "0x1090" }, { "ppp1", 512, "0x1091" } }, true },
        { "ppp with any name", { { "isp-link", 512, "0x11" } }, true },
        { "flags unreadable text", { { "ppp0", 512, "garbage" } }, false },
        { "type unreadable text", { { "ppp0", -1, "0x1091" } }, false },
        { "up bit only, decimal", { { "ppp0", 512, "1" } }, true },
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.MakeEmptyNet();
        for (const Interface& i : c.interfaces)
            world.SetInterface(i.name, i.type, i.flags);
        PppdDialupService service(world.Root());
        EXPECT_EQ(service.IsConnected(), c.connected) << c.what;
        // The second ask goes through the cached interface types.
        EXPECT_EQ(service.IsConnected(), c.connected) << c.what << " (asked again)";
    }

    PppWorld noSys;
    EXPECT_FALSE(PppdDialupService(noSys.Root()).IsConnected());
}

TEST(PppdDialupService, FollowsTheLineAsInterfacesComeAndGo)
{
    PppWorld world;
    world.MakeEmptyNet();
    PppdDialupService service(world.Root());
    const struct {
        const char* step;
        std::function<void()> change;
        bool connected;
    } steps[] = {
        { "nothing", [] {}, false },
        { "ethernet appears", [&] { world.SetInterface("eth0", 1, "0x1003"); }, false },
        { "ppp0 appears down", [&] { world.SetInterface("ppp0", 512, "0x1090"); }, false },
        { "ppp0 goes up", [&] { world.SetInterface("ppp0", 512, "0x1091"); }, true },
        { "ppp0 goes down", [&] { world.SetInterface("ppp0", 512, "0x1090"); }, false },
        { "ppp0 removed", [&] { world.RemoveInterface("ppp0"); }, false },
        // A new interface under a known name may get the old inode number.
        { "ppp0 back as ethernet", [&] { world.SetInterface("ppp0", 1, "0x1003"); }, false },
        { "ppp0 replaced by a ppp link",
            [&] {
                world.RemoveInterface("ppp0");
                world.SetInterface("ppp0", 512, "0x1091");
            },
            true },
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(service.IsConnected(), s.connected) << s.step;
    }
}

TEST(PppdDialupService, ConnectionNameComesFromTheOwningPppd)
{
    const struct {
        const char* what;
        std::vector<Interface> interfaces;
        std::vector<std::pair<const char*, const char*>> pidFiles;
        std::function<void(PppWorld&)> processes;
        std::string name;
    } cases[] = {
        { "plain call", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "/usr/sbin/pppd", "call", "isp" });
            },
            "isp" },
        { "call not first", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "pppd", "nodetach", "debug", "call", "163 拨号", "persist" });
            },
            "163 拨号" },
        { "NetworkManager pppd without call", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd",
                    { "/usr/sbin/pppd", "plugin", "rp-pppoe.so", "nodetach", "ipparam",
                        "/org/freedesktop/NetworkManager/PPP/1" });
            },
            "" },
        { "call as the last word", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "pppd", "call" });
            },
            "" },
        { "stale pid file, no such process", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld&) {}, "" },
        { "pid file names a process that is not pppd", { { "ppp0", 512, "0x1091" } },
            { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "sleep", { "sleep", "call", "isp" });
            },
            "" },
        { "no pid file", { { "ppp0", 512, "0x1091" } }, {},
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "pppd", "call", "isp" });
            },
            "" },
        { "pid file not a number", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "42x\n" } },
            [](PppWorld& w) {
                w.SetProcess(42, "pppd", { "pppd", "call", "isp" });
            },
            "" },
        { "pid file empty", { { "ppp0", 512, "0x1091" } }, { { "ppp0.pid", "" } }, [](PppWorld&) {}, "" },
        { "line down", { { "ppp0", 512, "0x1090" } }, { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "pppd", "call", "isp" });
            },
            "" },
        { "two links up: the first by name", { { "ppp1", 512, "0x1091" }, { "ppp0", 512, "0x1091" } },
            { { "ppp0.pid", "100\n" }, { "ppp1.pid", "101\n" } },
            [](PppWorld& w) {
                w.SetProcess(100, "pppd", { "pppd", "call", "first" });
                w.SetProcess(101, "pppd", { "pppd", "call", "second" });
            },
            "first" },
        { "two links, only the second up", { { "ppp0", 512, "0x1090" }, { "ppp1", 512, "0x1091" } },
            { { "ppp0.pid", "100\n" }, { "ppp1.pid", "101\n" } },
            [](PppWorld& w) {
                w.SetProcess(100, "pppd", { "pppd", "call", "first" });
                w.SetProcess(101, "pppd", { "pppd", "call", "second" });
            },
            "second" },
        { "name with a line break is not passed on", { { "ppp0", 512, "0x1091" } },
            { { "ppp0.pid", "4242\n" } },
            [](PppWorld& w) {
                w.SetProcess(4242, "pppd", { "pppd", "call", "isp\nName=forged" });
            },
            "" },
    };
    for (const auto& c : cases) {
        PppWorld world;
        world.MakeEmptyNet();
        for (const Interface& i : c.interfaces)
            world.SetInterface(i.name, i.type, i.flags);
        for (const auto& [file, contents] : c.pidFiles)
            world.SetPidFile(file, contents);
        c.processes(world);
        PppdDialupService service(world.Root());
        EXPECT_EQ(service.GetDefaultConnection(), c.name) << c.what;
    }
}

TEST(PppdDialupService, PhonebookListsOnlyDiallablePeers)
{
    PppWorld world;
    for (const char* name :
        { "isp", "with blank", "中国电信", "a;b", "$(reboot)", "-leading", "a..b", "zeta", ".hidden", "isp~",
            "isp.bak", "ctl\x01name", "line\nbreak", "tab\tname", "bad\xff utf8", "del\x7f" })
        world.AddPeer(name);
    std::filesystem::create_directories(world.Peers() / "folder");
    std::filesystem::create_symlink("isp", world.Peers() / "linked");
    std::filesystem::create_symlink("missing", world.Peers() / "dangling");

    PppdDialupService service(world.Root());
    tollix::PhonebookResult book = service.Phonebook();
    EXPECT_TRUE(book.Readable);
    const std::vector<std::string> expected
        = { "$(reboot)", "-leading", "a..b", "a;b", "isp", "linked", "with blank", "zeta", "中国电信" };
    EXPECT_EQ(book.Entries, expected);
}

TEST(PppdDialupService, PhonebookThatCannotBeReadSaysWhy)
{
    // Not installed at all: an empty phonebook, which start-up reports itself.
    {
        PppWorld world;
        tollix::PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
        EXPECT_TRUE(book.Readable);
        EXPECT_TRUE(book.Entries.empty());
    }
    // Something that is not a folder.
    {
        PppWorld world;
        WriteFile(world.Peers(), "x");
        tollix::PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
        EXPECT_FALSE(book.Readable);
        EXPECT_NE(book.Error.find("不是文件夹"), std::string::npos) << book.Error;
    }
    // Readable only by the group dip, as on Debian. Root reads anything, so the
    // check runs in a child that gives up root.
    {
        PppWorld world;
        world.AddPeer("isp");
        ::chmod(world.Root().c_str(), 0755);
        ::chmod(world.Peers().c_str(), ::geteuid() == 0 ? 0750 : 0);
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(pipeFds[0]);
            if (::geteuid() == 0
                && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(3);
            tollix::PhonebookResult book = PppdDialupService(world.Root()).Phonebook();
            std::string report = (book.Readable ? "1" : "0") + book.Error;
            ssize_t ignored = ::write(pipeFds[1], report.data(), report.size());
            (void)ignored;
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        std::string report;
        char buffer[1024];
        ssize_t n;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            report.append(buffer, size_t(n));
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child could not give up root";
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(report[0], '0') << report;
        EXPECT_NE(report.find("权限"), std::string::npos) << report;
        EXPECT_NE(report.find("dip"), std::string::npos) << report;
    }
}

// A pppd stand-in first on PATH that records the arguments it was given.
class FakePppd {
public:
    explicit FakePppd(const std::string& body = "")
    {
        std::filesystem::path script = bin_.Path() / "pppd";
        std::string text = body.empty()
            ? "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"" + Record().string()
                + ".tmp\"\nmv \"" + Record().string() + ".tmp\" \"" + Record().string() + "\"\n"
            : body;
        WriteFile(script, text);
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::filesystem::path Bin() const { return bin_.Path(); }
    std::filesystem::path Record() const { return bin_.Path() / "argv"; }
    // The arguments of the first run, once it has finished.
    std::vector<std::string> WaitForArguments() const
    {
        for (int i = 0; i < 500 && !std::filesystem::exists(Record()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<std::string> args;
        std::string text = ReadFile(Record());
        size_t start = 0;
        for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
            args.push_back(text.substr(start, end - start));
        return args;
    }

private:
    TempFolder bin_;
};

bool WaitUntilNoDialers(PppdDialupService& service)
{
    for (int i = 0; i < 500; ++i) {
        if (service.RunningDialers() == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(PppdDialupService, DialsOnlyPhonebookEntriesAsOneArgument)
{
    const struct {
        std::string name;
        bool started;
    } cases[] = {
        { "isp", true },
        { "with blank", true },
        { "a;b", true },
        { "$(touch pwned)", true },
        { "-leading", true },
        { "中国电信", true },
        { "not an entry", false },
        { ".hidden", false },
        { "isp.bak", false },
        { "../../../bin/sh", false },
        { "isp\n", false },
        { "", false },
    };
    PppWorld world;
    for (const char* name :
        { "isp", "with blank", "a;b", "$(touch pwned)", "-leading", "中国电信", ".hidden", "isp.bak" })
        world.AddPeer(name);
    for (const auto& c : cases) {
        FakePppd pppd;
        ScopedEnv path("PATH", (pppd.Bin().string() + ":/usr/bin:/bin").c_str());
        PppdDialupService service(world.Root());
        tollix::DialResult result = service.DialConnection(c.name);
        EXPECT_EQ(result.Started, c.started) << c.name;
        if (c.started) {
            EXPECT_TRUE(result.Error.empty()) << c.name;
            EXPECT_EQ(pppd.WaitForArguments(), (std::vector<std::string> { "call", c.name })) << c.name;
            EXPECT_TRUE(WaitUntilNoDialers(service)) << "finished dialer left unreaped: " << c.name;
        } else {
            EXPECT_NE(result.Error.find("不是拨号网络电话簿中的连接"), std::string::npos) << result.Error;
            EXPECT_FALSE(std::filesystem::exists(pppd.Record())) << c.name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "pwned"));
}

TEST(PppdDialupService, ReportsADialerThatCannotStart)
{
    PppWorld world;
    world.AddPeer("isp");
    FakePppd broken("#!/nonexistent/interpreter\n");
    ScopedEnv path("PATH", broken.Bin().string().c_str());
    PppdDialupService service(world.Root());
    tollix::DialResult result = service.DialConnection("isp");
    EXPECT_FALSE(result.Started);
    EXPECT_NE(result.Error.find("无法启动拨号程序"), std::string::npos) << result.Error;
    EXPECT_EQ(service.RunningDialers(), 0u);

    if (!std::filesystem::exists("/usr/sbin/pppd")) {
        TempFolder empty;
        ScopedEnv emptyPath("PATH", empty.Path().string().c_str());
        result = service.DialConnection("isp");
        EXPECT_FALSE(result.Started);
        EXPECT_NE(result.Error.find("找不到拨号程序 pppd"), std::string::npos) << result.Error;
    }
}

pid_t Spawn(const std::filesystem::path& program, std::initializer_list<const char*> args)
{
    std::vector<char*> argv;
    for (const char* a : args)
        argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

// Waits for a child to end; false when it is still running after `millis`.
bool WaitForExit(pid_t pid, int& status, int millis)
{
    for (int i = 0; i < millis / 10; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(PppdDialupService, HangUpSignalsOnlyPppd)
{
    TempFolder bin;
    std::filesystem::copy_file("/bin/sleep", bin.Path() / "pppd");
    std::filesystem::permissions(bin.Path() / "pppd", std::filesystem::perms::owner_all);
    pid_t pppd = Spawn(bin.Path() / "pppd", { "pppd", "30" });
    pid_t unrelated = Spawn("/bin/sleep", { "sleep", "30" });
    ASSERT_GT(pppd, 0);
    ASSERT_GT(unrelated, 0);
    // Let the exec finish so that comm is the program's name.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    PppWorld world;
    world.UseRealProc();
    world.SetPidFile("ppp0.pid", std::to_string(pppd) + "\n");
    world.SetPidFile("ppp-isp.pid", std::to_string(pppd) + "\n");
    world.SetPidFile("ppp1.pid", std::to_string(unrelated) + "\n"); // stale: the pid now belongs to sleep
    world.SetPidFile("self.pid", std::to_string(::getpid()) + "\n");
    world.SetPidFile("init.pid", "1\n");
    world.SetPidFile("junk.pid", "-15\n");
    PppdDialupService(world.Root()).HangUp();

    int status = 0;
    ASSERT_TRUE(WaitForExit(pppd, status, 5000)) << "pppd was not signalled";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(WaitForExit(unrelated, status, 300)) << "an unrelated process was signalled";
    ::kill(unrelated, SIGKILL);
    ::waitpid(unrelated, &status, 0);
}

TEST(PppdDialupService, HangUpStopsAPppdStillDialling)
{
    PppWorld world;
    world.AddPeer("isp");
    world.UseRealProc();
    FakePppd pppd("#!/bin/sh\nexec /bin/sleep 30\n");
    ScopedEnv path("PATH", pppd.Bin().string().c_str());
    PppdDialupService service(world.Root());
    ASSERT_TRUE(service.DialConnection("isp").Started);
    EXPECT_EQ(service.RunningDialers(), 1u);
    service.HangUp();
    EXPECT_TRUE(WaitUntilNoDialers(service));
}

TEST(PppdDialupService, FindsPppdOnPathThenInSbin)
{
    FakePppd first;
    FakePppd second;
    TempFolder empty;
    std::string path
        = empty.Path().string() + "::relative:" + first.Bin().string() + ":" + second.Bin().string();
    EXPECT_EQ(PppdDialupService::FindPppd(path.c_str()), (first.Bin() / "pppd").string());
    std::string fallback = std::filesystem::exists("/usr/sbin/pppd") ? "/usr/sbin/pppd" : "";
    EXPECT_EQ(PppdDialupService::FindPppd(empty.Path().c_str()), fallback);
    EXPECT_EQ(PppdDialupService::FindPppd(nullptr), fallback);
}

} // namespace
