#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/DataFolder.h"

using namespace tollix::test;

TEST(DataFolder, ChosenInOrderAndCreated)
{
    TempFolder temp;
    const auto exeWithIni = temp.Path() / "portable";
    const auto exePlain = temp.Path() / "installed";
    WriteFile(exeWithIni / "tollix.ini", "[Telephone Fee]\r\n");
    std::filesystem::create_directories(exePlain);
    const auto explicitHome = temp.Path() / "explicit";
    const auto xdg = temp.Path() / "xdg";
    const auto home = temp.Path() / "home";
    const auto blocked = temp.Path() / "blocked";
    WriteFile(blocked, "keep me");
    const struct {
        const char* what;
        bool demo;
        const char* tollixHome;
        const char* xdgDataHome;
        std::filesystem::path exeDir;
        std::filesystem::path expected;
    } cases[] = {
        {"TOLLIX_HOME wins", false, explicitHome.c_str(), xdg.c_str(), exeWithIni, explicitHome},
        {"portable copy", false, nullptr, xdg.c_str(), exeWithIni, exeWithIni},
        {"demo ignores a portable copy", true, nullptr, xdg.c_str(), exeWithIni, xdg / "tollix-demo"},
        {"installed: XDG data folder", false, nullptr, xdg.c_str(), exePlain, xdg / "tollix"},
        {"empty TOLLIX_HOME is unset", false, "", xdg.c_str(), exePlain, xdg / "tollix"},
        {"no XDG_DATA_HOME", false, nullptr, nullptr, exePlain, home / ".local/share/tollix"},
        {"relative XDG_DATA_HOME ignored", true, nullptr, "relative", exePlain,
            home / ".local/share/tollix-demo"},
        {"a file in the way: a clear message", false, blocked.c_str(), nullptr, exePlain, ""},
    };
    ScopedEnv homeEnv("HOME", home.c_str());
    for (const auto& c : cases) {
        ScopedEnv tollixHome("TOLLIX_HOME", c.tollixHome);
        ScopedEnv xdgEnv("XDG_DATA_HOME", c.xdgDataHome);
        std::string error;
        std::filesystem::path folder = tollix::ResolveDataFolder(c.demo, c.exeDir, &error);
        EXPECT_EQ(folder, c.expected) << c.what << ": " << error;
        EXPECT_TRUE(c.expected.empty() ? error.find("无法建立数据文件夹") != std::string::npos
                                       : std::filesystem::is_directory(folder))
            << c.what << ": " << error;
    }
    EXPECT_EQ(ReadFile(blocked), "keep me");
}
