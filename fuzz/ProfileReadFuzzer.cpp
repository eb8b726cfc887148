// Reads a tollix.ini made of the fuzz input: the keys the program itself asks
// for at start-up, and names taken from the file, with several buffer sizes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "base/DateTime.h"
#include "base/Gbk.h"
#include "config/ProfileFile.h"
#include "meter/Program.h"

using namespace tollix;

namespace {

std::string FlipAsciiCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return text;
}

// Section and key names as a hand edit would spell them: a rough scan of the
// raw lines, good enough to aim the reads at names that exist.
std::vector<std::pair<std::string, std::string>> NamesInFile(std::string_view contents)
{
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    size_t lines = 0;
    while (!contents.empty() && lines++ < 64 && names.size() < 12) {
        size_t end = contents.find_first_of("\r\n");
        std::string_view line = contents.substr(0, end);
        contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            size_t close = line.rfind(']');
            section
                = GbkToUtf8(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            names.emplace_back(section, "");
        } else if (size_t eq = line.find('='); eq != std::string_view::npos) {
            names.emplace_back(section, GbkToUtf8(line.substr(0, eq)));
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path& folder = fuzz::ScratchFolder();
    const std::string_view contents(reinterpret_cast<const char*>(data), size);
    fuzz::WriteFile(folder / "tollix.ini", contents);

    // What the program reads at start-up, for a phonebook named after the
    // file's own sections.
    auto names = NamesInFile(contents);
    {
        Program program(folder);
        std::vector<std::string> phonebook;
        for (const auto& [section, key] : names)
            if (key.empty())
                phonebook.push_back(section);
        LoadSettings(program, phonebook, *DateTime::FromCivil(2024, 2, 29, 23, 59, 30));
    }

    names.emplace_back("Telephone Fee", "Full Fee");
    names.emplace_back("Alert Setting", "Day Check");
    names.emplace_back(" 本地 ", "  费率");
    ProfileFile profile(folder / "tollix.ini");
    static constexpr size_t kBufferSizes[] = {1, 2, 3, 4, 5, 16, 255};
    for (auto& [section, key] : names) {
        for (int flip = 0; flip < 2; ++flip) {
            if (flip) {
                section = FlipAsciiCase(section);
                key = FlipAsciiCase(key);
            }
            (void)profile.ReadInt(section, key, -7);
            const std::string whole = profile.ReadText(section, key, "默认值 \t", 1 << 20);
            TOLLIX_FUZZ_CHECK(profile.ReadText(section, key, "默认值", 0).empty(), "buffer size 0");
            for (size_t bufferSize : kBufferSizes) {
                // A shorter buffer cuts the same text on a character boundary.
                // (Bytes that are not GBK, such as a hand edit saved as UTF-8,
                // read as U+FFFD and may pair up differently once cut.)
                const std::string part = profile.ReadText(section, key, "默认值 \t", bufferSize);
                const bool cleanGbk = whole.find("\xEF\xBF\xBD") == std::string::npos;
                TOLLIX_FUZZ_CHECK(!cleanGbk || whole.compare(0, part.size(), part) == 0,
                    "[%s] %s: \"%s\" is not a prefix of \"%s\"", section.c_str(), key.c_str(), part.c_str(),
                    whole.c_str());
                // At most bufferSize - 1 bytes of GBK, each of which is at most
                // three bytes of UTF-8.
                TOLLIX_FUZZ_CHECK(part.size() <= 3 * (bufferSize - 1),
                    "cut too long: %zu bytes for buffer %zu", part.size(), bufferSize);
            }
            // The parsed copy is kept between reads: asking again gives the same.
            TOLLIX_FUZZ_CHECK(
                profile.ReadText(section, key, "默认值 \t", 1 << 20) == whole, "second read differs");
        }
    }
    return 0;
}
