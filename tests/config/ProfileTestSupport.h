#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <string>
#include <string_view>

#include "config/ProfileFile.h"

namespace tollix::test {

// A temporary folder holding one settings file, removed afterwards.
class TempProfile {
public:
    TempProfile()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "tollix-cfg-XXXXXX").string();
        dir_ = ::mkdtemp(templ.data());
        path_ = dir_ / "tollix.ini";
    }
    explicit TempProfile(std::string_view contents)
        : TempProfile()
    {
        Write(contents);
    }
    ~TempProfile() { std::filesystem::remove_all(dir_); }
    TempProfile(const TempProfile&) = delete;
    TempProfile& operator=(const TempProfile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    const std::filesystem::path& Dir() const { return dir_; }

    void Write(std::string_view bytes) const
    {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string Read() const
    {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists() const { return std::filesystem::exists(path_); }

private:
    std::filesystem::path dir_;
    std::filesystem::path path_;
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

} // namespace tollix::test
