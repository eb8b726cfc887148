#include <gtest/gtest.h>

#include "ManualClock.h"
#include "TestSupport.h"

#include <limits>

#include "dialup/DialupService.h"

namespace {

using namespace tollix;
using namespace tollix::test;

const DateTime kSecondToMidnight = At(1999, 12, 31, 23, 59, 59);

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

// Every wait starts a second before midnight, and the wall clock jumps back an
// hour at the tenth event: only the steady clock may count.
TEST(WaitSeconds, RunsEventsUntilTheSteadyClockHasMoved)
{
    const struct {
        double seconds;
        int64_t stepMillis;
        int events;
    } cases[] = {{0, 50, 0}, {std::numeric_limits<double>::quiet_NaN(), 50, 0}, {1, 50, 20}, {0.01, 50, 1},
        {1, 300, 4}};
    for (const auto& c : cases) {
        ManualClock clock(kSecondToMidnight);
        int events = 0;
        WaitSeconds(c.seconds, clock, [&] {
            clock.AdvanceMillis(c.stepMillis);
            if (++events == 10)
                clock.Set(At(1999, 12, 31, 23));
        });
        EXPECT_EQ(events, c.events) << c.seconds << " s in steps of " << c.stepMillis << " ms";
    }
}

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
        ManualClock clock(kSecondToMidnight);
        ScriptedLine line(clock, c.downAfterMillis);
        int events = 0;
        HangUpResult result = HangUpAll(line, clock, [&] {
            ++events;
            clock.AdvanceMillis(50);
        });
        EXPECT_EQ(result.LineDown, c.lineDown) << c.what;
        EXPECT_EQ(clock.SteadyMillis(), c.elapsedMillis) << c.what;
        EXPECT_EQ(line.hangUps, 1) << c.what;
        EXPECT_EQ(events, c.elapsedMillis / 50) << c.what << ": the event loop must keep running";
    }
}

}  // namespace
