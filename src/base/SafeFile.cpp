#include "base/SafeFile.h"
#include "base/Translation.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollix {

namespace {

void SetError(std::string* error, const std::filesystem::path& path, int errorNumber)
{
    if (error)
        *error = Tr("无法写入文件 %1：%2", {path.string(), SystemErrorText(errorNumber)});
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(size_t(n));
    }
    return true;
}

}  // namespace

std::string SystemErrorText(int errorNumber)
{
    char buffer[256];
    // GNU strerror_r returns the text, which may not be in buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return text ? text : "unknown error";
}

bool ReplaceFileAtomically(const std::filesystem::path& link, std::string_view contents, std::string* error)
{
    // A data file kept elsewhere through a symbolic link stays there: the file
    // the link points at is replaced, not the link itself.
    std::filesystem::path path = link;
    std::error_code ec;
    if (std::filesystem::is_symlink(link, ec)) {
        std::filesystem::path target = std::filesystem::weakly_canonical(link, ec);
        if (ec) {
            SetError(error, link, ec.value());
            return false;
        }
        path = target;
    }
    std::filesystem::path dir = path.parent_path();
    if (dir.empty())
        dir = ".";
    std::string templ = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(templ.data());
    if (fd < 0) {
        SetError(error, path, errno);
        return false;
    }
    // Keep the old file's permissions; a new file gets the usual 0644 less umask.
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok = WriteAll(fd, contents) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(templ.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(templ.c_str());
        SetError(error, path, savedErrno);
        return false;
    }
    // Make the rename itself durable.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool RemoveFileDurably(const std::filesystem::path& path, std::string* error)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        if (error)
            *error = Tr("无法删除文件 %1：%2", {path.string(), SystemErrorText(errno)});
        return false;
    }
    std::filesystem::path dir = path.parent_path();
    if (dir.empty())
        dir = ".";
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string* error)
{
    contents.clear();
    // O_NONBLOCK so that a pipe in the file's place cannot hang the open; it
    // changes nothing for a regular file.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (error)
            *error = Tr("无法读取文件 %1：%2", {path.string(), SystemErrorText(errno)});
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = Tr("无法读取文件 %1：%2", {path.string(), Tr("不是普通文件")});
        ::close(fd);
        return false;
    }
    const bool read = ReadToEnd(fd, path, contents, error);
    ::close(fd);
    return read;
}

bool ReadToEnd(int fd, const std::filesystem::path& path, std::string& contents, std::string* error)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = Tr("无法读取文件 %1：%2", {path.string(), SystemErrorText(errno)});
            return false;
        }
        if (n == 0)
            return true;
        contents.append(buffer, size_t(n));
    }
}

std::string NotRegularFileReason(const std::filesystem::path& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    return Tr("不是普通文件");
}

std::string FolderWriteProblem(const std::filesystem::path& folder)
{
    std::string templ = (folder / ".tollix-probe.XXXXXX").string();
    int fd = ::mkstemp(templ.data());
    if (fd < 0)
        return SystemErrorText(errno);
    // About what a lock file holds; a full disk refuses even that much.
    const std::string block(512, '\n');
    int problem = WriteAll(fd, block) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && problem == 0)
        problem = errno;
    ::unlink(templ.c_str());
    return problem ? SystemErrorText(problem) : std::string();
}

FileIdentityLock::~FileIdentityLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FileIdentityLock::Result FileIdentityLock::Acquire(const std::filesystem::path& path)
{
    if (fd_ >= 0)
        return Result::Locked;
    int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return Result::Unavailable;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::Unavailable;
    }
    // flock belongs to the open file, so it meets every other opening of the
    // same inode, by whatever path.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Locked;
}

}  // namespace tollix
