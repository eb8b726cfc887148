#pragma once

// Builds the world the pppd backend reads (peers, interfaces, pid files,
// processes) in a temporary folder.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace tollix::test {

// Polls `done` for a while: dialers end and bus signals arrive asynchronously.
inline bool Eventually(const std::function<bool()>& done, int millis = 5000)
{
    for (int i = 0; i < millis / 10; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        if (done())
            return true;
    return done();
}

// A fake root for the pppd backend.
class PppWorld {
public:
    const std::filesystem::path& Root() const { return dir_.Path(); }
    std::filesystem::path Peers() const { return Root() / "etc/ppp/peers"; }
    std::filesystem::path Net() const { return Root() / "sys/class/net"; }

    void AddPeer(const std::string& name) { WriteFile(Peers() / name, "/dev/ttyS0\n115200\n"); }
    void SetInterface(const std::string& name, int type, const std::string& flags)
    {
        WriteFile(Net() / name / "type", std::to_string(type) + "\n");
        WriteFile(Net() / name / "flags", flags + "\n");
    }
    void RemoveInterface(const std::string& name) { std::filesystem::remove_all(Net() / name); }
    void MakeEmptyNet() { std::filesystem::create_directories(Net()); }
    void SetPidFile(const std::string& fileName, const std::string& contents)
    {
        WriteFile(Root() / "run" / fileName, contents);
    }
    // A process as /proc shows it: cmdline arguments NUL-separated.
    void SetProcess(int pid, const std::string& comm, const std::vector<std::string_view>& args)
    {
        std::string cmdline;
        for (std::string_view a : args) {
            cmdline.append(a);
            cmdline.push_back('\0');
        }
        WriteFile(Root() / "proc" / std::to_string(pid) / "comm", comm + "\n");
        WriteFile(Root() / "proc" / std::to_string(pid) / "cmdline", cmdline);
    }

private:
    TempFolder dir_{"tollix-dialup"};
};

// A pppd stand-in to put first on PATH; without a script of its own it records
// its arguments, NUL-separated, in Record().
class FakePppd {
public:
    explicit FakePppd(const std::string& script = "")
    {
        const std::string record = "'" + Record().string();
        WriteFile(Bin() / "pppd",
            !script.empty() ? script
                            : "#!/bin/sh\nprintf '%s\\0' \"$@\" > " + record + ".tmp'; mv " + record
                    + ".tmp' " + record + "'\n");
        std::filesystem::permissions(Bin() / "pppd", std::filesystem::perms::owner_all);
    }
    std::filesystem::path Bin() const { return bin_.Path(); }
    std::filesystem::path Record() const { return bin_.Path() / "argv"; }
    ScopedEnv FirstOnPath() const { return ScopedEnv("PATH", (Bin().string() + ":/usr/bin:/bin").c_str()); }

private:
    TempFolder bin_{"tollix-pppd"};
};

}  // namespace tollix::test
