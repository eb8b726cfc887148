#include "dialup/PppdDialupService.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/SafeFile.h"
#include "base/TextUtil.h"
#include "base/Translation.h"
#include "dialup/NetworkManagerReplies.h"

namespace tollix {

namespace {

constexpr int kArphrdPpp = 512;
constexpr unsigned long kIffUp = 0x1;
// A pppd command line is short; anything longer is not worth reading.
constexpr size_t kCmdlineLimit = size_t{256} * 1024;

// Opens without blocking on a FIFO planted where a file should be, and never
// makes a terminal ours.
int OpenForReading(int dirFd, const char* path)
{
    return ::openat(dirFd, path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

// Reads the start of a small file into `buffer` and terminates it; -1 when it
// cannot be read. Allocates nothing: the per-second check runs through here.
ssize_t ReadSmallFile(int dirFd, const char* path, char* buffer, size_t size)
{
    int fd = OpenForReading(dirFd, path);
    if (fd < 0)
        return -1;
    ssize_t n;
    do
        n = ::read(fd, buffer, size - 1);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n < 0)
        return -1;
    buffer[n] = '\0';
    return n;
}

// Reads a regular file of at most `limit` bytes.
bool ReadLimitedFile(const std::string& path, std::string& contents, size_t limit)
{
    contents.clear();
    int fd = OpenForReading(AT_FDCWD, path.c_str());
    if (fd < 0)
        return false;
    struct stat st { };
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[4096];
    while (ok) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || contents.size() + size_t(n) > limit)
            ok = false;
        else if (n == 0)
            break;
        else
            contents.append(buffer, size_t(n));
    }
    ::close(fd);
    return ok;
}

// The leading decimal number of a text such as "512\n"; -1 when there is none.
long LeadingNumber(const char* text, int base)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text == '-' || *text == '+')
        return -1;
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, base);
    if (end == text || errno != 0 || value > LONG_MAX)
        return -1;
    return long(value);
}

// A pid from the first line of a pid file: digits, optionally surrounded by
// blanks; anything else, or a pid that cannot be a pppd of ours, gives 0.
pid_t ParsePid(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* digits = p;
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX)
            return 0;
        ++p;
    }
    if (p == digits)
        return 0;
    while (*p == ' ' || *p == '\t' || *p == '\r')
        ++p;
    if (*p != '\0' && *p != '\n')
        return 0;
    // Never init, never ourselves.
    if (value <= 1 || value == ::getpid())
        return 0;
    return pid_t(value);
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string UserName()
{
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return pw->pw_name;
    return Tr("你的用户名");
}

std::string DipAdvice()
{
    return Tr("请让管理员把你加入 dip 组（sudo adduser %1 dip），重新登录后再使用本软件。", {UserName()});
}

bool IsPppdProcess(const std::filesystem::path& procDir, pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "%d/comm", int(pid));
    char comm[64];
    ssize_t n = ReadSmallFile(AT_FDCWD, (procDir / path).c_str(), comm, sizeof comm);
    return n > 0 && (std::strcmp(comm, "pppd\n") == 0 || std::strcmp(comm, "pppd") == 0);
}

// SIGTERM to `pid` only while it is a pppd. Through a pid file descriptor the
// check and the signal reach the same process even if the pid is reused in
// between.
void TerminatePppd(const std::filesystem::path& procDir, pid_t pid)
{
#if defined(SYS_pidfd_open) && defined(SYS_pidfd_send_signal)
    int pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidFd >= 0) {
        if (IsPppdProcess(procDir, pid))
            ::syscall(SYS_pidfd_send_signal, pidFd, SIGTERM, nullptr, 0);
        ::close(pidFd);
        return;
    }
    if (errno != ENOSYS)
        return;  // no such process
#endif
    if (IsPppdProcess(procDir, pid))
        ::kill(pid, SIGTERM);
}

}  // namespace

PppdDialupService::PppdDialupService(std::filesystem::path root)
    : root_(std::move(root))
    , peersDir_(root_ / "etc/ppp/peers")
    , netDir_((root_ / "sys/class/net").string())
    , runDir_(root_ / "run")
    , procDir_(root_ / "proc")
{
    dialers_.reserve(8);
}

