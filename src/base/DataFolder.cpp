#include "base/DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "base/SafeFile.h"
#include "base/Translation.h"

namespace tollix {

namespace {

const char* NonEmptyEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::filesystem::path HomeDir()
{
    if (const char* home = NonEmptyEnv("HOME"))
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    return {};
}

std::filesystem::path MadeFolder(const std::filesystem::path& folder, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        if (error)
            *error = Tr("无法建立数据文件夹 %1：%2",
                {folder.string(), ec ? SystemErrorText(ec.value()) : Tr("同名的文件已经存在")});
        return {};
    }
    return folder;
}

}  // namespace

std::filesystem::path ResolveDataFolder(
    bool demo, const std::filesystem::path& executableDir, std::string* error)
{
    if (const char* home = NonEmptyEnv("TOLLIX_HOME"))
        return MadeFolder(std::filesystem::absolute(home), error);

    if (!demo && !executableDir.empty()) {
        struct stat st { };
        if (::stat((executableDir / "tollix.ini").c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return executableDir;
    }

    std::filesystem::path base;
    // The XDG rules ignore a relative $XDG_DATA_HOME.
    if (const char* xdg = NonEmptyEnv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        std::filesystem::path home = HomeDir();
        if (home.empty()) {
            if (error)
                *error = Tr("无法确定数据文件夹：没有设置 HOME，也没有设置 TOLLIX_HOME。");
            return {};
        }
        base = home / ".local" / "share";
    }
    return MadeFolder(base / (demo ? "tollix-demo" : "tollix"), error);
}

std::filesystem::path ExecutableDir(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        if (!argv0 || !*argv0)
            return {};
        exe = std::filesystem::absolute(argv0, ec);
        if (ec)
            return {};
    }
    return exe.parent_path();
}

}  // namespace tollix
