#include "base/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollix {

namespace {

void SetError(std::string* error, const std::filesystem::path& path, int errorNumber)
{
    if (error)
        *error = "无法写入文件 " + path.string() + "：" + SystemErrorText(errorNumber);
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
            *error = "无法删除文件 " + path.string() + "：" + SystemErrorText(errno);
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = "无法读取文件 " + path.string() + "：" + SystemErrorText(errno);
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = "无法读取文件 " + path.string() + "：不是普通文件";
        ::close(fd);
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = "无法读取文件 " + path.string() + "：" + SystemErrorText(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        contents.append(buffer, size_t(n));
    }
    ::close(fd);
    return true;
}

}  // namespace tollix
