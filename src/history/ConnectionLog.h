#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ConnectionLogEntry.h"

namespace tollix {

constexpr int kDefaultLogNumber = 50;

// The 15-character name field: cut after 15 characters (code points) or padded
// with blanks on the right. A double quote becomes a single quote and a control
// character a blank, since either would break the line it is written in.
std::string FixName15(std::string_view name);

// One line of time.txt in UTF-8, without the line end:
// "Home           ",1860,#1998-10-05 21:30:15#,2.4,1.1,11
// (name, Seconds, StartTime, NetFee, TelFee, CallUnits). A start at exactly
// midnight is written as the date alone: #1998-10-05#.
std::string FormatLogLine(const ConnectionLogEntry& entry);

// Reads one UTF-8 line (a trailing CR is ignored). Accepts what FormatLogLine
// writes and what a hand edit or an older writer may leave: fees as 0.5 or .5,
// a date literal with or without a time, blanks around items, a name shorter
// or longer than 15 characters. Nothing for a line whose items do not convert.
std::optional<ConnectionLogEntry> ParseLogLine(std::string_view utf8Line);

// Appends one line, in GBK with CRLF, and flushes it. A failed or partial write
// is cut back off, so the file never holds half a line.
bool AppendLogEntry(
    const std::filesystem::path& file, const ConnectionLogEntry& entry, std::string* error = nullptr);

struct LogLoadResult {
    std::vector<ConnectionLogEntry> Entries;  // newest first
    int DamagedLine = 0;                      // 1-based number of the first malformed line, 0 for none
    bool Rewritten = false;                   // the file was rewritten with the kept lines
    std::string Error;  // why nothing was loaded or the file not rewritten; empty when all went well
};

// Reads time.txt once from start to end keeping only the newest logNumber
// entries (a logNumber below 1 counts as 50), then replaces the file with the
// kept lines in the writer's exact form (skipped when the file already is
// exactly that). A missing file gives zero entries and no error. A malformed
// line gives zero entries, leaves the file untouched and names the line.
LogLoadResult LoadConnectionLog(const std::filesystem::path& file, int logNumber);

struct LogReadAllResult {
    std::vector<ConnectionLogEntry> Entries;  // oldest first
    int DamagedLines = 0;                     // malformed lines left out
    std::string Error;                        // the file could not be read; no entries
};

// Reads every line of time.txt without changing the file: blank lines are
// passed over as the load passes them, a malformed line is left out and
// counted, and the reading goes on. A missing file gives zero entries.
LogReadAllResult ReadEveryLogEntry(const std::filesystem::path& file);

// Removes time.txt. A missing file is not an error.
bool DeleteConnectionLog(const std::filesystem::path& file, std::string* error = nullptr);

}  // namespace tollix
