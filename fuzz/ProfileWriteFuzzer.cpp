// Writes one key into a tollix.ini and reads it back. Input: section, key and
// value separated by NUL bytes, then the file as it was before the write.
// A write that is accepted must read back as written (blanks around the value
// and one pair of outer quotes aside, as a read always drops them), must not
// change any other key, and a refused write must leave the file's bytes alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "base/Gbk.h"
#include "config/ProfileFile.h"

using namespace tollix;

namespace {

constexpr size_t kLargeBuffer = 1 << 20;
constexpr std::string_view kDefault = "\x01missing";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string FoldAscii(std::string_view s)
{
    std::string out(TrimBlanks(s));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

// What a read gives for a value written as `value`: the text goes through GBK,
// blanks around it go, then one pair of matching outer quotes.
std::string ExpectedReadBack(std::string_view value)
{
    std::string gbk = Utf8ToGbk(value);
    std::string_view v = TrimBlanks(gbk);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return GbkToUtf8(v);
}

// Section and key names found in the file by a rough scan of its lines.
std::vector<std::pair<std::string, std::string>> KeysInFile(std::string_view contents)
{
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    size_t lines = 0;
    while (!contents.empty() && lines++ < 64 && keys.size() < 16) {
        size_t end = contents.find_first_of("\r\n");
        std::string_view line = contents.substr(0, end);
        contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
        line = TrimBlanks(line);
        if (!line.empty() && line.front() == '[') {
            size_t close = line.rfind(']');
            section
                = GbkToUtf8(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
        } else if (size_t eq = line.find('='); eq != std::string_view::npos && !section.empty()) {
            keys.emplace_back(section, GbkToUtf8(line.substr(0, eq)));
        }
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto fields = fuzz::SplitFields(std::string_view(reinterpret_cast<const char*>(data), size), 4);
    const std::string section(fields[0]), key(fields[1]), value(fields[2]);
    const std::string_view initial = fields[3];

    const std::filesystem::path path = fuzz::ScratchFolder() / "tollix.ini";
    fuzz::WriteFile(path, initial);

    // Every other key keeps its value through the write.
    auto others = KeysInFile(initial);
    std::vector<std::string> before;
    {
        ProfileFile reader(path);
        for (const auto& [s, k] : others)
            before.push_back(reader.ReadText(s, k, kDefault, kLargeBuffer));
    }

    ProfileFile profile(path);
    std::string error;
    const bool written = profile.WriteText(section, key, value, &error);
    const std::string after = fuzz::ReadFile(path);
    if (!written) {
        TOLLIX_FUZZ_CHECK(!error.empty(), "a refused write gives no reason");
        TOLLIX_FUZZ_CHECK(after == initial, "a refused write changed the file");
        return 0;
    }

    // Read back through the object that wrote and through a fresh one.
    const std::string expected = ExpectedReadBack(value);
    ProfileFile fresh(path);
    for (const ProfileFile* reader : {&profile, &fresh}) {
        const std::string got = reader->ReadText(section, key, kDefault, kLargeBuffer);
        TOLLIX_FUZZ_CHECK(got == expected, "[%s] %s: wrote \"%s\", read \"%s\"", section.c_str(), key.c_str(),
            value.c_str(), got.c_str());
    }
    // Case and blanks in the names do not matter.
    TOLLIX_FUZZ_CHECK(
        fresh.ReadText(" " + FoldAscii(section) + "\t", FoldAscii(key) + " ", kDefault, kLargeBuffer)
            == expected,
        "folded names read something else");

    const std::string writtenSection = FoldAscii(section), writtenKey = FoldAscii(key);
    for (size_t i = 0; i < others.size(); ++i) {
        const auto& [s, k] = others[i];
        if (FoldAscii(s) == writtenSection && FoldAscii(k) == writtenKey)
            continue;
        const std::string now = fresh.ReadText(s, k, kDefault, kLargeBuffer);
        TOLLIX_FUZZ_CHECK(now == before[i], "writing [%s] %s changed [%s] %s from \"%s\" to \"%s\"",
            section.c_str(), key.c_str(), s.c_str(), k.c_str(), before[i].c_str(), now.c_str());
    }

    // Writing the same again changes nothing.
    TOLLIX_FUZZ_CHECK(fresh.WriteText(section, key, value), "a second identical write was refused");
    TOLLIX_FUZZ_CHECK(fuzz::ReadFile(path) == after, "a second identical write changed the file");
    return 0;
}
