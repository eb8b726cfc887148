#include "base/Gbk.h"

#include <cerrno>
#include <iconv.h>

namespace tollix {

namespace {

size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 0x6)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    if ((lead >> 3) == 0x1E)
        return 4;
    return 1;
}

std::string Convert(
    std::string_view in, const char* to, const char* from, std::string_view replacement, bool skipUtf8Char)
{
    std::string out;
    if (in.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    // iconv_open reports failure as (iconv_t)-1; there is no other way to test for it.
    if (cd == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr)
        return std::string(in);
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, size_t(dst - buffer));
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: replace one character and go on.
        out.append(replacement);
        // A broken UTF-8 sequence ends at the first byte that cannot continue
        // it: that byte starts the next character and must not be swallowed
        // (it may be the quote that closes a name in the log).
        size_t skip = 1;
        if (skipUtf8Char) {
            const size_t length = Utf8SequenceLength(static_cast<unsigned char>(*src));
            while (skip < length && skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80)
                ++skip;
        }
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8)
{
    return Convert(utf8, "GBK", "UTF-8", "?", true);
}

std::string GbkToUtf8(std::string_view gbk)
{
    return Convert(gbk, "UTF-8", "GBK", "\xEF\xBF\xBD", false);
}

size_t Utf8Length(std::string_view utf8)
{
    size_t n = 0;
    for (const char ch : utf8)
        if (const auto c = static_cast<unsigned char>(ch); (c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string Utf8Left(std::string_view utf8, size_t characters)
{
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (count == characters)
                return std::string(utf8.substr(0, i));
            ++count;
        }
    }
    return std::string(utf8);
}

}  // namespace tollix
