#include <gtest/gtest.h>

#include "ManualClock.h"

#include "dialup/DialupService.h"

namespace {

using namespace tollix;

// A line that goes down a fixed time after the hang-up (steady time 0), or never.
struct ScriptedLine final : DialupService {
    ScriptedLine(const Clock& c, int64_t down)
        : clock(c)
        , downAfter(down)
    { }
    std::string BackendName() const override { return "scripted"; }
    PhonebookResult Phonebook() override { return {}; }
    bool IsConnected() override { return hangUps == 0 || downAfter < 0 || clock.SteadyMillis() < downAfter; }
    std::string GetDefaultConnection() override { return "isp"; }
    LinkInfo CurrentLink() override { return {}; }
    DialResult DialConnection(const std::string&) override { return {}; }
    void HangUp() override { ++hangUps; }
    const Clock& clock;
    int64_t downAfter;  // -1: never
    int hangUps = 0;
};

// The events move the steady clock alone: a wait timed by the wall clock would
// never end.
TEST(HangUpAll, WaitsForTheLineWithinABound)
{
    const struct {
        const char* what;
        int64_t downAfterMillis;  // -1: never
        bool lineDown;
        int64_t elapsedMillis;
    } cases[] = {
        {"down at once: still waits three seconds", 0, true, 3000},
        {"down after five seconds: whole seconds", 4200, true, 5000},
        {"down just before the bound", 29500, true, 30000},
        {"never down: gives up at the bound", -1, false, 30000},
    };
    for (const auto& c : cases) {
        ManualClock clock;
        ScriptedLine line(clock, c.downAfterMillis);
        int events = 0;
        HangUpResult result = HangUpAll(line, clock, [&] {
            ++events;
            clock.AdvanceMillis(50);
        });
        EXPECT_EQ(result.LineDown, c.lineDown) << c.what;
        EXPECT_EQ(clock.SteadyMillis(), c.elapsedMillis) << c.what;
        EXPECT_EQ(events, c.elapsedMillis / 50) << c.what << ": the event loop must keep running";
    }
}

}  // namespace
