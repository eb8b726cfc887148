#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <sqlite3.h>

#include "dialup/DialupFixture.h"
#include "dialup/NetworkManagerMock.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Matcher;
using tollix::test::Eventually;
using tollix::test::PppWorld;
using tollix::test::PrivateSystemBus;
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
// (no display: these commands must not need one). No path or word here holds
// a quote, so the shell takes each as it is.
RunResult RunTollix(const std::vector<const char*>& args, std::map<std::string, std::string> env)
{
    // The machine's own NetworkManager stays out unless a test brings one.
    env.try_emplace("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tollix-test-bus");
    std::string command = "env -i PATH=/usr/bin:/bin LANG=C.UTF-8";
    for (const auto& [k, v] : env)
        command += " '" + k + "=" + v + "'";
    command += " '" TOLLIX_BINARY "'";
    for (const char* a : args)
        command += std::string(" '") + a + "'";
    TempFolder outputs;
    const auto out = outputs.Path() / "out", err = outputs.Path() / "err";
    const int status = std::system((command + " >" + out.string() + " 2>" + err.string()).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out), ReadFile(err)};
}

// `tollix --check` as a fixture world changes, the rest of the command line,
// a report, and all of it in English.
TEST(TollixCommandLine, CheckAndReportAsAUserRunsThemInChineseOrEnglish)
{
    TempFolder home, xdg;
    PppWorld world;
    world.AddPeer("isp");
    world.AddPeer("163 拨号");
    world.SetInterface("ppp0", 512, "0x1091");
    world.SetPidFile("ppp0.pid", "777\n");
    world.SetProcess(777, "pppd", {"/usr/sbin/pppd", "updetach", "call", "163 拨号"});
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
        {"line up", [] {}, {"--check"}, env, 0,
            {"数据文件夹：" + home.Path().string() + "\n",
                "拨号方式：pppd\nNetworkManager：未使用（无法连接系统总线", "（2 个连接）",
                "  163 拨号\n  isp\n", "连接状态：已连接（163 拨号）\n"},
            ""},
        {"line down, no peers folder",
            [&] { world.SetInterface("ppp0", 512, "0x1090"), std::filesystem::remove_all(world.Peers()); },
            {"--check"}, env, 0, {"拨号网络电话簿：没有连接", "连接状态：未连接\n"}, ""},
        {"peers not a folder", [&] { WriteFile(world.Peers(), "x"); }, {"--check"}, env, 1,
            {"拨号网络电话簿：无法读取\n", "连接状态：未连接\n"}, "不是文件夹"},
        {"demo", [] {}, {"--demo", "--check"}, {{"XDG_DATA_HOME", xdg.Path().string()}}, 0,
            {"数据文件夹：" + (xdg.Path() / "tollix-demo").string() + "\n", "拨号方式：demo"}, ""},
        {"unknown option", [] {}, {"--chek"}, {}, 2, {}, "无法识别的选项“--chek”"},
    };
    for (const auto& s : steps) {
        s.change();
        RunResult r = RunTollix(s.args, s.env);
        EXPECT_EQ(r.status, s.status) << s.step << "\n" << r.out << r.err;
        for (const std::string& part : s.out)
            EXPECT_THAT(r.out, HasSubstr(part)) << s.step;
        EXPECT_THAT(r.err, s.err.empty() ? Matcher<std::string>(IsEmpty()) : HasSubstr(s.err)) << s.step;
    }

    // `tollix report` on an archive written by hand with plain SQL, statistics
    // months starting on the 15th: the totals must come out as worked out here.
    WriteFile(home.Path() / "tollix.ini", "[Reset]\r\nMonth=15\r\n");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((home.Path() / "usage.sqlite").c_str(), &db), SQLITE_OK);
    const char* sql
        = "PRAGMA journal_mode=WAL;"
          "CREATE TABLE connections (id INTEGER PRIMARY KEY, session_key TEXT NOT NULL UNIQUE,"
          " start_local TEXT NOT NULL, utc_offset INTEGER NOT NULL, seconds INTEGER NOT NULL,"
          " name TEXT NOT NULL, tel_fee INTEGER NOT NULL, net_fee INTEGER NOT NULL,"
          " call_units INTEGER NOT NULL, minutes_charged INTEGER NOT NULL, rx_bytes INTEGER,"
          " tx_bytes INTEGER, backend TEXT NOT NULL, imported INTEGER NOT NULL);"
          "INSERT INTO connections VALUES"
          " (1, 'k1', '2026-03-14 23:50:00', 28800, 600, 'Home', 10000, 20000, 10, 10, NULL, NULL, 'pppd', "
          "0),"
          " (2, 'k2', '2026-03-15 00:10:00', 28800, 120, '宽带', 5000, 0, 2, 0, 1000, 500, '', 1);"
          "PRAGMA user_version=1;";
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);

    const RunResult report
        = RunTollix({"report", "--by", "month", "--format", "csv"}, {{"TOLLIX_HOME", home.Path().string()}});
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_EQ(report.out,
        "period,start,end,connections,seconds,net_fee,tel_fee,total_fee,call_units,rx_bytes,tx_bytes\r\n"
        "2026-02,2026-02-15,2026-03-14,1,600,2,1,3,10,,\r\n"
        "2026-03,2026-03-15,2026-04-14,1,120,0,0.5,0.5,2,1000,500\r\n");

    // Asked for English, the command line shows no Chinese at all.
    auto english = env;
    english["LC_ALL"] = "en_US.UTF-8";
    const std::vector<std::vector<const char*>> commands
        = {{"--help"}, {"--check"}, {"--chek"}, {"report", "--help"}, {"report"}, {"report", "--from", "x"}};
    for (const auto& args : commands) {
        const RunResult r = RunTollix(args, english);
        const std::string said = r.out + r.err;
        EXPECT_NE(said, "") << args.back();
        // Chinese text always holds ideographs (U+4E00 to U+9FFF), which UTF-8
        // starts with a byte from E4 to E9; English text never does.
        EXPECT_FALSE(std::any_of(said.begin(), said.end(), [](char c) { return c >= '\xE4' && c <= '\xE9'; }))
            << args.back() << ":\n"
            << said;
    }
}

