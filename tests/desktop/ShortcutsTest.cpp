#include <gtest/gtest.h>

#include "desktop/Shortcuts.h"

#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using namespace tollix;
using namespace tollix::test;

// The Exec value as it stands in the file: one quoted argument, with the
// string escapes of a desktop entry on top of the argument's own.
TEST(Shortcuts, ExecLineNamesTheProgramExactlyWhateverItsPath)
{
    const struct {
        std::string path;
        std::optional<std::string> exec;
    } cases[] = {{"/opt/$a\"b`c\\d/tollix", R"("/opt/\\$a\\"b\\`c\\\\d/tollix")"},
        {"/opt/100%u/tollix", R"("/opt/100%%u/tollix")"},
        {"/opt/拨号 工具/tollix", R"("/opt/拨号 工具/tollix")"},
        {"/opt/a;b&c|d>e<f~g*h?i#j(k)l'm/tollix", R"("/opt/a;b&c|d>e<f~g*h?i#j(k)l'm/tollix")"},
        // Nothing a desktop entry cannot carry on one line.
        {"/opt/a\nb/tollix", std::nullopt}, {"/opt/\xff\xfe/tollix", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(QuotedExecArgument(c.path), c.exec) << c.path;
}

TEST(Shortcuts, FoldersFollowTheUsersSettings)
{
    TempFolder home;
    ScopedEnv homeEnv("HOME", home.Path().c_str());
    const std::string absolute = (home.Path() / "cfg").string();
    for (const char* config : {(const char*)nullptr, "", "relative/cfg", absolute.c_str()}) {
        ScopedEnv env("XDG_CONFIG_HOME", config);
        const fs::path base = config == absolute.c_str() ? fs::path(absolute) : home.Path() / ".config";
        EXPECT_EQ(AutostartFolder(), base / "autostart") << (config ? config : "unset");
        EXPECT_EQ(DesktopFolder(), home.Path() / "Desktop");
    }

    // A translated desktop folder named in the user's xdg settings; switched
    // off (the home folder itself), ~/Desktop.
    if (std::system("command -v xdg-user-dir >/dev/null 2>&1") == 0) {
        ScopedEnv config("XDG_CONFIG_HOME", absolute.c_str());
        for (const auto& [dir, folder] : {std::pair{"$HOME/桌面", "桌面"}, std::pair{"$HOME/", "Desktop"}}) {
            WriteFile(
                home.Path() / "cfg" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + std::string(dir) + "\"\n");
            EXPECT_EQ(DesktopFolder(), home.Path() / folder) << dir;
        }
    }
}

TEST(Shortcuts, WritesAValidEntryIntoAMissingFolderOrLeavesTheUsersFilesAlone)
{
    TempFolder home;
    const fs::path entry = home.Path() / ".config" / "autostart" / "Tollix.desktop";
    std::string error;
    ASSERT_EQ(CreateShortcut(entry.parent_path(), "Tollix.desktop", "Tollix", "/opt/my $a\\b`c%d\"/tollix",
                  "tollix", &error),
        ShortcutResult::Ok)
        << error;
    EXPECT_EQ(ReadFile(entry),
        "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Tollix\nComment=拨号上网计时计费器\n"
        R"(Exec="/opt/my \\$a\\\\b\\`c%%d\\"/tollix")"
        "\nIcon=tollix\nTerminal=false\nCategories=Network;Dialup;\n");

    // Writing again replaces the entry, it does not fail or duplicate it.
    ASSERT_EQ(CreateShortcut(entry.parent_path(), "Tollix.desktop", "Tollix V3.1", "/usr/bin/tollix",
                  "/home/u/.local/share/icons/tollix.svg"),
        ShortcutResult::Ok);
    EXPECT_NE(ReadFile(entry).find("\nName=Tollix V3.1\n"), std::string::npos);

    // Failures leave the user's files alone. (A file where the folder should
    // be is tried through the menu commands.)
    WriteFile(home.Path() / "Desktop", "user's own file");
    EXPECT_EQ(CreateShortcut(home.Path() / "Desktop" / "sub", "x.desktop", "x", "/usr/bin/tollix", "tollix"),
        ShortcutResult::GroupFailed);
    EXPECT_EQ(ReadFile(home.Path() / "Desktop"), "user's own file");

    // The folder is there but the entry's name is taken by a folder of the user's.
    fs::create_directories(home.Path() / "autostart" / "Tollix.desktop" / "keep");
    EXPECT_EQ(
        CreateShortcut(home.Path() / "autostart", "Tollix.desktop", "Tollix", "/usr/bin/tollix", "tollix"),
        ShortcutResult::ShortcutFailed);
    EXPECT_TRUE(fs::is_directory(home.Path() / "autostart" / "Tollix.desktop" / "keep"));
}
