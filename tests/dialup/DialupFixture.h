#pragma once

// Builds the world the pppd backend reads (peers, interfaces, pid files,
// processes) in a temporary folder.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"

namespace tollix::test {

// The older name, still used by the session benchmark.
using TempDir = TempFolder;

inline void WriteFile(const std::filesystem::path& path, std::string_view contents)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    // Hang-up tests signal real processes: then /proc must be the real one.
    void UseRealProc() { std::filesystem::create_directory_symlink("/proc", Root() / "proc"); }

private:
    TempFolder dir_{"tollix-dialup"};
};

// Sets an environment variable (nullptr: unsets it) for one scope and puts the
// old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_.c_str(), old_->c_str(), 1) : ::unsetenv(name_.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace tollix::test