PppdDialupService::~PppdDialupService()
{
    ReapDialers();
    for (Dialer& dialer : dialers_) {
        for (int fd : {dialer.out, dialer.err}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
}

bool PppdDialupService::IsAcceptableEntryName(std::string_view name)
{
    if (name.empty() || name.front() == '.' || EndsWith(name, "~") || EndsWith(name, ".bak"))
        return false;
    if (name.find('/') != std::string_view::npos)
        return false;
    return IsCleanText(name);
}

PhonebookResult PppdDialupService::Phonebook()
{
    PhonebookResult result;
    DIR* dir = ::opendir(peersDir_.c_str());
    if (!dir) {
        int error = errno;
        if (error == ENOENT)
            return result;  // pppd's phonebook was never set up: no entries
        result.Readable = false;
        if (error == EACCES || error == EPERM)
            result.Error = Tr("你没有读取拨号网络电话簿（%1）的权限。%2", {peersDir_.string(), DipAdvice()});
        else if (error == ENOTDIR)
            result.Error = Tr("无法读取拨号网络电话簿 %1：它不是文件夹。", {peersDir_.string()});
        else
            result.Error = Tr("无法读取拨号网络电话簿 %1：%2", {peersDir_.string(), SystemErrorText(error)});
        return result;
    }
    int dirFd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0) {
                result.Readable = false;
                result.Error
                    = Tr("无法读取拨号网络电话簿 %1：%2", {peersDir_.string(), SystemErrorText(errno)});
            }
            break;
        }
        std::string_view name = entry->d_name;
        if (!IsAcceptableEntryName(name))
            continue;
        struct stat st { };
        bool regular
            = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 ? S_ISREG(st.st_mode) : entry->d_type == DT_REG;
        if (regular)
            result.Entries.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(result.Entries.begin(), result.Entries.end());
    return result;
}

int PppdDialupService::InterfaceType(int dirFd, ino_t inode, const char* name)
{
    size_t nameLength = std::strlen(name);
    bool cacheable = nameLength < sizeof(TypeCacheEntry::name);
    if (cacheable) {
        for (const TypeCacheEntry& e : typeCache_) {
            if (e.type >= 0 && e.inode == inode && std::strcmp(e.name, name) == 0)
                return e.type;
        }
    }
    char path[NAME_MAX + 16];
    std::snprintf(path, sizeof path, "%s/type", name);
    char text[32];
    if (ReadSmallFile(dirFd, path, text, sizeof text) < 0)
        return -1;
    long type = LeadingNumber(text, 10);
    if (type < 0 || type > INT_MAX)
        return -1;
    if (cacheable) {
        TypeCacheEntry& slot = typeCache_[typeCacheNext_];
        typeCacheNext_ = (typeCacheNext_ + 1) % kTypeCacheSize;
        slot.inode = inode;
        std::memcpy(slot.name, name, nameLength + 1);
        slot.type = int(type);
    }
    return int(type);
}

