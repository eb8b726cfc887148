#pragma once

#include <string>

namespace tollix {

// What one write of the settings file came to. A failed write names the file
// and says why in words a user can act on, so the window that caused it can
// tell the user without knowing how the file is written.
struct ProfileWriteResult {
    bool Written = true;
    std::string Path;     // the file that was not written
    std::string Reason;   // why, in the user's language
    std::string Message;  // the whole error text, as the engine logs and tests see it

    explicit operator bool() const { return Written; }
};

// A short Chinese reason for the errors a user can fix (a read-only folder, no
// permission, a full disk); the system's own text for any other.
std::string WriteFailureReason(int errorNumber);

}  // namespace tollix
