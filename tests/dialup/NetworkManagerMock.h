#pragma once

// A private bus with python3-dbusmock's NetworkManager on it, for what the
// machine cannot do for real: profiles that need a modem or a DSL line, and
// NetworkManager or the bus itself going away. The real NetworkManager runs on
// the same kind of bus.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialup/DialupFixture.h"

namespace tollix::test {

constexpr const char* kNmService = "org.freedesktop.NetworkManager";
constexpr const char* kNmPath = "/org/freedesktop/NetworkManager";
constexpr const char* kNmActive = "org.freedesktop.NetworkManager.Connection.Active";
constexpr const char* kNmDevice = "/org/freedesktop/NetworkManager/Devices/dev0";

// A bus of its own that this process, and what it starts, reach as the system
// bus, and the one daemon on it that plays NetworkManager. What the daemons say
// goes to Folder()/log, where it cannot bury the test's own output.
class PrivateSystemBus {
public:
    PrivateSystemBus()
    {
        bus_ = Spawn("dbus-daemon --session --nofork --address=" + address_);
        Eventually([&] { return std::filesystem::exists(socket_); }, 15000);
    }
    ~PrivateSystemBus()
    {
        Stop(manager_);
        Stop(bus_);
    }
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    const std::filesystem::path& Folder() const { return dir_.Path(); }
    const std::string& Address() const { return address_; }
    void Start(const std::string& manager) { manager_ = Spawn(manager); }
    // False once the manager has ended; it is reaped then, so its pid is never signalled.
    bool ManagerRuns()
    {
        if (manager_ > 0 && ::waitpid(manager_, nullptr, WNOHANG) == manager_)
            manager_ = -1;
        return manager_ > 0;
    }
    void StopManager() { Stop(manager_); }
    void StopBus() { Stop(bus_); }

    // A method call on the manager through busctl; returns busctl's answer.
    std::string Call(const std::string& path, const std::string& interface, std::vector<std::string> args)
    {
        args.insert(args.begin(), {"call", kNmService, path, interface});
        std::string command = "busctl --address=" + address_;
        for (const std::string& a : args) {
            command += " '";
            for (char c : a)
                command += c == '\'' ? std::string("'\\''") : std::string(1, c);
            command += "'";
        }
        std::string out;
        if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
            char buffer[512];
            while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
                out.append(buffer, n);
            ::pclose(pipe);
        }
        return out;
    }

private:
    pid_t Spawn(const std::string& command) const
    {
        const std::string line = "exec " + command + " >>" + (Folder() / "log").string() + " 2>&1";
        const char* argv[] = {"sh", "-c", line.c_str(), nullptr};
        pid_t pid = -1;
        ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ);
        return pid;
    }
    static void Stop(pid_t& pid)
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }

    TempFolder dir_{"tollix-bus"};
    std::filesystem::path socket_ = dir_.Path() / "bus";
    std::string address_ = "unix:path=" + socket_.string();
    ScopedEnv env_{"DBUS_SYSTEM_BUS_ADDRESS", address_.c_str()};
    pid_t bus_ = -1;
    pid_t manager_ = -1;
};

// python3-dbusmock's NetworkManager.
class NetworkManagerMock : public PrivateSystemBus {
public:
    // Why this machine cannot run the mock, or "" when it can.
    static std::string Missing()
    {
        if (::access("/usr/bin/dbus-daemon", X_OK) != 0 || ::access("/usr/bin/busctl", X_OK) != 0)
            return "dbus-daemon or busctl is missing (packages dbus-daemon, systemd)";
        // The Debian package is in the system Python, whatever python3 is first on PATH.
        if (std::system("/usr/bin/python3 -c 'import dbusmock' 2>/dev/null") != 0)
            return "python3-dbusmock is missing (package python3-dbusmock)";
        return {};
    }

    NetworkManagerMock() { StartManager(); }
    // Ready once it answers; the device it gets is the one its DeactivateConnection walks.
    // It carries the loopback interface, the one interface every machine has.
    void StartManager()
    {
        Start("/usr/bin/python3 -m dbusmock --template networkmanager");
        Eventually(
            [&] {
                return !Call("/org/freedesktop", "org.freedesktop.DBus.Mock",
                    {"AddEthernetDevice", "ssi", "dev0", "lo", "30"})
                            .empty();
            },
            15000);  // Python starts slowly on a busy machine
    }
    // A saved profile; returns its object path.
    std::string AddProfile(const std::string& id, const std::string& type)
    {
        return Path(Call(std::string(kNmPath) + "/Settings", "org.freedesktop.NetworkManager.Settings",
            {"AddConnection", "a{sa{sv}}", "1", "connection", "2", "id", "s", id, "type", "s", type}));
    }
    // Brought up by someone else; returns the active connection's path.
    std::string Activate(const std::string& profile)
    {
        return Path(Call(kNmPath, kNmService, {"ActivateConnection", "ooo", profile, kNmDevice, "/"}));
    }
    // 1 activating, 2 activated, 4 deactivated.
    void SetState(const std::string& active, unsigned state)
    {
        Call("/org/freedesktop", "org.freedesktop.DBus.Mock",
            {"SetProperty", "sssv", active, kNmActive, "State", "u", std::to_string(state)});
    }
    // The device tells it went to `state` (110 deactivating, 120 failed) for `reason`.
    void DeviceGoesDown(unsigned state, unsigned reason)
    {
        Call(kNmDevice, "org.freedesktop.DBus.Mock",
            {"EmitSignal", "sssav", "org.freedesktop.NetworkManager.Device", "StateChanged", "uuu", "3", "u",
                std::to_string(state), "u", "100", "u", std::to_string(reason)});
    }

private:
    static std::string Path(const std::string& reply)
    {
        size_t begin = reply.find('"'), end = reply.rfind('"');
        return begin < end ? reply.substr(begin + 1, end - begin - 1) : std::string();
    }
};

}  // namespace tollix::test
