#pragma once

// Shared helpers of the fuzz targets: a scratch folder per process, whole-file
// writes, splitting an input into fields, and a check that stops the run.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tollix::fuzz {

// A folder of this process's own under $TMPDIR (or /tmp), removed at exit.
inline const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tollix-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), std::streamsize(contents.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The first `count - 1` NUL-terminated fields, then everything left as the
// last field. Missing fields are empty.
inline std::vector<std::string_view> SplitFields(std::string_view input, size_t count)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        size_t end = input.find('\0');
        if (end == std::string_view::npos) {
            fields.push_back(input);
            input = {};
            continue;
        }
        fields.push_back(input.substr(0, end));
        input.remove_prefix(end + 1);
    }
    fields.push_back(input);
    return fields;
}

// A finding: says what went wrong and aborts so the fuzzer keeps the input.
#define TOLLIX_FUZZ_CHECK(condition, ...)                                                                    \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s\n", #condition);                                          \
            std::fprintf(stderr, __VA_ARGS__);                                                               \
            std::fprintf(stderr, "\n");                                                                      \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

}  // namespace tollix::fuzz
