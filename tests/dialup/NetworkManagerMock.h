#pragma once

// A private bus with python3-dbusmock's NetworkManager on it, for what the
// machine cannot do for real: profiles that need a modem or a DSL line, and
// NetworkManager or the bus itself going away. DBUS_SYSTEM_BUS_ADDRESS points
// at the private bus while the mock lives.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialup/DialupFixture.h"

namespace tollix::test {

constexpr const char* kNmService = "org.freedesktop.NetworkManager";
constexpr const char* kNmPath = "/org/freedesktop/NetworkManager";

// Polls `done` for a while: signals cross the bus asynchronously.
inline bool Eventually(const std::function<bool()>& done, int seconds = 3)
{
    for (int i = 0; i < seconds * 100; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class NetworkManagerMock {
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

    NetworkManagerMock()
    {
        StartBus();
        StartManager();
    }
    ~NetworkManagerMock()
    {
        Stop(manager_);
        Stop(bus_);
    }
    NetworkManagerMock(const NetworkManagerMock&) = delete;
    NetworkManagerMock& operator=(const NetworkManagerMock&) = delete;

    const std::string& Address() const { return address_; }

    void StartBus()
    {
        bus_ = Spawn({"dbus-daemon", "--session", "--nofork", "--address=" + address_});
        Eventually([&] { return std::filesystem::exists(socket_); }, 15);
    }
    void StopBus() { Stop(bus_); }
    // Ready once it answers; the device it gets is the one its DeactivateConnection walks.
    // It carries the loopback interface, the one interface every machine has.
    void StartManager()
    {
        manager_ = Spawn({"/usr/bin/python3", "-m", "dbusmock", "--template", "networkmanager"});
        Eventually(
            [&] {
                return !Call("/org/freedesktop", "org.freedesktop.DBus.Mock",
                    {"AddEthernetDevice", "ssi", "dev0", "lo", "30"})
                            .empty();
            },
            15);  // Python starts slowly on a busy machine
    }
    void StopManager() { Stop(manager_); }

    // A method call on the mock through busctl; returns busctl's answer.
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
    // A saved profile; returns its object path.
    std::string AddProfile(const std::string& id, const std::string& type)
    {
        return Path(Call(std::string(kNmPath) + "/Settings", "org.freedesktop.NetworkManager.Settings",
            {"AddConnection", "a{sa{sv}}", "1", "connection", "2", "id", "s", id, "type", "s", type}));
    }
    // Brought up by someone else; returns the active connection's path.
    std::string Activate(const std::string& profile)
    {
        return Path(Call(kNmPath, kNmService,
            {"ActivateConnection", "ooo", profile, "/org/freedesktop/NetworkManager/Devices/dev0", "/"}));
    }
    // Makes the manager answer ActivateConnection with this D-Bus error.
    void RefuseActivation(const std::string& errorName, const std::string& message)
    {
        Call(kNmPath, "org.freedesktop.DBus.Mock",
            {"AddMethod", "sssss", kNmService, "ActivateConnection", "ooo", "o",
                "raise dbus.exceptions.DBusException('" + message + "', name='" + errorName + "')"});
    }

    // Makes the manager's activations start out being brought up on the
    // device, at this one path.
    static constexpr const char* kDialPath = "/org/freedesktop/NetworkManager/ActiveConnection/dial";
    static constexpr const char* kDevicePath = "/org/freedesktop/NetworkManager/Devices/dev0";
    void ActivateSlowly()
    {
        Call(kNmPath, "org.freedesktop.DBus.Mock",
            {"AddMethod", "sssss", kNmService, "ActivateConnection", "ooo", "o",
                std::string("ret = self.AddActiveConnection(['") + kDevicePath
                    + "'], args[0], '/', 'dial', dbus.UInt32(1))"});
    }
    // The device tells it went to `state` (110 deactivating, 120 failed) for `reason`.
    void DeviceGoesDown(unsigned state, unsigned reason)
    {
        Call(kDevicePath, "org.freedesktop.DBus.Mock",
            {"EmitSignal", "sssav", "org.freedesktop.NetworkManager.Device", "StateChanged", "uuu", "3", "u",
                std::to_string(state), "u", "100", "u", std::to_string(reason)});
    }
    // Takes an activation down as NetworkManager does: its state, then the
    // signal with the reason, then out of the list.
    void EndActivation(const std::string& active, unsigned reason)
    {
        const std::string interface = "org.freedesktop.NetworkManager.Connection.Active";
        Call("/org/freedesktop", "org.freedesktop.DBus.Mock",
            {"SetProperty", "sssv", active, interface, "State", "u", "4"});
        Call(active, "org.freedesktop.DBus.Mock",
            {"EmitSignal", "sssav", interface, "StateChanged", "uu", "2", "u", "4", "u",
                std::to_string(reason)});
        Call(kNmPath, "org.freedesktop.DBus.Mock", {"RemoveActiveConnection", "ss", kDevicePath, active});
    }

private:
    static std::string Path(const std::string& reply)
    {
        size_t begin = reply.find('"'), end = reply.rfind('"');
        return begin < end ? reply.substr(begin + 1, end - begin - 1) : std::string();
    }
    static pid_t Spawn(std::vector<std::string> args)
    {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
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

}  // namespace tollix::test
