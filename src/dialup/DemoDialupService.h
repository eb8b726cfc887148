#pragma once

#include <cstdint>
#include <string>

#include "dialup/DialupService.h"

namespace tollix {

// A simulated modem for trying the program without a telephone line: a small
// built-in phonebook; dialling brings the line up a few seconds later,
// hanging up takes it down a second later. Time is the clock's steady time,
// so a test moving its clock sees the line change at once.
class DemoDialupService final : public DialupService {
public:
    static constexpr int64_t kDialMillis = 3000;
    static constexpr int64_t kHangUpMillis = 1000;

    explicit DemoDialupService(const Clock& clock)
        : clock_(clock)
    { }

    std::string BackendName() const override { return "demo"; }
    PhonebookResult Phonebook() override;
    bool IsConnected() override;
    std::string GetDefaultConnection() override;
    // A line of its own kind: "demo0", counting like a busy 56K modem.
    LinkInfo CurrentLink() override;
    DialResult DialConnection(const std::string& name) override;
    void HangUp() override;

private:
    enum class LineState { Down, Dialling, Up, HangingUp };
    // Moves the line on to where it is by now.
    void Advance();

    const Clock& clock_;
    LineState state_ = LineState::Down;
    std::string name_;
    int64_t changeAt_ = 0;  // steady millis of the next change
    int64_t upSince_ = 0;   // steady millis when the line came up
    int dials_ = 0;         // so that each line has an identity of its own
};

}  // namespace tollix
