#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "meter/ConnectionSession.h"

namespace tollix {

struct Program;

// A small file in the data folder that describes the session in progress, so
// that a crash or a power cut loses at most the last minute of a connection
// instead of all of it. Price.DB and time.txt stay untouched while a session is
// open; only this file changes, each time a unit or a minute is charged.
bool WriteSessionJournal(
    const std::filesystem::path& path, const SessionState& state, std::string* error = nullptr);
std::optional<SessionState> ReadSessionJournal(const std::filesystem::path& path);
void RemoveSessionJournal(const std::filesystem::path& path);

struct RecoveryResult {
    bool Recovered = false;
    std::string Report;  // what was recovered, for the user
    std::string Error;   // why it could not be recorded (the journal is then kept)
};

// At start-up: closes a session left behind by a crash as of its last journal
// entry. It is added to each statistics record whose period it started in and
// logged as one line; then the journal is removed. A journal that cannot be read
// is set aside as session.journal.damaged so it never blocks a start.
RecoveryResult RecoverOpenSession(Program& program);

}  // namespace tollix