template <typename Visit> bool PppdDialupService::ForEachUpPppInterface(Visit&& visit)
{
    int dirFd = ::open(netDir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return false;
    // An interface's type never changes while it exists. The folder's times
    // change whenever an interface comes or goes, which also covers a new
    // interface that happens to get a reused inode number.
    struct stat st { };
    if (::fstat(dirFd, &st) == 0) {
        if (st.st_mtim.tv_sec != netDirMtime_.tv_sec || st.st_mtim.tv_nsec != netDirMtime_.tv_nsec
            || st.st_ctim.tv_sec != netDirCtime_.tv_sec || st.st_ctim.tv_nsec != netDirCtime_.tv_nsec) {
            for (TypeCacheEntry& e : typeCache_)
                e.type = -1;
            netDirMtime_ = st.st_mtim;
            netDirCtime_ = st.st_ctim;
        }
    }
    alignas(dirent64) char buffer[4096];
    bool stopped = false;
    while (!stopped) {
        ssize_t n = ::getdents64(dirFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t offset = 0; offset < n && !stopped;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.')
                continue;
            if (InterfaceType(dirFd, entry->d_ino, name) != kArphrdPpp)
                continue;
            char path[NAME_MAX + 16];
            std::snprintf(path, sizeof path, "%s/flags", name);
            char text[32];
            if (ReadSmallFile(dirFd, path, text, sizeof text) < 0)
                continue;
            long flags = LeadingNumber(text, 0);
            if (flags >= 0 && (static_cast<unsigned long>(flags) & kIffUp) && visit(name))
                stopped = true;
        }
    }
    ::close(dirFd);
    return stopped;
}

bool PppdDialupService::IsConnected()
{
    if (!dialers_.empty())
        ReapDialers();
    const bool up = ForEachUpPppInterface([](const char*) { return true; });
    if (up) {
        for (Dialer& dialer : dialers_)
            dialer.sawLink = true;
    }
    return up;
}

std::string PppdDialupService::TimedInterface()
{
    std::vector<std::string> up;
    ForEachUpPppInterface([&](const char* name) {
        up.emplace_back(name);
        return false;
    });
    return up.empty() ? std::string() : *std::min_element(up.begin(), up.end());
}

pid_t PppdDialupService::OwnerPid(const std::string& interface)
{
    char pidText[64];
    if (ReadSmallFile(AT_FDCWD, (runDir_ / (interface + ".pid")).c_str(), pidText, sizeof pidText) <= 0)
        return 0;
    pidText[std::strcspn(pidText, "\n")] = '\0';
    pid_t pid = ParsePid(pidText);
    return pid > 0 && IsPppdProcess(procDir_, pid) ? pid : 0;
}

LinkInfo PppdDialupService::CurrentLink()
{
    LinkInfo link;
    link.Interface = TimedInterface();
    if (link.Interface.empty())
        return link;
    if (pid_t pid = OwnerPid(link.Interface); pid > 0)
        link.Identity
            = LinkIdentity("pppd " + std::to_string(pid), netDir_, procDir_.string(), link.Interface);
    ReadInterfaceCounters(netDir_, link);
    return link;
}

std::string PppdDialupService::GetDefaultConnection()
{
    std::string first = TimedInterface();
    if (first.empty())
        return {};
    pid_t pid = OwnerPid(first);
    if (pid <= 0)
        return {};

    std::string cmdline;
    if (!ReadLimitedFile((procDir_ / std::to_string(pid) / "cmdline").string(), cmdline, kCmdlineLimit))
        return {};
    // The arguments are NUL-separated; the connection is the word after "call",
    // wherever it stands among the options.
    std::vector<std::string_view> args;
    std::string_view rest = cmdline;
    while (!rest.empty()) {
        size_t end = rest.find('\0');
        args.push_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "call") {
            std::string_view name = args[i + 1];
            return IsCleanText(name) ? std::string(name) : std::string();
        }
    }
    return {};
}

std::string PppdDialupService::FindPppd(const char* searchPath)
{
    auto isExecutableFile = [](const std::string& path) {
        struct stat st { };
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
    };
    std::string_view rest = searchPath ? searchPath : "";
    while (!rest.empty()) {
        size_t end = rest.find(':');
        std::string_view dir = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // An empty or relative entry would run whatever pppd lies in the
        // current folder.
        if (dir.empty() || dir.front() != '/')
            continue;
        std::string candidate = std::string(dir) + "/pppd";
        if (isExecutableFile(candidate))
            return candidate;
    }
    // Debian keeps pppd in /usr/sbin, outside a user's PATH, executable only
    // by the group dip; when it is there, starting it tells the user why not.
    struct stat st { };
    if (::stat("/usr/sbin/pppd", &st) == 0 && S_ISREG(st.st_mode))
        return "/usr/sbin/pppd";
    return {};
}

