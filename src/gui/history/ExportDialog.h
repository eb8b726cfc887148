#pragma once

#include <filesystem>
#include <vector>

#include "history/ConnectionLogEntry.h"

class QWidget;

namespace tollix {

// Asks where (and in which encoding) to save the entries as CSV, adds the
// bytes the archive measured, and writes the file; a failure is shown naming
// the file and the reason. Nothing happens when the user cancels.
void ExportHistory(
    QWidget* parent, const std::filesystem::path& dataFolder, const std::vector<ConnectionLogEntry>& entries);

}  // namespace tollix
