#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tollix {

// Replaces `path` with `contents`: writes a temporary file in the same folder,
// flushes it to disk and renames it over the old one, so that a crash or a full
// disk leaves either the old file or the new one, never a damaged or missing one.
// On failure the old file is untouched and `error` (when given) says why, in
// the program's language.
bool ReplaceFileAtomically(
    const std::filesystem::path& path, std::string_view contents, std::string* error = nullptr);

// Removes `path` and flushes its folder, so that the removal survives a power
// cut. A missing file counts as removed. False, saying why, when it stays.
bool RemoveFileDurably(const std::filesystem::path& path, std::string* error = nullptr);

// Reads a whole regular file. False when it is missing, not a regular file or
// cannot be read; a named pipe in the file's place is refused, never waited on.
bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string* error = nullptr);

// Appends what is left to read from an open descriptor (which stays open).
// False, saying why with `path` as the file's name, when a read fails.
bool ReadToEnd(
    int fd, const std::filesystem::path& path, std::string& contents, std::string* error = nullptr);

// Why `path` cannot serve as a data file: empty when it is a regular file (a
// link to one counts) or missing, "不是普通文件" for a pipe, device or folder.
std::string NotRegularFileReason(const std::filesystem::path& path);

// The system's reason a new file cannot be written in `folder` (a full disk, a
// quota, a read-only mount), found by writing a small file there and removing
// it; empty when that works.
std::string FolderWriteProblem(const std::filesystem::path& folder);

// An exclusive lock on a file itself (its device and inode), not on the name
// that reaches it: two data folders whose Price.DB is the same file through a
// link cannot both hold it. Held until destroyed.
class FileIdentityLock {
public:
    enum class Result {
        Locked,
        HeldElsewhere,  // another program holds the lock on this very file
        Unavailable,    // no lock taken: missing folder, not a regular file, ...
    };
    FileIdentityLock() = default;
    ~FileIdentityLock();
    FileIdentityLock(const FileIdentityLock&) = delete;
    FileIdentityLock& operator=(const FileIdentityLock&) = delete;

    // Creates the file empty when it is missing.
    Result Acquire(const std::filesystem::path& path);

private:
    int fd_ = -1;
};

// The system's text for errno, for messages that name a file and the reason.
std::string SystemErrorText(int errorNumber);

}  // namespace tollix
