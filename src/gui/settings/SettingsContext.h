#pragma once

#include "gui/common/SaveFailureNotice.h"
#include "meter/SettingsEditor.h"

namespace tollix {

class Clock;
struct Program;

// What every page of the settings window works with. `recording` is false
// while the window fills its controls, so that only the user's edits reach the
// settings; a write the file refused is told once per action through `notice`.
struct SettingsContext {
    Program& program;
    SettingsEditor& editor;
    const Clock& clock;
    SaveFailureNotice& notice;
    bool recording = false;

    bool Record(const ProfileWriteResult& result) { return notice.Report(result); }
};

}  // namespace tollix
