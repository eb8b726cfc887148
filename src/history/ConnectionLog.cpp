#include "history/ConnectionLog.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Gbk.h"
#include "base/SafeFile.h"
#include "base/TextUtil.h"
#include "base/Translation.h"

namespace tollix {

namespace {

constexpr size_t kNameLength = 15;
// No line the program writes comes near this; a longer one is garbage and must
// not make the reader hold an unbounded amount of it.
constexpr size_t kMaxLineBytes = 4096;

std::string_view Trim(std::string_view s)
{
    return TrimChars(s, " \t");
}

std::optional<int64_t> ParseInteger(std::string_view text, int64_t min, int64_t max)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::string Digits(int value, size_t width)
{
    std::string s = std::to_string(value);
    if (s.size() < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

std::string DateLiteral(DateTime d)
{
    const CivilTime t = d.ToCivil();
    std::string s = "#" + Digits(t.year, 4) + "-" + Digits(t.month, 2) + "-" + Digits(t.day, 2);
    if (t.hour != 0 || t.minute != 0 || t.second != 0)
        s += " " + Digits(t.hour, 2) + ":" + Digits(t.minute, 2) + ":" + Digits(t.second, 2);
    return s + "#";
}

// Converting one name costs an iconv_open; a log repeats the same few names,
// so the last conversion is kept.
class GbkNameCache {
public:
    const std::string& ToUtf8(std::string_view gbk)
    {
        if (gbk != fromGbk_ || !haveFromGbk_) {
            fromGbk_ = gbk;
            toUtf8_ = GbkToUtf8(gbk);
            haveFromGbk_ = true;
        }
        return toUtf8_;
    }
    const std::string& ToGbk(std::string_view utf8)
    {
        if (utf8 != fromUtf8_ || !haveFromUtf8_) {
            fromUtf8_ = utf8;
            toGbk_ = Utf8ToGbk(utf8);
            haveFromUtf8_ = true;
        }
        return toGbk_;
    }

private:
    std::string fromGbk_, toUtf8_, fromUtf8_, toGbk_;
    bool haveFromGbk_ = false, haveFromUtf8_ = false;
};

// The line as it goes on disk: GBK, CRLF.
void AppendDiskLine(std::string& out, const ConnectionLogEntry& entry, GbkNameCache& cache)
{
    std::string line = FormatLogLine(entry);
    if (IsAscii(line)) {
        out += line;
    } else {
        // Only the name can hold other characters; everything after it is ASCII.
        const size_t q = line.rfind('"');
        out += cache.ToGbk(std::string_view(line).substr(0, q + 1));
        out += Utf8ToGbk(std::string_view(line).substr(q + 1));
    }
    out += "\r\n";
}

std::optional<ConnectionLogEntry> ParseDiskLine(std::string_view raw, GbkNameCache& cache)
{
    if (IsAscii(raw))
        return ParseLogLine(raw);
    // A GBK trail byte is never below 0x40, so '"' can be searched for in the raw bytes.
    const size_t q = raw.rfind('"');
    if (q == std::string_view::npos)
        return std::nullopt;
    std::string utf8 = cache.ToUtf8(raw.substr(0, q + 1));
    std::string_view rest = raw.substr(q + 1);
    if (IsAscii(rest))
        utf8 += rest;
    else
        utf8 += GbkToUtf8(rest);
    return ParseLogLine(utf8);
}

// Opens a regular file without hanging on a pipe put in its place.
int OpenRegular(const std::filesystem::path& file, int flags, struct stat& st, int& errorNumber)
{
    int fd = ::open(file.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        errorNumber = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        errorNumber = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return -1;
    }
    int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

std::string OpenErrorText(int errorNumber)
{
    if (errorNumber == EISDIR)
        return Tr("这是一个文件夹，不是文件");
    if (errorNumber == EINVAL)
        return Tr("不是普通文件");
    return SystemErrorText(errorNumber);
}

}  // namespace

std::string FixName15(std::string_view name)
{
    std::string fixed;
    fixed.reserve(name.size() + kNameLength);
    size_t characters = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool continuation = (c & 0xC0) == 0x80;
        if (!continuation) {
            if (characters == kNameLength)
                break;
            ++characters;
        }
        if (c == '"')
            fixed += '\'';
        else if (c < 0x20 || c == 0x7F)
            fixed += ' ';
        else
            fixed += char(c);
    }
    fixed.append(kNameLength - characters, ' ');
    return fixed;
}

std::string FormatLogLine(const ConnectionLogEntry& entry)
{
    std::string line;
    line.reserve(80);
    line += '"';
    line += FixName15(entry.ConnectionName);
    line += "\",";
    line += std::to_string(entry.Seconds);
    line += ',';
    line += DateLiteral(entry.StartTime);
    line += ',';
    line += MoneyText(entry.NetFee);
    line += ',';
    line += MoneyText(entry.TelFee);
    line += ',';
    line += std::to_string(entry.CallUnits);
    return line;
}

std::optional<ConnectionLogEntry> ParseLogLine(std::string_view line)
{
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    line = Trim(line);
    // The name runs from the first to the last double quote: the items after
    // it never hold one, so a quote inside a name written by an older program
    // does not cut the name short.
    if (line.size() < 2 || line.front() != '"')
        return std::nullopt;
    const size_t close = line.rfind('"');
    if (close == 0)
        return std::nullopt;
    std::string_view rest = Trim(line.substr(close + 1));
    if (rest.empty() || rest.front() != ',')
        return std::nullopt;
    rest.remove_prefix(1);

    std::string_view items[5];
    for (int i = 0; i < 5; ++i) {
        const size_t comma = rest.find(',');
        if ((comma == std::string_view::npos) != (i == 4))
            return std::nullopt;
        items[i] = Trim(rest.substr(0, comma));
        if (comma != std::string_view::npos)
            rest.remove_prefix(comma + 1);
    }

    ConnectionLogEntry entry;
    entry.ConnectionName = FixName15(line.substr(1, close - 1));
    auto seconds = ParseInteger(items[0], INT32_MIN, INT32_MAX);
    if (!seconds)
        return std::nullopt;
    entry.Seconds = int32_t(*seconds);
    std::string_view date = items[1];
    if (date.size() < 2 || date.front() != '#' || date.back() != '#')
        return std::nullopt;
    auto start = ParseGeneralDate(date.substr(1, date.size() - 2));
    if (!start)
        return std::nullopt;
    entry.StartTime = *start;
    auto netFee = ParseMoney(items[2]);
    auto telFee = ParseMoney(items[3]);
    if (!netFee || !telFee)
        return std::nullopt;
    entry.NetFee = *netFee;
    entry.TelFee = *telFee;
    auto units = ParseInteger(items[4], INT16_MIN, INT16_MAX);
    if (!units)
        return std::nullopt;
    entry.CallUnits = int16_t(*units);
    return entry;
}

bool AppendLogEntry(const std::filesystem::path& file, const ConnectionLogEntry& entry, std::string* error)
{
    return AppendMissingLogEntries(file, {entry}, error);
}

bool AppendMissingLogEntries(
    const std::filesystem::path& file, const std::vector<ConnectionLogEntry>& entries, std::string* error)
{
    struct stat st { };
    int errorNumber = 0;
    int fd = OpenRegular(file, O_RDWR | O_APPEND | O_CREAT, st, errorNumber);
    if (fd < 0) {
        if (error)
            *error = Tr("无法写入连接记录文件 %1：%2", {file.string(), OpenErrorText(errorNumber)});
        return false;
    }
    const off_t oldSize = st.st_size;
    GbkNameCache cache;
    std::vector<std::string> lines(entries.size());
    size_t longest = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        AppendDiskLine(lines[i], entries[i], cache);
        longest += lines[i].size();
    }
    // A write cut short by a crash may have put the first lines in already:
    // the longest run of them that ends the file is not written again.
    std::string tail(size_t(std::min<off_t>(oldSize, off_t(longest) + 1)), '\0');
    if (!tail.empty()
        && ::pread(fd, tail.data(), tail.size(), oldSize - off_t(tail.size())) != ssize_t(tail.size()))
        tail.clear();
    size_t skip = entries.size();
    for (; skip > 0; --skip) {
        std::string run;
        for (size_t i = 0; i < skip; ++i)
            run += lines[i];
        const size_t at = tail.size() - std::min(run.size(), tail.size());
        if (run.size() <= tail.size() && tail.compare(at, run.size(), run) == 0
            && (run.size() == size_t(oldSize) || (at > 0 && tail[at - 1] == '\n')))
            break;
    }
    std::string data;
    // A hand-edited file may end without a line end; the new line must not be
    // glued onto its last line.
    if (oldSize > 0 && skip < entries.size()) {
        char last = '\n';
        if (::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n')
            data = "\r\n";
    }
    for (size_t i = skip; i < entries.size(); ++i)
        data += lines[i];

    bool ok = true;
    std::string_view left = data;
    while (ok && !left.empty()) {
        ssize_t n = ::write(fd, left.data(), left.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            errorNumber = n < 0 ? errno : ENOSPC;
            break;
        }
        left.remove_prefix(size_t(n));
    }
    if (ok && !data.empty() && ::fsync(fd) != 0) {
        ok = false;
        errorNumber = errno;
    }
    if (!ok)
        (void)::ftruncate(fd, oldSize);  // no half line may stay behind
    ::close(fd);
    if (!ok && error)
        *error = Tr("无法写入连接记录文件 %1：%2", {file.string(), SystemErrorText(errorNumber)});
    return ok;
}

LogLoadResult LoadConnectionLog(const std::filesystem::path& file, int logNumber)
{
    LogLoadResult result;
    // Below 1 would keep nothing and wipe the whole history on the next load.
    const size_t keep = size_t(logNumber < 1 ? kDefaultLogNumber : logNumber);

    struct stat st { };
    int errorNumber = 0;
    int fd = OpenRegular(file, O_RDONLY, st, errorNumber);
    if (fd < 0) {
        if (errorNumber != ENOENT)
            result.Error = Tr("无法读取连接记录文件 %1：%2", {file.string(), OpenErrorText(errorNumber)});
        return result;
    }

    // The newest `keep` entries, in a ring: memory follows the kept lines, not the file.
    std::vector<ConnectionLogEntry> ring;
    ring.reserve(std::min<size_t>(keep, 1024));
    size_t oldest = 0;
    bool dropped = false;
    GbkNameCache cache;
    int lineNumber = 0;
    uint64_t fileBytes = 0;

    auto take = [&](std::string_view raw) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (Trim(raw).empty()) {
            dropped = true;  // a blank line is left out of the rewritten file
            return true;
        }
        auto entry = ParseDiskLine(raw, cache);
        if (!entry)
            return false;
        if (ring.size() < keep) {
            ring.push_back(std::move(*entry));
        } else {
            ring[oldest] = std::move(*entry);
            oldest = (oldest + 1) % keep;
            dropped = true;
        }
        return true;
    };

    std::string pending;
    char buffer[65536];
    bool damaged = false;
    bool readFailed = false;
    auto overlong = [&] {
        ++lineNumber;
        damaged = true;
    };
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            readFailed = true;
            errorNumber = errno;
            break;
        }
        if (n == 0)
            break;
        fileBytes += uint64_t(n);
        std::string_view chunk(buffer, size_t(n));
        while (!chunk.empty() && !damaged) {
            const size_t lf = chunk.find('\n');
            if (lf == std::string_view::npos) {
                pending.append(chunk);
                if (pending.size() > kMaxLineBytes)
                    overlong();
                break;
            }
            if (pending.empty()) {
                if (lf > kMaxLineBytes)
                    overlong();
                else
                    damaged = !take(chunk.substr(0, lf));
            } else {
                pending.append(chunk.substr(0, lf));
                if (pending.size() > kMaxLineBytes)
                    overlong();
                else
                    damaged = !take(pending);
                pending.clear();
            }
            chunk.remove_prefix(lf + 1);
        }
        if (damaged)
            break;
    }
    ::close(fd);

