#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dialup/DialupService.h"

namespace tollix {

// Dial-up through pppd. The phonebook is the peers folder, a connection is up
// while a PPP interface is up, its name comes from the pppd that owns it.
// Everything is read below `root` ("/" normally, a fixture folder in tests).
class PppdDialupService final : public DialupService {
public:
    explicit PppdDialupService(std::filesystem::path root = "/");
    ~PppdDialupService() override;
    PppdDialupService(const PppdDialupService&) = delete;
    PppdDialupService& operator=(const PppdDialupService&) = delete;

    std::string BackendName() const override { return "pppd"; }
    std::string PhonebookLocation() const override { return peersDir_.string(); }

    PhonebookResult Phonebook() override;
    bool IsConnected() override;
    std::string GetDefaultConnection() override;
    LinkInfo CurrentLink() override;
    DialResult DialConnection(const std::string& name) override;
    void HangUp() override;

    // Where pppd is started from: the first pppd on `searchPath`, else
    // /usr/sbin/pppd; empty when there is none.
    static std::string FindPppd(const char* searchPath);
    // A peers file name that may be listed and dialled: not hidden, not a
    // backup, valid UTF-8 without control characters.
    static bool IsAcceptableEntryName(std::string_view name);

private:
    // What one interface's type was when it was first seen, so that a steady
    // state costs one directory listing plus the flags of the PPP links.
    struct TypeCacheEntry {
        ino_t inode = 0;
        char name[32] = {};
        int type = -1;
    };
    static constexpr size_t kTypeCacheSize = 32;

    // Calls `visit(name, fd)` for each PPP interface that is up, in directory
    // order; stops when visit returns true. Allocates nothing.
    template <typename Visit> bool ForEachUpPppInterface(Visit&& visit);
    int InterfaceType(int dirFd, ino_t inode, const char* name);
    // The up PPP interface first by name (the one the meter times), or "".
    std::string TimedInterface();
    // The pppd that owns an interface, by its pid file; 0 when unknown.
    pid_t OwnerPid(const std::string& interface);
    void ReapDialers();

    std::filesystem::path root_;
    std::filesystem::path peersDir_;
    std::string netDir_;
    std::filesystem::path runDir_;
    std::filesystem::path procDir_;

    TypeCacheEntry typeCache_[kTypeCacheSize];
    size_t typeCacheNext_ = 0;
    timespec netDirMtime_{};
    timespec netDirCtime_{};

    std::vector<pid_t> dialers_;
};

}  // namespace tollix
