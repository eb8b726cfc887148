#pragma once

// Helpers shared by the engine and window tests.

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "base/DateTime.h"

namespace tollix::test {

// A local date and time the tests can write as they read.
inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return *DateTime::FromCivil(y, mo, d, h, mi, s);
}

// A fresh folder under the system temporary folder, removed with everything
// in it when the test is done.
class TempFolder {
public:
    explicit TempFolder(std::string_view name = "tollix-test")
    {
        std::string templ = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
        if (!::mkdtemp(templ.data()))
            std::abort();
        path_ = templ;
    }
    ~TempFolder()
    {
        std::error_code ec;
        // A test may have locked a folder; open it up again so it can go.
        ::chmod(path_.c_str(), 0700);
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view contents)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets an environment variable (nullptr: unsets it) for one scope and puts the
// old value back; a changed TZ is read again on both sides.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }
    ~ScopedEnv()
    {
        old_ ? ::setenv(name_.c_str(), old_->c_str(), 1) : ::unsetenv(name_.c_str());
        ::tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace tollix::test
