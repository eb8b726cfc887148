#include <gtest/gtest.h>

#include "shell/Shortcuts.h"

#include "core/SafeFile.h"
#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <optional>
#include <tuple>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tollix::test::TempFolder;
using tollix::CreateShortcut;
using tollix::ShortcutResult;

namespace {

// Sets an environment variable for the length of a scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string Read(const fs::path& path)
{
    std::string text;
    tollix::ReadWholeFile(path, text);
    return text;
}

std::string ExecLine(const std::string& entry)
{
    const auto start = entry.find("\nExec=");
    if (start == std::string::npos) return {};
    const auto end = entry.find('\n', start + 1);
    return entry.substr(start + 6, end - start - 6);
}

// What a launcher does with an Exec value: undo the string escapes, then split
// the quoted argument and undo its escapes. Returns the single argument.
std::string UnquoteExec(const std::string& value)
{
    std::string unescaped;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            unescaped += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next == 's' ? ' ' : next;
        } else {
            unescaped += value[i];
        }
    }
    EXPECT_GE(unescaped.size(), 2u);
    EXPECT_EQ(unescaped.front(), '"');
    EXPECT_EQ(unescaped.back(), '"');
    std::string argument;
    for (size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\') {
            ++i;
        } else if (unescaped[i] == '%') {
            EXPECT_EQ(unescaped[i + 1], '%');
            ++i;
        } else {
            EXPECT_NE(unescaped[i], '"') << "unescaped quote in " << value;
        }
        argument += unescaped[i];
    }
    return argument;
}

// desktop-file-validate's verdict, or nullopt when the tool is not installed.
std::optional<std::string> Validate(const fs::path& file)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string command = "desktop-file-validate '" + file.string() + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
        const int status = ::pclose(pipe);
        if (WEXITSTATUS(status) != 0 && output.empty()) output = "failed";
    }
    return output;
}

}  // namespace