// The real NetworkManager, in a network and mount namespace of its own (so it
// sees no device of this machine and writes nothing under /run or /var/lib)
// on a private system bus, reading the profiles of a folder of keyfiles. Both
// backends, each entry named with its own; exactly the profiles billed like
// dial-up, in NetworkManager's order.
TEST(TollixCheck, AgainstARealNetworkManager)
{
    if (::access("/usr/sbin/NetworkManager", X_OK) != 0)
        GTEST_SKIP() << "NetworkManager is missing (package network-manager)";
    TempFolder dir("tollix-nm");
    const std::string d = dir.Path().string();
    WriteFile(dir.Path() / "nm.conf",
        "[main]\nplugins=keyfile\nauth-polkit=false\ndns=none\n[keyfile]\npath=" + d + "/profiles\n");
    std::filesystem::create_directories(dir.Path() / "conf.d");
    const char* const profiles[][2] = {
        {"pppoe", "id=My ISP\ntype=pppoe\n[pppoe]\nusername=user\npassword=secret\n[ethernet]\n"},
        {"hotspot", "id=手机热点\ntype=wifi\nmetered=1\n[wifi]\nssid=Hotspot\nmode=infrastructure\n"},
        {"wired", "id=家里有线\ntype=ethernet\n"},
    };
    for (const auto& [file, body] : profiles) {
        auto path = dir.Path() / "profiles" / (std::string(file) + ".nmconnection");
        // Without a uuid the keyfile plugin makes one from the file's path.
        WriteFile(path, std::string("[connection]\nautoconnect=false\n") + body + "[ipv4]\nmethod=auto\n");
        std::filesystem::permissions(
            path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
    // Root needs no user namespace; anyone else gets root inside one.
    PrivateSystemBus bus;
    bus.Start(std::string("unshare ") + (::geteuid() == 0 ? "" : "-r ")
        + "-n -m --propagation private sh -c 'mount -t tmpfs tmpfs /run && mount -t tmpfs tmpfs "
          "/var/lib/NetworkManager && exec NetworkManager --debug --config="
        + d + "/nm.conf --config-dir=" + d + "/conf.d --system-config-dir=" + d + "/conf.d --state-file=" + d
        + "/state --intern-config=" + d + "/intern.conf --pid-file=" + d + "/pid'");
    // Ready once it answers with its profiles.
    const bool answered = Eventually(
        [&] {
            return !bus.ManagerRuns()
                || bus.Call("/org/freedesktop/NetworkManager/Settings",
                          "org.freedesktop.NetworkManager.Settings", {"ListConnections"})
                       .find("ao 3 ")
                != std::string::npos;
        },
        30000);
    if (!bus.ManagerRuns() || !answered)
        GTEST_SKIP() << "NetworkManager or its namespace did not start here: "
                     << ReadFile(bus.Folder() / "log");

    TempFolder home;
    PppWorld world;
    world.AddPeer("isp");
    RunResult r = RunTollix({"--check"},
        {{"TOLLIX_HOME", home.Path().string()}, {"TOLLIX_PPP_ROOT", world.Root().string()},
            {"DBUS_SYSTEM_BUS_ADDRESS", bus.Address()}});
    EXPECT_THAT(r.out,
        HasSubstr("拨号方式：NetworkManager+pppd\n电话簿位置：" + world.Peers().string()
            + "\n拨号网络电话簿（3 个连接）：\n  My ISP（NetworkManager，pppoe）\n"
              "  手机热点（NetworkManager，802-11-wireless，按流量计费）\n  "
              "isp（pppd，拨号脚本）\n连接状态：未连接\n"))
        << r.out << r.err;
}

}  // namespace
