// Reads time.txt lines. A line that reads is written back in the writer's form,
// and that form must read back to the same entry; the whole input is also
// loaded as a log file, which must then load again to the same entries.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "history/ConnectionLog.h"

using namespace tollix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    if (auto entry = ParseLogLine(input)) {
        const std::string line = FormatLogLine(*entry);
        auto again = ParseLogLine(line);
        TOLLIX_FUZZ_CHECK(again.has_value(), "the written line \"%s\" does not read", line.c_str());
        // The writer keeps whole seconds of the start and nothing else is lost.
        TOLLIX_FUZZ_CHECK(again->ConnectionName == entry->ConnectionName && again->Seconds == entry->Seconds
                && again->TelFee == entry->TelFee && again->NetFee == entry->NetFee
                && again->CallUnits == entry->CallUnits,
            "\"%s\" read back from \"%s\" differs", line.c_str(), std::string(input).c_str());
        TOLLIX_FUZZ_CHECK(FormatLogLine(*again) == line, "\"%s\" is written as \"%s\"", line.c_str(),
            FormatLogLine(*again).c_str());
        TOLLIX_FUZZ_CHECK(
            SecondsBetween(entry->StartTime, again->StartTime) == 0, "start moved in \"%s\"", line.c_str());
    }

    // The whole input as a log file; the last byte picks how many lines to keep.
    const std::filesystem::path path = fuzz::ScratchFolder() / "time.txt";
    fuzz::WriteFile(path, input);
    const int logNumber = size > 0 ? int(static_cast<signed char>(data[size - 1])) : 50;
    LogLoadResult first = LoadConnectionLog(path, logNumber);
    if (first.DamagedLine != 0) {
        TOLLIX_FUZZ_CHECK(first.Entries.empty(), "a damaged log gave entries");
        TOLLIX_FUZZ_CHECK(fuzz::ReadFile(path) == input, "a damaged log was changed");
        return 0;
    }
    TOLLIX_FUZZ_CHECK(first.Error.empty(), "a readable log in a writable folder: %s", first.Error.c_str());
    TOLLIX_FUZZ_CHECK(first.Entries.size() <= size_t(logNumber < 1 ? kDefaultLogNumber : logNumber),
        "more entries than asked for");
    LogLoadResult second = LoadConnectionLog(path, logNumber);
    TOLLIX_FUZZ_CHECK(second.Error.empty() && second.DamagedLine == 0,
        "a rewritten log does not load: %s line %d", second.Error.c_str(), second.DamagedLine);
    TOLLIX_FUZZ_CHECK(!second.Rewritten, "a log in the writer's form was rewritten again");
    TOLLIX_FUZZ_CHECK(second.Entries.size() == first.Entries.size(), "entries lost: %zu then %zu",
        first.Entries.size(), second.Entries.size());
    for (size_t i = 0; i < first.Entries.size(); ++i) {
        // A byte that was not GBK reads as U+FFFD, which GBK cannot hold in
        // turn: the rewritten file has '?' there. Nothing else may change.
        ConnectionLogEntry expected = first.Entries[i];
        for (size_t at; (at = expected.ConnectionName.find("\xEF\xBF\xBD")) != std::string::npos;)
            expected.ConnectionName.replace(at, 3, "?");
        TOLLIX_FUZZ_CHECK(FormatLogLine(second.Entries[i]) == FormatLogLine(expected),
            "entry %zu changed on the second load: \"%s\" then \"%s\"", i, FormatLogLine(expected).c_str(),
            FormatLogLine(second.Entries[i]).c_str());
    }
    return 0;
}
