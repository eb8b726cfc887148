#include "config/ProfileFile.h"

#include <cerrno>
#include <limits>
#include <sys/stat.h>

#include "base/Gbk.h"
#include "base/SafeFile.h"
#include "base/TextUtil.h"
#include "base/Translation.h"

namespace tollix {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";

bool IsBlank(char c)
{
    return kBlanks.find(c) != std::string_view::npos;
}

// GBK trail bytes never fall below 0x40, so trimming blanks and looking for '='
// or ';' byte by byte is safe; '[' and ']' (0x5B, 0x5D) and ASCII letters can be
// trail bytes, so those are looked for character by character.
bool IsGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

std::string_view Trim(std::string_view s)
{
    return TrimChars(s, kBlanks);
}

// Lower-cases the ASCII letters of a GBK text, leaving double-byte characters alone.
std::string Fold(std::string_view gbk)
{
    std::string out(gbk);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsGbkLead(c) && i + 1 < out.size())
            ++i;
        else if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string ToGbk(std::string_view utf8)
{
    return IsAscii(utf8) ? std::string(utf8) : Utf8ToGbk(utf8);
}

std::string ToUtf8(std::string_view gbk)
{
    return IsAscii(gbk) ? std::string(gbk) : GbkToUtf8(gbk);
}

// Position of the first single-byte ']' in a GBK text, or npos.
size_t FirstCloseBracket(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsGbkLead(c) && i + 1 < text.size())
            ++i;
        else if (c == ']')
            return i;
    }
    return std::string_view::npos;
}

// The longest prefix of a GBK text of at most `limit` bytes that ends on a
// character boundary.
std::string_view CutGbk(std::string_view gbk, size_t limit)
{
    size_t end = 0;
    while (end < gbk.size()) {
        size_t width = IsGbkLead(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > limit)
            break;
        end += width;
    }
    return gbk.substr(0, end);
}

std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

int32_t LeadingInteger(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t magnitude = 0;
    constexpr int64_t kCap = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCap)
            magnitude = kCap;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

bool HasForbiddenByte(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

int64_t Nanoseconds(const struct timespec& t)
{
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path)
    : path_(std::move(path))
{ }

void ProfileFile::Refresh() const
{
    Stamp now;
    struct stat st { };
    if (::stat(path_.c_str(), &st) == 0) {
        now.exists = true;
        now.device = st.st_dev;
        now.inode = st.st_ino;
        now.size = st.st_size;
        now.mtimeNs = Nanoseconds(st.st_mtim);
        now.ctimeNs = Nanoseconds(st.st_ctim);
    }
    if (loaded_ && now == stamp_)
        return;
    stamp_ = now;
    loaded_ = true;
    readFailed_ = false;
    readError_.clear();
    std::string contents;
    if (now.exists && !ReadWholeFile(path_, contents, &readError_)) {
        readFailed_ = true;
        contents.clear();
    }
    Parse(contents);
}

void ProfileFile::Parse(std::string_view contents) const
{
    bom_.clear();
    lines_.clear();
    sections_.clear();
    sectionIndex_.clear();
    if (contents.substr(0, 3) == "\xEF\xBB\xBF") {
        bom_ = contents.substr(0, 3);
        contents.remove_prefix(3);
    }
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(contents.substr(start));
            break;
        }
        lines_.emplace_back(contents.substr(start, end - start));
        start
            = end + (contents[end] == '\r' && end + 1 < contents.size() && contents[end + 1] == '\n' ? 2 : 1);
    }

    // The section being filled; none before the first header. A later duplicate
    // section is parsed into a section of its own that no lookup reaches.
    Section* current = nullptr;
    for (size_t n = 0; n < lines_.size(); ++n) {
        std::string_view line = Trim(lines_[n]);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            // Whatever follows the first ']' (a comment, a typo) is not part of
            // the name, and a header whose ']' was lost still opens a section:
            // its keys must not read as the previous section's.
            std::string_view name = line.substr(1);
            name = name.substr(0, FirstCloseBracket(name));
            sections_.push_back(Section{n, n, {}});
            current = &sections_.back();
            sectionIndex_.try_emplace(Fold(Trim(name)), sections_.size() - 1);
            continue;
        }
        if (!current)
            continue;
        current->lastKeyLine = n;
        KeyEntry entry;
        entry.line = n;
        size_t eq = line.find('=');
        std::string_view name = line;
        if (eq != std::string_view::npos) {
            name = Trim(line.substr(0, eq));
            std::string_view value = Trim(line.substr(eq + 1));
            entry.hasValue = true;
            entry.valueBegin = value.empty() ? 0 : size_t(value.data() - lines_[n].data());
            entry.valueLength = value.size();
        }
        current->keys.try_emplace(Fold(name), entry);
    }
}

