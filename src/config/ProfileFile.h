#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/ProfileWriteResult.h"

namespace tollix {

// The settings file `tollix.ini`, read and written one key at a time with the
// observable results of the Windows profile API:
// - section and key names match without regard to the case of ASCII letters
//   (other bytes match exactly); blanks around names and values are trimmed,
//   in the file and in the names asked for;
// - one pair of matching outer quotes ("..." or '...') is removed from a value read;
// - the first of duplicate sections wins (a key only in a later duplicate is not
//   seen), and within a section the first of duplicate keys wins;
// - lines starting with ';' are comments; lines before the first section are
//   not readable; a line holding no '=' is a key without a value (reads give the
//   default);
// - a line starting with '[' is a section header; the name ends at the first
//   single-byte ']' (a GBK trail byte 0x5D is no ']'), or at the line's end
//   when it has none, and anything after that ']' is ignored;
// - a new key goes right after the last key line of its section, a new section
//   is appended at the end, an existing key line is replaced in place, and every
//   other line, comment and blank line is kept byte for byte;
// - a missing file is created by the first write.
//
// Names and values are UTF-8 in the program and GBK on disk. The file is written
// with CRLF line ends (every line, so a file read with LF or CR-only ends comes
// back with CRLF after a write); reading accepts CRLF, LF and CR-only. A leading
// UTF-8 byte-order mark is skipped when reading and kept when writing.
//
// Writes replace the whole file atomically (temporary file, fsync, rename). Reads
// keep the parsed file and parse it again only when the file on disk changed
// (device, inode, size, modification and change times to the nanosecond).
// Not safe for use from several threads at once.
class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    // The leading decimal integer of the value: leading blanks skipped, an
    // optional sign, then digits ("-1" is -1, "123.4" is 123, "abc" is 0). A
    // missing file, section or key, a key without a value and an empty value give
    // `defaultValue`. A number beyond the 32-bit range is clamped to it.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // The value as text, cut to at most bufferSize - 1 bytes of its GBK form
    // (never through the middle of a character); the default (trailing blanks
    // removed, cut the same way) when the key is missing. An empty value is "",
    // not the default. bufferSize 0 gives "".
    std::string ReadText(std::string_view section, std::string_view key, std::string_view defaultValue,
        size_t bufferSize) const;

    // Sets the value of a key, creating the file, section or key as needed. Refused
    // (false, file untouched) when the section, key or value holds a line break
    // (CR or LF) or a NUL byte, when the section or key is empty, or when the key
    // holds '=' or starts with '[' or ';' (it would read back as something else);
    // also when the existing file cannot be read or the new one cannot be written.
    // `error`, when given, then says why.
    ProfileWriteResult Write(std::string_view section, std::string_view key, std::string_view value);
    // The same, with the whole error text in `error`.
    bool WriteText(
        std::string_view section, std::string_view key, std::string_view value, std::string* error = nullptr);

private:
    struct KeyEntry {
        size_t line = 0;
        size_t valueBegin = 0;  // byte range of the trimmed value within the line
        size_t valueLength = 0;
        bool hasValue = false;  // false for a line holding no '='
    };
    struct Section {
        size_t headerLine = 0;
        size_t lastKeyLine = 0;                          // the header line while the section has no key
        std::unordered_map<std::string, KeyEntry> keys;  // folded name -> first such key
    };
    struct Stamp {
        bool exists = false;
        uint64_t device = 0, inode = 0;
        int64_t size = 0, mtimeNs = 0, ctimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    // Brings the parsed copy up to date with the file on disk.
    void Refresh() const;
    void Parse(std::string_view contents) const;
    // The raw GBK value of a key (trimmed, quotes kept), or nullptr.
    const KeyEntry* Find(std::string_view section, std::string_view key) const;
    std::string_view RawValue(const KeyEntry& entry) const;

    std::filesystem::path path_;
    mutable bool loaded_ = false;
    mutable Stamp stamp_;
    mutable bool readFailed_ = false;  // the file exists but could not be read
    mutable std::string readError_;
    mutable std::string bom_;
    mutable std::vector<std::string> lines_;  // GBK bytes without line ends
    mutable std::vector<Section> sections_;
    mutable std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> first section
    mutable std::string lastSection_;        // the section name last asked for (UTF-8, trimmed)
    mutable std::string lastSectionFolded_;  // and its folded GBK form
};

// Narrows an integer read to a 16-bit setting: values beyond -32768..32767 are
// clamped to the nearest end of that range.
int16_t NarrowTo16(int32_t value);

}  // namespace tollix
