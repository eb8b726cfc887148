#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ArchivedConnection.h"

struct sqlite3;

namespace tollix {

inline constexpr const char* kUsageArchiveFileName = "usage.sqlite";

// usage.sqlite in the data folder: every connection, kept for good (nothing
// here is trimmed by "Log Number"). SQLite in WAL mode, the schema versioned
// with PRAGMA user_version, money as integer ten-thousandths of a yuan, one
// row per session key.
class UsageArchive {
public:
    ~UsageArchive();
    UsageArchive(const UsageArchive&) = delete;
    UsageArchive& operator=(const UsageArchive&) = delete;

    struct OpenResult {
        std::unique_ptr<UsageArchive> Archive;  // null when it could not be opened
        // For the user, once: a damaged archive was set aside (renamed) and a new
        // one started. Empty otherwise.
        std::string Notice;
        std::string Error;      // why Archive is null
        int ImportedLines = 0;  // connections of time.txt taken over into a new archive
        int SkippedLines = 0;   // damaged lines of time.txt left out of the import
    };

    // Opens (creating when missing) the archive of a data folder for writing.
    // A new archive takes over the lines of time.txt once, marked as imported.
    // A file that is not a usable archive is renamed aside (the name is in
    // Notice) and a new one started from time.txt. time.txt itself is only read.
    static OpenResult OpenForWriting(const std::filesystem::path& dataFolder);

    // Whether a data folder's time.txt still waits to be taken over by a new
    // archive: the only reason to open the archive before a connection ends.
    static bool ImportWaits(const std::filesystem::path& dataFolder);
    // Whether anything (an archive, or whatever took its name) is in place.
    static bool Exists(const std::filesystem::path& dataFolder);

    // Opens an existing archive file read-only (reports, charts, export). No
    // file is created, renamed or migrated. Null with `error` set on failure;
    // a missing file is an error too.
    static std::unique_ptr<UsageArchive> OpenReadOnly(
        const std::filesystem::path& file, std::string* error = nullptr);

    // Stores one connection; a session key already present leaves the stored
    // row as it is and still counts as success (INSERT OR IGNORE), so a
    // repeated end-of-session step never counts a connection twice. So does a
    // row imported from time.txt with the same start and name. The row is on
    // disk (committed) when this returns true.
    bool Store(const ArchivedConnection& connection, std::string* error = nullptr);

    // Connections that started in [from, to) (local time), oldest first.
    // Nothing on a read error (`error` says why).
    std::optional<std::vector<ArchivedConnection>> Query(
        DateTime from, DateTime to, std::string* error = nullptr) const;
    // Every connection, oldest first.
    std::optional<std::vector<ArchivedConnection>> QueryAll(std::string* error = nullptr) const;

    int64_t Count(std::string* error = nullptr) const;

    // The schema version this program writes (PRAGMA user_version).
    static constexpr int kSchemaVersion = 1;

private:
    explicit UsageArchive(sqlite3* db);
    std::optional<std::vector<ArchivedConnection>> Select(
        const char* where, const DateTime* from, const DateTime* to, std::string* error) const;
    sqlite3* db_ = nullptr;
};

// The rows time.txt would give the archive: each well-formed line, oldest
// first, keyed "time.txt:" + start and name, marked imported, no bytes, fees
// as logged. Damaged lines are skipped (counted in `skipped`). A missing file
// gives no rows; nothing when it cannot be read.
std::optional<std::vector<ArchivedConnection>> ReadLogForImport(
    const std::filesystem::path& timeTxt, int* skipped = nullptr, std::string* error = nullptr);

}  // namespace tollix