TEST(Shortcuts, ExecLineNamesTheProgramExactlyWhateverItsPath)
{
    const struct {
        std::string path;
        std::string exec;  // as it stands in the file
    } cases[] = {
        {"/usr/bin/tollix", R"("/usr/bin/tollix")"},
        {"/home/li lei/My Apps/tollix", R"("/home/li lei/My Apps/tollix")"},
        {"/opt/$HOME/tollix", R"("/opt/\\$HOME/tollix")"},
        {"/opt/a\"b/tollix", R"("/opt/a\\"b/tollix")"},
        {"/opt/`id`/tollix", R"("/opt/\\`id\\`/tollix")"},
        {"/opt/back\\slash/tollix", R"("/opt/back\\\\slash/tollix")"},
        {"/opt/100%u/tollix", R"("/opt/100%%u/tollix")"},
        {"/opt/拨号 工具/tollix", R"("/opt/拨号 工具/tollix")"},
        {"/opt/a;b&c|d>e<f~g*h?i#j(k)l'm/tollix", R"("/opt/a;b&c|d>e<f~g*h?i#j(k)l'm/tollix")"},
    };
    for (const auto& c : cases) {
        const auto quoted = tollix::QuotedExecArgument(c.path);
        ASSERT_TRUE(quoted) << c.path;
        EXPECT_EQ(*quoted, c.exec) << c.path;
        EXPECT_EQ(UnquoteExec(*quoted), c.path);
    }
    // Nothing a desktop entry can carry on one line.
    for (const std::string& bad : {std::string("/opt/a\nb/tollix"), std::string("/opt/tab\there"), std::string("/opt/\xff\xfe/tollix")})
        EXPECT_FALSE(tollix::QuotedExecArgument(bad)) << bad;
}

TEST(Shortcuts, FoldersFollowTheUsersSettings)
{
    TempFolder home;
    ScopedEnv homeEnv("HOME", home.Path().string());
    {
        ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(tollix::AutostartFolder(), home.Path() / ".config" / "autostart");
        EXPECT_EQ(tollix::DesktopFolder(), home.Path() / "Desktop");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(tollix::AutostartFolder(), home.Path() / ".config" / "autostart");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(tollix::AutostartFolder(), home.Path() / ".config" / "autostart");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", (home.Path() / "cfg").string());
        EXPECT_EQ(tollix::AutostartFolder(), home.Path() / "cfg" / "autostart");
    }

    // A translated desktop folder named in the user's xdg settings.
    if (std::system("command -v xdg-user-dir >/dev/null 2>&1") == 0) {
        ScopedEnv config("XDG_CONFIG_HOME", (home.Path() / "cfg").string());
        fs::create_directories(home.Path() / "cfg");
        std::ofstream(home.Path() / "cfg" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n";
        EXPECT_EQ(tollix::DesktopFolder(), home.Path() / "桌面");
        // Switched off (the home folder itself): fall back to ~/Desktop.
        std::ofstream(home.Path() / "cfg" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/\"\n";
        EXPECT_EQ(tollix::DesktopFolder(), home.Path() / "Desktop");
    }
}

TEST(Shortcuts, EntryIsWrittenIntoAMissingFolderAndIsValid)
{
    TempFolder home;
    const fs::path folder = home.Path() / ".config" / "autostart";
    const fs::path program = "/opt/my $tools/\"Tollix\" 3.1/tollix";
    std::string error;
    ASSERT_EQ(CreateShortcut(folder, "Tollix.desktop", "Tollix", program, "tollix", &error), ShortcutResult::Ok)
        << error;

    const std::string entry = Read(folder / "Tollix.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Tollix\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=tollix\n"), std::string::npos);
    EXPECT_EQ(entry.find('\r'), std::string::npos) << "desktop entries use plain line feeds";
    EXPECT_EQ(UnquoteExec(ExecLine(entry)), program.string());

    // Writing again replaces the entry, it does not fail or duplicate it.
    ASSERT_EQ(CreateShortcut(folder, "Tollix.desktop", "Tollix V3.1", "/usr/bin/tollix",
                             "/home/u/.local/share/icons/tollix.svg"),
              ShortcutResult::Ok);
    const std::string second = Read(folder / "Tollix.desktop");
    EXPECT_NE(second.find("\nName=Tollix V3.1\n"), std::string::npos);
    EXPECT_NE(second.find("\nIcon=/home/u/.local/share/icons/tollix.svg\n"), std::string::npos);
    EXPECT_EQ(ExecLine(second), "\"/usr/bin/tollix\"");

    for (const auto& [file, name, path] :
         {std::tuple{"Tollix V3.1.desktop", "Tollix V3.1", fs::path(program)},
          std::tuple{"odd.desktop", "Tollix", fs::path("/opt/a\\b`c%d/tollix")}}) {
        ASSERT_EQ(CreateShortcut(home.Path() / "Desktop", file, name, path, "tollix"), ShortcutResult::Ok);
        const auto verdict = Validate(home.Path() / "Desktop" / file);
        if (!verdict) GTEST_SKIP() << "desktop-file-validate is not installed";
        EXPECT_EQ(*verdict, "") << file;
    }
}

TEST(Shortcuts, FailuresLeaveTheUsersFilesAlone)
{
    TempFolder home;
    // A regular file where the folder should be: the folder cannot be made
    // (a permission bit would not stop the tests running as root).
    std::ofstream(home.Path() / "Desktop") << "user's own file";
    std::string error;
    EXPECT_EQ(CreateShortcut(home.Path() / "Desktop", "Tollix V3.1.desktop", "Tollix V3.1", "/usr/bin/tollix",
                             "tollix", &error),
              ShortcutResult::GroupFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(home.Path() / "Desktop"), "user's own file");
    EXPECT_EQ(CreateShortcut(home.Path() / "Desktop" / "sub", "x.desktop", "x", "/usr/bin/tollix", "tollix"),
              ShortcutResult::GroupFailed);

    // The folder is there but the entry's name is taken by a folder of the user's.
    fs::create_directories(home.Path() / "autostart" / "Tollix.desktop" / "keep");
    EXPECT_EQ(CreateShortcut(home.Path() / "autostart", "Tollix.desktop", "Tollix", "/usr/bin/tollix", "tollix"),
              ShortcutResult::ShortcutFailed);
    EXPECT_TRUE(fs::is_directory(home.Path() / "autostart" / "Tollix.desktop" / "keep"));

    // A program path no entry can express writes nothing.
    error.clear();
    EXPECT_EQ(CreateShortcut(home.Path() / "autostart", "Other.desktop", "Tollix", "/opt/a\nb", "tollix", &error),
              ShortcutResult::ShortcutFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(home.Path() / "autostart" / "Other.desktop"));
}
