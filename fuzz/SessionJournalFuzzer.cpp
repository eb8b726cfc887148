// Reads the journal of a session left open by a crash. A journal that reads is
// written again and must read back the same; then the start-up recovery runs
// on it in a data folder of its own: a journal that reads is recorded and
// removed, one that does not is set aside, and neither may crash the start.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "base/Clock.h"
#include "history/ConnectionLog.h"
#include "meter/Program.h"
#include "meter/SessionJournal.h"

using namespace tollix;

namespace {

// The journal keeps one value per line, so a name's line breaks and tabs are
// written as blanks.
std::string AsWritten(std::string name)
{
    for (char& c : name)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    return name;
}

bool SameState(const SessionState& a, const SessionState& b)
{
    return a.SessionStart == b.SessionStart && a.SessionSeconds == b.SessionSeconds
        && a.UnitsCharged == b.UnitsCharged && a.MinutesCharged == b.MinutesCharged
        && a.TariffIndex == b.TariffIndex && a.SessionTelFee == b.SessionTelFee
        && a.SessionNetFee == b.SessionNetFee && AsWritten(a.ConnectionName) == AsWritten(b.ConnectionName);
}

bool SameJournal(const Journal& a, const Journal& b)
{
    if (a.Open.has_value() != b.Open.has_value() || (a.Open && !SameState(*a.Open, *b.Open)))
        return false;
    if (a.Closing.has_value() != b.Closing.has_value())
        return false;
    if (!a.Closing)
        return true;
    if (a.Closing->Connections.size() != b.Closing->Connections.size())
        return false;
    for (size_t i = 0; i < a.Closing->Connections.size(); ++i)
        if (a.Closing->Connections[i].SessionKey != b.Closing->Connections[i].SessionKey)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const fs::path folder = fuzz::ScratchFolder() / "data";
    fs::remove_all(folder);
    fs::create_directories(folder);

    Program program(folder);
    fuzz::WriteFile(program.JournalPath, input);
    const auto journal = ReadSessionJournal(program.JournalPath);
    if (journal) {
        const fs::path copy = folder / "copy.journal";
        std::string error;
        TOLLIX_FUZZ_CHECK(WriteSessionJournal(copy, *journal, &error), "cannot write: %s", error.c_str());
        const auto again = ReadSessionJournal(copy);
        TOLLIX_FUZZ_CHECK(
            again && SameJournal(*again, *journal), "the journal does not read back as written");
    }

    SystemClock clock;
    const RecoveryResult result = RecoverOpenSession(program, clock);
    std::error_code ec;
    if (journal) {
        // Whatever it settles, the log it writes reads back whole.
        const LogLoadResult log = LoadConnectionLog(program.LogPath, 50);
        TOLLIX_FUZZ_CHECK(log.DamagedLine == 0, "recovery wrote a damaged log line %d", log.DamagedLine);
    } else {
        TOLLIX_FUZZ_CHECK(
            !result.Recovered && !result.Error.empty(), "an unreadable journal was not reported");
        TOLLIX_FUZZ_CHECK(
            !fs::exists(program.JournalPath, ec), "an unreadable journal blocks the next start");
        TOLLIX_FUZZ_CHECK(fuzz::ReadFile(folder / "session.journal.damaged") == input,
            "the unreadable journal was not kept aside");
    }
    return 0;
}
