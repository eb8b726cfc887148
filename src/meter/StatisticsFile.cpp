#include "meter/StatisticsFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/SafeFile.h"
#include "base/Translation.h"

namespace tollix {

namespace {

constexpr int kRecordCount = 4;

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::string Reason(int errorNumber)
{
    if (errorNumber == EISDIR)
        return Tr("这是一个文件夹，不是文件");
    return SystemErrorText(errorNumber);
}

}  // namespace

StatisticsFile::StatisticsFile(std::filesystem::path path)
    : path_(std::move(path))
{ }

StatisticsFile::~StatisticsFile()
{
    Close();
}

bool StatisticsFile::Open(std::string* error)
{
    if (IsOpen())
        return true;
    auto openFailed = [&](const std::string& why) {
        return Tr("无法打开统计文件 %1：%2", {path_.string(), why});
    };
    // O_NONBLOCK so that a pipe put in the file's place cannot hang the open;
    // anything but a regular file is refused right after.
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    bool readOnly = false;
    int savedErrno = 0;
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        savedErrno = errno;
        fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            errno = savedErrno;
        readOnly = fd >= 0;
    }
    if (fd < 0) {
        SetError(error, openFailed(Reason(errno)));
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetError(error, openFailed(S_ISDIR(st.st_mode) ? Reason(EISDIR) : Tr("不是普通文件")));
        return false;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    fd_ = fd;
    readOnly_ = readOnly;
    readOnlyReason_ = savedErrno;
    return true;
}

void StatisticsFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    readOnly_ = false;
}

std::optional<UsageRecord> StatisticsFile::Read(int recordNumber, std::string* error)
{
    if (!IsOpen()) {
        SetError(error, Tr("统计文件 %1 没有打开", {path_.string()}));
        return std::nullopt;
    }
    if (recordNumber < 1 || recordNumber > kRecordCount) {
        SetError(error, Tr("统计文件中没有第 %1 条记录", {std::to_string(recordNumber)}));
        return std::nullopt;
    }
    unsigned char bytes[kUsageRecordSize] = {};
    size_t done = 0;
    const off_t offset = off_t(recordNumber - 1) * kUsageRecordSize;
    while (done < sizeof bytes) {
        ssize_t n = ::pread(fd_, bytes + done, sizeof bytes - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, Tr("无法读取统计文件 %1：%2", {path_.string(), Reason(errno)}));
            return std::nullopt;
        }
        if (n == 0)
            break;  // end of file: the rest stays zero
        done += size_t(n);
    }
    return DecodeUsageRecord(bytes);
}

UsageRecord StatisticsFile::Get(int recordNumber)
{
    return Read(recordNumber).value_or(UsageRecord{});
}

bool StatisticsFile::Put(int recordNumber, const UsageRecord& record, std::string* error)
{
    // Built only on failure: the meter writes here every minute of a connection.
    auto writeFailed = [&](const std::string& why) {
        return Tr("无法写入统计文件 %1：%2", {path_.string(), why});
    };
    if (!IsOpen()) {
        SetError(error, writeFailed(Tr("文件没有打开")));
        return false;
    }
    if (recordNumber < 1 || recordNumber > kRecordCount) {
        SetError(error, writeFailed(Tr("没有第 %1 条记录", {std::to_string(recordNumber)})));
        return false;
    }
    if (readOnly_) {
        // A read-only mount and a missing permission need different remedies.
        SetError(error, writeFailed(Reason(readOnlyReason_ ? readOnlyReason_ : EACCES)));
        return false;
    }
    const auto bytes = EncodeUsageRecord(record);
    const off_t offset = off_t(recordNumber - 1) * kUsageRecordSize;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, writeFailed(Reason(errno)));
            return false;
        }
        done += size_t(n);
    }
    if (::fdatasync(fd_) != 0) {
        SetError(error, writeFailed(Reason(errno)));
        return false;
    }
    return true;
}

}  // namespace tollix
