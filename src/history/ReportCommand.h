#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "base/DateTime.h"

namespace tollix {

// `tollix report [--period today|week|month|year|all] [--from DATE --to DATE]
// [--by day|week|month|year|connection] [--format table|csv|json]`: totals from
// the usage archive, read-only, without a window. `args` are the words after
// "report". The reset days come from tollix.ini in the data folder.
// 0 on success (also for an empty archive), 1 when the archive cannot be
// read, 2 for bad arguments (the reason on `err`).
int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
    const std::filesystem::path& dataFolder, DateTime now);

}  // namespace tollix
