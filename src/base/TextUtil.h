#pragma once

// Small byte-wise text helpers shared by the readers of the program's files.

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

}  // namespace tollix
