#pragma once

#include <filesystem>
#include <ostream>

#include "dialup/DialupService.h"

namespace tollix {

// `tollix --check`: what the meter sees, without opening a window — the data
// folder, the dial-up backend, the phonebook entries and whether a connection
// is up and under which name. 0 when the phonebook could be read, else 1 with
// the reason on `err`.
int RunCheck(
    std::ostream& out, std::ostream& err, DialupService& service, const std::filesystem::path& dataFolder);

}  // namespace tollix