    if (readFailed) {
        result.Error = Tr("无法读取连接记录文件 %1：%2", {file.string(), SystemErrorText(errorNumber)});
        return result;
    }
    if (!damaged && !pending.empty()) {
        dropped = true;  // the last line has no line end; the rewrite gives it one
        damaged = !take(pending);
    }
    if (damaged) {
        result.DamagedLine = lineNumber;
        result.Error = Tr(
            "连接记录文件 %1 的第 %2 行已损坏，文件未作改动。", {file.string(), std::to_string(lineNumber)});
        return result;
    }

    std::string contents;
    contents.reserve(ring.size() * 64);
    for (size_t i = 0; i < ring.size(); ++i)
        AppendDiskLine(contents, ring[(oldest + i) % ring.size()], cache);

    bool same = false;
    if (!dropped && contents.size() == fileBytes) {
        // Nothing was left out: when the file already holds exactly these lines,
        // rewriting it would change nothing but cost a flush to disk.
        std::string current;
        same = ReadWholeFile(file, current) && current == contents;
    }
    if (!same) {
        std::string error;
        if (ReplaceFileAtomically(file, contents, &error))
            result.Rewritten = true;
        else
            result.Error = error;
    }

    result.Entries.reserve(ring.size());
    for (size_t i = ring.size(); i-- > 0;)
        result.Entries.push_back(std::move(ring[(oldest + i) % ring.size()]));
    return result;
}

