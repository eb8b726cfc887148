// Reads Price.DB records. Every 34-byte piece of the input is decoded; a record
// that decodes as used must encode to the same bytes. The input is also opened
// as a statistics file, read, rolled over at start-up and written.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "meter/Statistics.h"
#include "meter/StatisticsFile.h"
#include "meter/UsageRecord.h"

using namespace tollix;

namespace {

UsageRecord RecordAt(std::string_view bytes, size_t index)
{
    unsigned char record[kUsageRecordSize] = {};
    if (index * kUsageRecordSize < bytes.size())
        std::memcpy(record, bytes.data() + index * kUsageRecordSize,
            std::min<size_t>(kUsageRecordSize, bytes.size() - index * kUsageRecordSize));
    return DecodeUsageRecord(record);
}

// Byte for byte: a damaged date (NaN) equals nothing, not even itself.
bool Same(const std::optional<UsageRecord>& a, const UsageRecord& b)
{
    return a && EncodeUsageRecord(*a) == EncodeUsageRecord(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (size_t offset = 0; offset + kUsageRecordSize <= size; offset += kUsageRecordSize) {
        // Decoding keeps every byte as read (a damaged date is repaired later,
        // where the statistics are loaded), so writing it back changes nothing.
        const auto bytes = EncodeUsageRecord(DecodeUsageRecord(data + offset));
        TOLLIX_FUZZ_CHECK(std::memcmp(bytes.data(), data + offset, kUsageRecordSize) == 0,
            "record at %zu is written back differently", offset);
    }

    const std::filesystem::path path = fuzz::ScratchFolder() / "Price.DB";
    fuzz::WriteFile(path, input);
    {
        StatisticsFile file(path);
        std::string error;
        TOLLIX_FUZZ_CHECK(file.Open(&error), "cannot open: %s", error.c_str());
        for (int n = 1; n <= 4; ++n) {
            auto record = file.Read(n, &error);
            TOLLIX_FUZZ_CHECK(record.has_value(), "record %d does not read: %s", n, error.c_str());
            TOLLIX_FUZZ_CHECK(Same(record, RecordAt(input, size_t(n - 1))), "record %d reads wrong", n);
        }
        TOLLIX_FUZZ_CHECK(!file.Read(0) && !file.Read(5), "a record out of range reads");

        // Writing one record leaves the others' bytes alone.
        UsageRecord written = RecordAt(input, 0);
        written.Seconds ^= 0x5a5a;
        TOLLIX_FUZZ_CHECK(file.Put(3, written, &error), "cannot put: %s", error.c_str());
        TOLLIX_FUZZ_CHECK(Same(file.Read(3), written), "record 3 reads back wrong");
        const std::string after = fuzz::ReadFile(path);
        TOLLIX_FUZZ_CHECK(after.size() >= 3 * kUsageRecordSize, "file too short after a put");
        const size_t kept = std::min(size, 2 * size_t(kUsageRecordSize));
        TOLLIX_FUZZ_CHECK(after.compare(0, kept, input.substr(0, kept)) == 0, "records 1 and 2 changed");
        if (size > 3 * kUsageRecordSize)
            TOLLIX_FUZZ_CHECK(after.substr(3 * kUsageRecordSize) == input.substr(3 * kUsageRecordSize),
                "the bytes after record 3 changed");
    }

    // Start-up on the input's records, at a moment the input picks.
    fuzz::WriteFile(path, input);
    StatisticsFile file(path);
    TOLLIX_FUZZ_CHECK(file.Open(), "cannot open again");
    Statistics stats;
    const UsageRecord last = RecordAt(input, 4);
    const DateTime now = last.StartDate.IsValid() && last.StartDate.Days() != 0
        ? last.StartDate
        : *DateTime::FromCivil(2000, 2, 29, 12, 0, 0);
    const int weekDay = size > 0 ? data[0] % 9 - 1 : 0;
    const int monthDay = size > 1 ? data[1] % 34 - 1 : 1;
    std::string error;
    TOLLIX_FUZZ_CHECK(
        stats.StartUp(file, now, weekDay, monthDay, &error), "start-up failed: %s", error.c_str());
    for (int n = 1; n <= 4; ++n)
        TOLLIX_FUZZ_CHECK(
            Same(file.Read(n), stats.Records[size_t(n - 1)]), "record %d in the file differs from memory", n);
    return 0;
}
