#pragma once

#include <string>
#include <string_view>

namespace tollix {

// The data files keep the Windows program's code page 936 (GBK) on disk; inside
// the program every text is UTF-8. A character GBK cannot hold becomes '?', a
// byte sequence that is not GBK becomes U+FFFD, so no conversion ever fails.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

// Number of characters (code points) of a UTF-8 text, and its first n characters.
size_t Utf8Length(std::string_view utf8);
std::string Utf8Left(std::string_view utf8, size_t characters);

}  // namespace tollix
