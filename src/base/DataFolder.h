#pragma once

#include <filesystem>
#include <string>

namespace tollix {

// The folder that holds tollix.ini, Price.DB, time.txt and the lock file:
//  1. $TOLLIX_HOME when it is set;
//  2. the executable's folder when it already holds a tollix.ini (a portable
//     copy; not for the demo);
//  3. $XDG_DATA_HOME/tollix, normally ~/.local/share/tollix
//     ($XDG_DATA_HOME/tollix-demo for the demo, so trying it never touches
//     real statistics).
// The folder is created when missing. On failure the result is empty and
// `error` (when given) says why, in the program's language.
std::filesystem::path ResolveDataFolder(
    bool demo, const std::filesystem::path& executableDir, std::string* error);

// The folder of the running program, from /proc/self/exe, else from argv[0];
// empty when neither tells.
std::filesystem::path ExecutableDir(const char* argv0);

}  // namespace tollix