LogReadAllResult ReadEveryLogEntry(const std::filesystem::path& file)
{
    LogReadAllResult result;
    struct stat st { };
    int errorNumber = 0;
    int fd = OpenRegular(file, O_RDONLY, st, errorNumber);
    if (fd < 0) {
        if (errorNumber != ENOENT)
            result.Error = Tr("无法读取连接记录文件 %1：%2", {file.string(), OpenErrorText(errorNumber)});
        return result;
    }
    // Read through the descriptor just checked: the path could name another
    // file by now, and one open is enough.
    std::string contents;
    const bool read = ReadToEnd(fd, file, contents, &result.Error);
    ::close(fd);
    if (!read)
        return result;
    GbkNameCache cache;
    std::string_view rest = contents;
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        std::string_view raw = rest.substr(0, lf);
        rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (Trim(raw).empty())
            continue;
        auto entry = raw.size() > kMaxLineBytes ? std::nullopt : ParseDiskLine(raw, cache);
        if (entry)
            result.Entries.push_back(std::move(*entry));
        else
            ++result.DamagedLines;
    }
    return result;
}

bool DeleteConnectionLog(const std::filesystem::path& file, std::string* error)
{
    struct stat st { };
    if (::lstat(file.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        if (error)
            *error = Tr("无法删除连接记录文件 %1：%2", {file.string(), SystemErrorText(errno)});
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        if (error)
            *error = Tr("无法删除连接记录文件 %1：%2", {file.string(), OpenErrorText(EISDIR)});
        return false;
    }
    if (::unlink(file.c_str()) != 0) {
        if (error)
            *error = Tr("无法删除连接记录文件 %1：%2", {file.string(), SystemErrorText(errno)});
        return false;
    }
    return true;
}

}  // namespace tollix
