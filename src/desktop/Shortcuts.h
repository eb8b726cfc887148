#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollix {

// Shortcuts to the program are freedesktop.org desktop entries: one on the
// user's desktop, one in the autostart folder so that the meter starts with the
// desktop session.

enum class ShortcutResult {
    Ok,
    GroupFailed,     // the folder could not be created (or is not a folder)
    ShortcutFailed,  // the entry could not be built or written
};

// One argument of an Exec line: always wrapped in double quotes, with `"`,
// `` ` ``, `$` and `\` escaped by a backslash and `%` doubled (it would start a
// field code); then every backslash is doubled once more, because the whole
// Exec value is itself an escaped string. Empty when the argument cannot be
// written into a desktop entry at all (control characters, invalid UTF-8).
std::optional<std::string> QuotedExecArgument(std::string_view argument);

// A text for a string or localestring key: backslash, line break, tab and
// carriage return escaped as the desktop entry format asks.
std::string EscapedDesktopString(std::string_view text);

// The whole entry for the program. Empty when the executable path or the
// icon cannot be expressed in an entry.
std::optional<std::string> DesktopEntryText(
    std::string_view displayName, const std::filesystem::path& executablePath, std::string_view icon);

// The user's desktop folder: what `xdg-user-dir DESKTOP` prints when that tool
// is there and names a folder other than the home folder itself, else ~/Desktop.
std::filesystem::path DesktopFolder();

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when that variable is
// unset, empty or not an absolute path.
std::filesystem::path AutostartFolder();

// The home folder: $HOME, else the password database's entry.
std::filesystem::path HomeFolder();

// Creates `folder` when missing and writes the entry `fileName` into it in one
// step (a half-written entry never appears). `error`, when given, receives the
// reason in the program's language.
ShortcutResult CreateShortcut(const std::filesystem::path& folder, std::string_view fileName,
    std::string_view displayName, const std::filesystem::path& executablePath, std::string_view icon,
    std::string* error = nullptr);

}  // namespace tollix
