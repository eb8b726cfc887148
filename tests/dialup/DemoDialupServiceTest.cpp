#include <gtest/gtest.h>

#include "ManualClock.h"
#include "dialup/DemoDialupService.h"

using namespace tollix;

TEST(DemoDialupService, PhonebookAndALineThatFollowsDialAndHangUp)
{
    ManualClock clock;
    DemoDialupService demo(clock);
    const std::string name = demo.Phonebook().Entries.at(1);
    const struct {
        const char* step;
        std::function<void()> act;
        std::string connection;  // "" while the line is down
    } steps[] = {
        {"idle", [] {}, ""},
        {"not an entry", [&] { EXPECT_FALSE(demo.DialConnection("bogus").Started); }, ""},
        {"dialled", [&] { EXPECT_TRUE(demo.DialConnection(name).Started); }, ""},
        {"second dial while dialling", [&] { EXPECT_FALSE(demo.DialConnection(name).Started); }, ""},
        {"3 s after dialling", [&] { clock.Advance(3); }, name},
        {"wall clock set back", [&] { clock.Set(DateTime()); }, name},
        {"hang up sent", [&] { demo.HangUp(); }, name},
        {"1 s later", [&] { clock.Advance(1); }, ""},
        {"dial again", [&] { EXPECT_TRUE(demo.DialConnection(name).Started); }, ""},
        {"hang up while dialling", [&] { demo.HangUp(); }, ""},
        {"never comes up", [&] { clock.Advance(10); }, ""},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(demo.IsConnected(), !s.connection.empty()) << s.step;
        EXPECT_EQ(demo.GetDefaultConnection(), s.connection) << s.step;
        const LinkInfo link = demo.CurrentLink();
        EXPECT_EQ(!link.Identity.empty() && link.ReceivedBytes && link.SentBytes, demo.IsConnected())
            << s.step;
    }
}
