#pragma once

// Small byte-wise text helpers shared by the readers of the program's files.

#include <cstddef>
#include <string_view>

namespace tollix {

// The text without any of the given characters at either end.
inline std::string_view TrimChars(std::string_view text, std::string_view chars)
{
    const size_t first = text.find_first_not_of(chars);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(chars) - first + 1);
}

// True when every byte is 7-bit ASCII, so the text reads the same in UTF-8 and GBK.
inline bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Walks UTF-8 text one code point at a time. False at the first malformed,
// overlong or surrogate sequence, or the first code point `accept` refuses.
template <typename Accept> bool EachCodePoint(std::string_view text, Accept accept)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        char32_t code = lead;
        if (lead >= 0x80) {
            if ((lead & 0xe0) == 0xc0)
                length = 2, code = lead & 0x1f;
            else if ((lead & 0xf0) == 0xe0)
                length = 3, code = lead & 0x0f;
            else if ((lead & 0xf8) == 0xf0)
                length = 4, code = lead & 0x07;
            else
                return false;
            if (i + length > text.size())
                return false;
            for (size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xc0) != 0x80)
                    return false;
                code = (code << 6) | (next & 0x3f);
            }
            static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
            if (code < kMinimum[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
                return false;
        }
        if (!accept(code))
            return false;
        i += length;
    }
    return true;
}

inline bool IsValidUtf8(std::string_view text)
{
    return EachCodePoint(text, [](char32_t) { return true; });
}

// Valid UTF-8 without control characters (C0, DEL or C1): such a name can be shown,
// priced, written to the settings and log files and passed to pppd as it stands.
inline bool IsCleanText(std::string_view text)
{
    return EachCodePoint(text, [](char32_t c) { return c >= 0x20 && c != 0x7f && (c < 0x80 || c > 0x9f); });
}

}  // namespace tollix
