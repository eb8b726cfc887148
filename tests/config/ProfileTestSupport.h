#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "TestSupport.h"
#include "config/ProfileFile.h"

namespace tollix::test {

// A temporary folder holding one settings file, removed afterwards.
class TempProfile {
public:
    TempProfile() = default;
    explicit TempProfile(std::string_view contents) { Write(contents); }

    const std::filesystem::path& Path() const { return path_; }
    void Write(std::string_view bytes) const { WriteFile(path_, bytes); }
    std::string Read() const { return ReadFile(path_); }

private:
    TempFolder dir_{"tollix-cfg"};
    std::filesystem::path path_ = dir_.Path() / "tollix.ini";
};

// Joins lines with the given line end (after every line).
inline std::string Lines(std::initializer_list<std::string_view> lines, std::string_view end = "\r\n")
{
    std::string out;
    for (std::string_view l : lines) {
        out += l;
        out += end;
    }
    return out;
}

}  // namespace tollix::test
