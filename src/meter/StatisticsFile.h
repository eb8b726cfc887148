#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "meter/UsageRecord.h"

namespace tollix {

// Price.DB: four 34-byte records, today, week, month and all time. Records are
// read and written whole and in place; every record written is flushed to disk
// at once, so a crash loses at most the record being written.
class StatisticsFile {
public:
    explicit StatisticsFile(std::filesystem::path path);
    ~StatisticsFile();
    StatisticsFile(const StatisticsFile&) = delete;
    StatisticsFile& operator=(const StatisticsFile&) = delete;

    // Opens the file, creating it empty when missing. Fails, saying why, for a
    // folder, a device or pipe, a file that cannot be read, or a missing file in
    // a folder that cannot be written. A file that can be read but not written
    // opens read-only: records read as usual, Put fails with a message.
    bool Open(std::string* error = nullptr);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    bool IsReadOnly() const { return readOnly_; }
    const std::filesystem::path& Path() const { return path_; }

    // Record 1 to 4. A record beyond the end of the file reads as zeros, and
    // the missing tail of a record cut short reads as zero bytes. Nothing when
    // the file is not open, the number is out of range or the read fails.
    std::optional<UsageRecord> Read(int recordNumber, std::string* error = nullptr);
    // As Read, with zeros in place of a failure.
    UsageRecord Get(int recordNumber);
    // Writes record 1 to 4 in place and flushes it to disk.
    bool Put(int recordNumber, const UsageRecord& record, std::string* error = nullptr);

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool readOnly_ = false;
    int readOnlyReason_ = 0;  // why the file could not be opened for writing
};

}  // namespace tollix
