#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tollix {

// Replaces `path` with `contents`: writes a temporary file in the same folder,
// flushes it to disk and renames it over the old one, so that a crash or a full
// disk leaves either the old file or the new one, never a damaged or missing one.
// On failure the old file is untouched and `error` (when given) says why, in
// the program's language.
bool ReplaceFileAtomically(
    const std::filesystem::path& path, std::string_view contents, std::string* error = nullptr);

// Removes `path` and flushes its folder, so that the removal survives a power
// cut. A missing file counts as removed. False, saying why, when it stays.
bool RemoveFileDurably(const std::filesystem::path& path, std::string* error = nullptr);

// Reads a whole regular file. False when it is missing, not a regular file or
// cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string* error = nullptr);

// The system's text for errno, for messages that name a file and the reason.
std::string SystemErrorText(int errorNumber);

}  // namespace tollix