DialResult PppdDialupService::DialConnection(const std::string& name)
{
    ReapDialers();
    DialResult result;
    PhonebookResult book = Phonebook();
    if (!book.Readable) {
        result.Error = book.Error;
        return result;
    }
    bool isEntry = IsAcceptableEntryName(name)
        && std::find(book.Entries.begin(), book.Entries.end(), name) != book.Entries.end();
    if (!isEntry) {
        result.Error = IsCleanText(name) && !name.empty()
            ? Tr("“%1”不是拨号网络电话簿中的连接，不能拨号。", {name})
            : Tr("这个名称不是拨号网络电话簿中的连接，不能拨号。");
        return result;
    }
    std::string pppd = FindPppd(std::getenv("PATH"));
    if (pppd.empty()) {
        result.Error = Tr("找不到拨号程序 pppd。请先安装 ppp 软件包（sudo apt install ppp）。");
        return result;
    }

    // Everything the child needs is prepared before fork: after it, only
    // async-signal-safe calls.
    const char* argv[] = {"pppd", "call", name.c_str(), nullptr};
    int reportPipe[2], outPipe[2], errPipe[2];
    if (::pipe2(reportPipe, O_CLOEXEC) != 0) {
        result.Error = Tr("无法启动拨号程序 pppd：%1", {SystemErrorText(errno)});
        return result;
    }
    if (::pipe2(outPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        result.Error = Tr("无法启动拨号程序 pppd：%1", {SystemErrorText(errno)});
        ::close(reportPipe[0]);
        ::close(reportPipe[1]);
        return result;
    }
    if (::pipe2(errPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        result.Error = Tr("无法启动拨号程序 pppd：%1", {SystemErrorText(errno)});
        for (int fd : {reportPipe[0], reportPipe[1], outPipe[0], outPipe[1]})
            ::close(fd);
        return result;
    }
    pid_t pid = ::fork();
    if (pid < 0) {
        int error = errno;
        for (int fd : {reportPipe[0], reportPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            ::close(fd);
        result.Error = Tr("无法启动拨号程序 pppd：%1", {SystemErrorText(error)});
        return result;
    }
    if (pid == 0) {
        // A session of its own and no terminal: a peers file without a device
        // must not make pppd take over the terminal Tollix was started from.
        ::setsid();
        int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            if (devNull != STDIN_FILENO)
                ::close(devNull);
        }
        // dup2 leaves the copies open across exec; the originals close there.
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        // Blocking again, so pppd never sees EAGAIN when it reports; and a
        // pppd that keeps the pipes after we stopped reading gets EPIPE, not
        // a signal that would end it.
        ::fcntl(STDOUT_FILENO, F_SETFL, 0);
        ::fcntl(STDERR_FILENO, F_SETFL, 0);
        ::signal(SIGPIPE, SIG_IGN);
        ::execv(pppd.c_str(), const_cast<char* const*>(argv));
        int error = errno;
        ssize_t ignored = ::write(reportPipe[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(reportPipe[1]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    int execError = 0;
    ssize_t n;
    do
        n = ::read(reportPipe[0], &execError, sizeof execError);
    while (n < 0 && errno == EINTR);
    ::close(reportPipe[0]);
    if (n == sizeof execError) {
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        if (execError == EACCES || execError == EPERM)
            result.Error = Tr("你没有启动拨号程序 %1 的权限。%2", {pppd, DipAdvice()});
        else
            result.Error = Tr("无法启动拨号程序 %1：%2", {pppd, SystemErrorText(execError)});
        return result;
    }
    Dialer dialer;
    dialer.pid = pid;
    dialer.name = name;
    dialer.out = outPipe[0];
    dialer.err = errPipe[0];
    dialers_.push_back(std::move(dialer));
    result.Started = true;
    return result;
}

void PppdDialupService::HangUp()
{
    ReapDialers();
    std::vector<pid_t> pids;
    // A pppd we started that has not gone to the background yet is still
    // dialling: it is ours and unreaped, so its pid cannot have been reused.
    for (Dialer& dialer : dialers_) {
        dialer.hungUp = true;
        pids.push_back(dialer.pid);
    }
    if (DIR* dir = ::opendir(runDir_.c_str())) {
        int dirFd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            std::string_view name = entry->d_name;
            if (name.size() <= 4 || !EndsWith(name, ".pid"))
                continue;
            char text[64];
            if (ReadSmallFile(dirFd, entry->d_name, text, sizeof text) <= 0)
                continue;
            text[std::strcspn(text, "\n")] = '\0';
            if (pid_t pid = ParsePid(text); pid > 0)
                pids.push_back(pid);
        }
        ::closedir(dir);
    }
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    for (pid_t pid : pids) {
        if (std::any_of(dialers_.begin(), dialers_.end(), [&](const Dialer& d) { return d.pid == pid; }))
            ::kill(pid, SIGTERM);
        else
            TerminatePppd(procDir_, pid);
    }
}

void PppdDialupService::Drain(int& fd, std::string& text)
{
    if (fd < 0)
        return;
    char buffer[1024];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0 || errno != EAGAIN) {
                ::close(fd);
                fd = -1;
            }
            break;
        }
        text.append(buffer, size_t(n));
        // Only the last lines matter; a chatty dialer must not grow this.
        constexpr size_t kKeep = 4096;
        if (text.size() > 2 * kKeep)
            text.erase(0, text.size() - kKeep);
    }
}

void PppdDialupService::ReapDialers()
{
    std::erase_if(dialers_, [&](Dialer& dialer) {
        Drain(dialer.out, dialer.outText);
        Drain(dialer.err, dialer.errText);
        int status = 0;
        pid_t r = ::waitpid(dialer.pid, &status, WNOHANG);
        if (r == 0 || (r < 0 && errno != ECHILD))
            return false;
        // What it wrote just before it ended is in the pipes already.
        Drain(dialer.out, dialer.outText);
        Drain(dialer.err, dialer.errText);
        for (int* fd : {&dialer.out, &dialer.err}) {
            if (*fd >= 0)
                ::close(std::exchange(*fd, -1));
        }
        if (r == dialer.pid && !dialer.sawLink && !dialer.hungUp) {
            // A pppd that went to the background ended with 0; only a
            // failure is the user's business.
            int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            if (code != 0)
                dialFailure_ = FailureText(dialer, code);
        }
        return true;
    });
}

std::string PppdDialupService::TakeDialFailure()
{
    if (!dialers_.empty())
        ReapDialers();
    return std::exchange(dialFailure_, std::string());
}

std::string PppdDialupService::ExitStatusText(int status)
{
    switch (status) {
    case 0:
        return {};
    case 1:
        return Tr("拨号程序发生了严重错误");
    case 2:
        return Tr("连接的设置有误，或找不到这个连接的设置文件");
    case 3:
        return Tr("你没有运行拨号程序 pppd 的权限");
    case 4:
        return Tr("系统内核不支持 PPP（没有 /dev/ppp 设备）");
    case 5:
        return Tr("拨号程序被终止了");
    case 6:
        return Tr("串口被其他程序锁定了");
    case 7:
        return Tr("无法打开调制解调器的串口");
    case 8:
        return Tr("拨号脚本失败（没有应答或线路忙）");
    case 9:
        return Tr("无法运行 pty 命令");
    case 10:
        return Tr("与对方的 PPP 协商失败");
    case 11:
        return Tr("对方没有通过身份验证");
    case 12:
        return Tr("连接空闲太久，已断开");
    case 13:
        return Tr("连接时间到了上限");
    case 14:
        return Tr("已开始回拨");
    case 15:
        return Tr("对方没有回应");
    case 16:
        return Tr("调制解调器挂断了，连接中断");
    case 17:
        return Tr("线路出现回环");
    case 18:
        return Tr("初始化脚本失败");
    case 19:
        return Tr("身份验证失败（用户名或密码不对）");
    default:
        return status < 0 ? Tr("拨号程序异常终止") : Tr("拨号程序以状态 %1 退出", {std::to_string(status)});
    }
}

std::string PppdDialupService::FailureText(const Dialer& dialer, int status) const
{
    // pppd logs to its standard output until it detaches, and reports bad
    // options on standard error: its word is the last logged line, else the
    // first complaint about the options, without its own program name.
    auto lines = [](std::string_view text) {
        std::vector<std::string_view> found;
        while (!text.empty()) {
            size_t end = text.find('\n');
            std::string_view line = TrimChars(text.substr(0, end), " \t\r");
            if (!line.empty())
                found.push_back(line);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        }
        return found;
    };
    std::string_view said;
    if (auto out = lines(dialer.outText); !out.empty()) {
        said = out.back();
    } else if (auto err = lines(dialer.errText); !err.empty()) {
        said = err.front();
        if (said.find("pppd: ") != std::string_view::npos && said.front() == '/')
            said.remove_prefix(said.find("pppd: ") + 6);
    }
    if (std::string clean = nm::ShowableReason(said); !clean.empty())
        return Tr("拨号“%1”失败：%2（pppd：%3）。", {dialer.name, ExitStatusText(status), clean});
    return Tr("拨号“%1”失败：%2。", {dialer.name, ExitStatusText(status)});
}

}  // namespace tollix
