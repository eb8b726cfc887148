#include <gtest/gtest.h>

#include <algorithm>

#include "ManualClock.h"
#include "base/Gbk.h"
#include "dialup/DemoDialupService.h"

using tollix::DemoDialupService;
using tollix::ManualClock;

TEST(DemoDialupService, PhonebookAndALineThatFollowsDialAndHangUp)
{
    ManualClock clock;
    DemoDialupService demo(clock);
    // Three entries, one with Chinese characters, one longer than 15 characters.
    const tollix::PhonebookResult book = demo.Phonebook();
    ASSERT_TRUE(book.Readable);
    ASSERT_EQ(book.Entries.size(), 3u);
    auto any = [&](auto test) { return std::any_of(book.Entries.begin(), book.Entries.end(), test); };
    EXPECT_TRUE(any([](const std::string& n) { return tollix::Utf8Length(n) < n.size(); }));
    EXPECT_TRUE(any([](const std::string& n) { return tollix::Utf8Length(n) > 15; }));
    const std::string name = book.Entries[1];
    const struct {
        const char* step;
        std::function<void()> act;
        bool connected;
        std::string connection;
    } steps[] = {
        {"idle", [] {}, false, ""},
        {"not an entry", [&] { EXPECT_FALSE(demo.DialConnection("bogus").Started); }, false, ""},
        {"dialled", [&] { EXPECT_TRUE(demo.DialConnection(name).Started); }, false, ""},
        {"2 s later", [&] { clock.Advance(2); }, false, ""},
        {"second dial while dialling", [&] { EXPECT_FALSE(demo.DialConnection(name).Started); }, false, ""},
        {"3 s after dialling", [&] { clock.Advance(1); }, true, name},
        {"wall clock set back", [&] { clock.Set(tollix::DateTime()); }, true, name},
        {"hang up sent", [&] { demo.HangUp(); }, true, name},
        {"1 s later", [&] { clock.Advance(1); }, false, ""},
        {"dial again", [&] { EXPECT_TRUE(demo.DialConnection(name).Started); }, false, ""},
        {"hang up while dialling", [&] { demo.HangUp(); }, false, ""},
        {"never comes up", [&] { clock.Advance(10); }, false, ""},
    };
    std::vector<std::string> identities;
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(demo.IsConnected(), s.connected) << s.step;
        EXPECT_EQ(demo.GetDefaultConnection(), s.connection) << s.step;
        const tollix::LinkInfo link = demo.CurrentLink();
        EXPECT_EQ(!link.Identity.empty() && link.ReceivedBytes && link.SentBytes, s.connected) << s.step;
        if (s.connected && (identities.empty() || identities.back() != link.Identity))
            identities.push_back(link.Identity);
    }
    EXPECT_EQ(identities.size(), 1u) << "one line, one identity while it lasts";
    EXPECT_TRUE(demo.DialConnection(name).Started);
    clock.Advance(3);
    EXPECT_NE(demo.CurrentLink().Identity, identities[0]) << "a second dial is another line";
}
