#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "history/ArchivedConnection.h"
#include "history/ConnectionLogEntry.h"

namespace tollix {

enum class CsvEncoding {
    Utf8WithBom,  // what spreadsheets open right without asking
    Gbk,          // for older spreadsheet programs set to code page 936
};

// Data a connection moved, where it was measured.
struct LinkBytes {
    std::optional<int64_t> Received;
    std::optional<int64_t> Sent;
};

// The history as a spreadsheet reads it: a header line, one line per entry in
// the order given, then the totals line, each ended by CRLF. Start times are
// "YYYY-MM-DD HH:MM:SS", durations whole seconds and fees plain decimals with
// '.', so a spreadsheet takes them as dates and numbers. `bytes` is empty or
// runs parallel to `entries`; an unknown count is an empty cell. A name that
// a spreadsheet would run as a formula (=, +, -, @ first) gets a leading
// apostrophe.
std::string HistoryCsv(const std::vector<ConnectionLogEntry>& entries, const std::vector<LinkBytes>& bytes,
    CsvEncoding encoding);

// The measured bytes of each logged entry: the archived connection with the
// same start (to the second) and name. Unknown where there is none.
std::vector<LinkBytes> ArchivedBytes(
    const std::vector<ConnectionLogEntry>& entries, const std::vector<ArchivedConnection>& archived);

// Writes HistoryCsv to `file`, replacing it whole or not at all. On failure
// `error` names the file and the reason.
bool ExportHistoryCsv(const std::filesystem::path& file, const std::vector<ConnectionLogEntry>& entries,
    const std::vector<LinkBytes>& bytes, CsvEncoding encoding, std::string* error = nullptr);

}  // namespace tollix
