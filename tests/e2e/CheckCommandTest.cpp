#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "dialup/DialupFixture.h"
#include "dialup/NetworkManagerMock.h"

using tollix::test::NetworkManagerMock;
using tollix::test::PppWorld;
using tollix::test::ReadFile;
using tollix::test::TempFolder;
using tollix::test::WriteFile;

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built program as a user would, with exactly the given environment
// (no display: these commands must not need one).
RunResult RunTollix(const std::vector<const char*>& args, const std::map<std::string, std::string>& env)
{
    std::vector<std::string> envText = {"PATH=/usr/bin:/bin", "LANG=C.UTF-8"};
    // The machine's own NetworkManager stays out unless a test brings one.
    if (!env.count("DBUS_SYSTEM_BUS_ADDRESS"))
        envText.push_back("DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tollix-test-bus");
    for (const auto& [k, v] : env)
        envText.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{const_cast<char*>(TOLLIX_BINARY)};
    for (const char* a : args)
        argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);

    TempFolder outputs;
    const std::string out = (outputs.Path() / "out").string(), err = (outputs.Path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = -1;
    RunResult result;
    int status = 0;
    if (::posix_spawn(&pid, TOLLIX_BINARY, &actions, nullptr, argv.data(), envp.data()) == 0
        && ::waitpid(pid, &status, 0) == pid)
        result = {
            WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out), ReadFile(err)};
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// `tollix --check` as a fixture world changes, and the rest of the command line.
TEST(TollixCheck, ReportsWhatTheMeterSeesAsTheWorldChanges)
{
    TempFolder home, xdg;
    PppWorld world;
    world.AddPeer("isp");
    world.AddPeer("163 拨号");
    world.MakeEmptyNet();
    WriteFile(home.Path() / "file", "not a folder");
    const std::map<std::string, std::string> env
        = {{"TOLLIX_HOME", home.Path().string()}, {"TOLLIX_PPP_ROOT", world.Root().string()}};
    const struct {
        const char* step;
        std::function<void()> change;
        std::vector<const char*> args;
        std::map<std::string, std::string> env;
        int status;
        std::vector<std::string> out;
        std::string err;
    } steps[] = {
        {"idle", [] {}, {"--check"}, env, 0,
            {"数据文件夹：" + home.Path().string() + "\n",
                "拨号方式：pppd\nNetworkManager：未使用（无法连接系统总线", "（2 个连接）",
                "  163 拨号\n  isp\n", "连接状态：未连接\n"},
            ""},
        {"line up",
            [&] {
                world.SetInterface("ppp0", 512, "0x1091");
                world.SetPidFile("ppp0.pid", "777\n");
                world.SetProcess(777, "pppd", {"/usr/sbin/pppd", "updetach", "call", "163 拨号"});
            },
            {"--check"}, env, 0, {"连接状态：已连接（163 拨号）\n"}, ""},
        {"line down, no peers folder",
            [&] { world.SetInterface("ppp0", 512, "0x1090"), std::filesystem::remove_all(world.Peers()); },
            {"--check"}, env, 0, {"拨号网络电话簿：没有连接", "连接状态：未连接\n"}, ""},
        {"peers not a folder", [&] { WriteFile(world.Peers(), "x"); }, {"--check"}, env, 1,
            {"拨号网络电话簿：无法读取\n", "连接状态：未连接\n"}, "不是文件夹"},
        {"version", [] {}, {"--version"}, {}, 0, {"Tollix 3.1\n"}, ""},
        {"help", [] {}, {"--help"}, {}, 0, {"用法：tollix", "--demo", "--check"}, ""},
        {"demo", [] {}, {"--demo", "--check"}, {{"XDG_DATA_HOME", xdg.Path().string()}}, 0,
            {"数据文件夹：" + (xdg.Path() / "tollix-demo").string() + "\n", "拨号方式：demo", "（3 个连接）",
                "  169多媒体通信网\n", "连接状态：未连接\n"},
            ""},
        {"unknown option", [] {}, {"--chek"}, {}, 2, {}, "无法识别的选项“--chek”"},
        {"data folder blocked", [] {}, {"--check"}, {{"TOLLIX_HOME", (home.Path() / "file/sub").string()}}, 1,
            {}, "无法建立数据文件夹"},
    };
    for (const auto& s : steps) {
        s.change();
        RunResult r = RunTollix(s.args, s.env);
        EXPECT_EQ(r.status, s.status) << s.step << "\n" << r.out << r.err;
        for (const std::string& part : s.out)
            EXPECT_TRUE(Contains(r.out, part)) << s.step << ": missing " << part << " in\n" << r.out;
        if (s.err.empty()) {
            EXPECT_EQ(r.err, "") << s.step;
        } else {
            EXPECT_TRUE(Contains(r.err, s.err)) << s.step << ": " << r.err;
        }
    }
    // The demo never touches the real data folder.
    EXPECT_FALSE(std::filesystem::exists(xdg.Path() / "tollix"));
}

TEST(TollixCheck, ListsEachEntryWithItsBackendWhenNetworkManagerAnswers)
{
    if (std::string missing = NetworkManagerMock::Missing(); !missing.empty())
        GTEST_SKIP() << missing;
    NetworkManagerMock nm;
    nm.Activate(nm.AddProfile("宽带连接", "pppoe"));
    TempFolder home;
    PppWorld world;
    world.AddPeer("isp");
    RunResult r = RunTollix({"--check"},
        {{"TOLLIX_HOME", home.Path().string()}, {"TOLLIX_PPP_ROOT", world.Root().string()},
            {"DBUS_SYSTEM_BUS_ADDRESS", nm.Address()}});
    EXPECT_TRUE(Contains(r.out,
        "拨号方式：NetworkManager+pppd\n电话簿位置：" + world.Peers().string()
            + "\n拨号网络电话簿（2 个连接）：\n  宽带连接（NetworkManager，pppoe）\n  isp（pppd，拨号脚本）\n"
              "连接状态：已连接（宽带连接）\n"))
        << r.out << r.err;
}

}  // namespace
