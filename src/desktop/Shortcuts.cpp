#include "desktop/Shortcuts.h"

#include "base/SafeFile.h"
#include "base/TextUtil.h"
#include "base/Translation.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tollix {

namespace {

bool HasControlCharacter(std::string_view text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

// Runs `xdg-user-dir DESKTOP` without a shell and returns its first output line.
std::string XdgUserDirDesktop()
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = "xdg-user-dir";
    char argument[] = "DESKTOP";
    char* argv[] = {program, argument, nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);

    std::string output;
    if (spawned == 0) {
        char buffer[512];
        for (;;) {
            const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
            if (got > 0) {
                if (output.size() < 16384)
                    output.append(buffer, static_cast<size_t>(got));
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                break;
            }
        }
    }
    ::close(pipeFds[0]);
    if (spawned != 0)
        return {};
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    if (const auto end = output.find('\n'); end != std::string::npos)
        output.resize(end);
    return output;
}

}  // namespace

std::optional<std::string> QuotedExecArgument(std::string_view argument)
{
    if (HasControlCharacter(argument) || !IsValidUtf8(argument))
        return std::nullopt;
    // First the quoting rule of the Exec key, then the escape rule that applies
    // to every string value: a backslash in the path ends up as four.
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string EscapedDesktopString(std::string_view text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> DesktopEntryText(
    std::string_view displayName, const std::filesystem::path& executablePath, std::string_view icon)
{
    const auto exec = QuotedExecArgument(executablePath.string());
    if (!exec || !IsValidUtf8(displayName) || !IsValidUtf8(icon) || HasControlCharacter(icon))
        return std::nullopt;
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n";
    text += "Name=" + EscapedDesktopString(displayName) + "\n";
    text += "Comment=" + Tr("拨号上网计时计费器") + "\n";
    text += "Exec=" + *exec + "\n";
    if (!icon.empty())
        text += "Icon=" + EscapedDesktopString(icon) + "\n";
    text += "Terminal=false\n"
            "Categories=Network;Dialup;\n";
    return text;
}

std::filesystem::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::filesystem::path DesktopFolder()
{
    const std::filesystem::path home = HomeFolder();
    std::filesystem::path reported = XdgUserDirDesktop();
    // The tool answers with the home folder itself when the desktop folder is
    // switched off; a shortcut dropped among the user's own files helps nobody.
    if (reported.is_absolute() && reported.lexically_normal() != home.lexically_normal()
        && reported.lexically_normal() != (home / "").lexically_normal())
        return reported;
    return home / "Desktop";
}

std::filesystem::path AutostartFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && *configHome && std::filesystem::path(configHome).is_absolute())
        return std::filesystem::path(configHome) / "autostart";
    return HomeFolder() / ".config" / "autostart";
}

ShortcutResult CreateShortcut(const std::filesystem::path& folder, std::string_view fileName,
    std::string_view displayName, const std::filesystem::path& executablePath, std::string_view icon,
    std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        if (error)
            *error
                = Tr("无法建立文件夹 %1：%2", {folder.string(), SystemErrorText(ec ? ec.value() : ENOTDIR)});
        return ShortcutResult::GroupFailed;
    }

    const auto text = DesktopEntryText(displayName, executablePath, icon);
    if (!text) {
        if (error)
            *error = Tr("程序路径含有无法写入捷径的字符：%1", {executablePath.string()});
        return ShortcutResult::ShortcutFailed;
    }
    const std::filesystem::path target = folder / std::filesystem::path(fileName);
    if (!ReplaceFileAtomically(target, *text, error))
        return ShortcutResult::ShortcutFailed;
    // Desktop launchers are only trusted by file managers when executable.
    ::chmod(target.c_str(), 0755);
    return ShortcutResult::Ok;
}

}  // namespace tollix