const ProfileFile::KeyEntry* ProfileFile::Find(std::string_view section, std::string_view key) const
{
    Refresh();
    std::string_view trimmedKey = Trim(key);
    if (trimmedKey.empty())
        return nullptr;
    // Loaders ask for many keys of one section in a row: convert its name once.
    section = Trim(section);
    if (section != lastSection_) {
        lastSection_ = section;
        lastSectionFolded_ = Fold(ToGbk(section));
    }
    auto s = sectionIndex_.find(lastSectionFolded_);
    if (s == sectionIndex_.end())
        return nullptr;
    const Section& sec = sections_[s->second];
    auto k = sec.keys.find(Fold(ToGbk(trimmedKey)));
    if (k == sec.keys.end() || !k->second.hasValue)
        return nullptr;
    return &k->second;
}

std::string_view ProfileFile::RawValue(const KeyEntry& entry) const
{
    return std::string_view(lines_[entry.line]).substr(entry.valueBegin, entry.valueLength);
}

int32_t ProfileFile::ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const KeyEntry* entry = Find(section, key);
    if (!entry)
        return defaultValue;
    std::string_view value = StripQuotes(RawValue(*entry));
    if (value.empty())
        return defaultValue;
    return LeadingInteger(value);
}

std::string ProfileFile::ReadText(
    std::string_view section, std::string_view key, std::string_view defaultValue, size_t bufferSize) const
{
    if (bufferSize == 0)
        return std::string();
    if (const KeyEntry* entry = Find(section, key))
        return ToUtf8(CutGbk(StripQuotes(RawValue(*entry)), bufferSize - 1));
    while (!defaultValue.empty() && IsBlank(defaultValue.back()))
        defaultValue.remove_suffix(1);
    return ToUtf8(CutGbk(ToGbk(defaultValue), bufferSize - 1));
}

bool ProfileFile::WriteText(
    std::string_view section, std::string_view key, std::string_view value, std::string* error)
{
    ProfileWriteResult result = Write(section, key, value);
    if (!result && error)
        *error = std::move(result.Message);
    return result.Written;
}

ProfileWriteResult ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value)
{
    auto refuse = [&](const std::string& why) {
        return ProfileWriteResult{
            false, path_.string(), why, Tr("未写入配置文件 %1：%2", {path_.string(), why})};
    };
    if (HasForbiddenByte(section) || HasForbiddenByte(key) || HasForbiddenByte(value))
        return refuse(Tr("名称或值含有换行符"));
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty())
        return refuse(Tr("节名或键名为空"));
    if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
        return refuse(Tr("键名含有 '=' 或以 '[' 或 ';' 开头"));

    Refresh();
    if (readFailed_)
        return {false, path_.string(), readError_, readError_};
    const std::string gbkSection = ToGbk(section);
    const std::string gbkKey = ToGbk(key);
    const std::string gbkValue = ToGbk(value);
    // A name GBK cannot hold would land on disk with '?' in it, under some
    // other section's or key's name.
    if (ToUtf8(gbkSection) != section || ToUtf8(gbkKey) != key)
        return refuse(Tr("节名或键名含有无法保存的字符"));
    // A value would read back with '?' in it: a sound path that names no file.
    if (ToUtf8(gbkValue) != value)
        return refuse(Tr("值含有无法以 GBK 保存的字符"));
    // The header would end at that ']' and name another section.
    if (FirstCloseBracket(gbkSection) != std::string_view::npos)
        return refuse(Tr("节名含有 ']'"));

    std::vector<std::string> lines = lines_;
    auto s = sectionIndex_.find(Fold(gbkSection));
    if (s == sectionIndex_.end()) {
        lines.push_back("[" + gbkSection + "]");
        lines.push_back(gbkKey + "=" + gbkValue);
    } else {
        const Section& sec = sections_[s->second];
        auto k = sec.keys.find(Fold(gbkKey));
        if (k != sec.keys.end()) {
            std::string_view line = Trim(lines[k->second.line]);
            std::string name(Trim(line.substr(0, line.find('='))));
            lines[k->second.line] = name + "=" + gbkValue;
        } else {
            lines.insert(lines.begin() + std::ptrdiff_t(sec.lastKeyLine + 1), gbkKey + "=" + gbkValue);
        }
    }

    std::string contents = bom_;
    size_t total = bom_.size();
    for (const auto& line : lines)
        total += line.size() + 2;
    contents.reserve(total);
    for (const auto& line : lines) {
        contents += line;
        contents += "\r\n";
    }
    std::string error;
    errno = 0;
    if (!ReplaceFileAtomically(path_, contents, &error)) {
        // The replacement leaves errno at the call that failed; it is the
        // reason a user can act on (a read-only folder, a full disk).
        const int errorNumber = errno;
        loaded_ = false;
        return {false, path_.string(), errorNumber ? WriteFailureReason(errorNumber) : error, error};
    }
    // Parse what was written; the next read compares against the new file.
    loaded_ = false;
    Refresh();
    return {};
}

int16_t NarrowTo16(int32_t value)
{
    if (value > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    if (value < std::numeric_limits<int16_t>::min())
        return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(value);
}

}  // namespace tollix
