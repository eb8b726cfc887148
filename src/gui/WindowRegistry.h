#pragma once

namespace tollix {

// Connects the main window's menu entries to the windows they open.
void RegisterWindows();

}  // namespace tollix
