#include "console/console_bridge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/console_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_window_system.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;

// The bridge on a captured console of the fake machine.
class ConsoleBridgeTest : public test::ConsoleFixture {
protected:
    ConsoleBridgeTest() {
        m_bridge.SetMirrorObserver([this] { ++m_mirrorChanges; });
    }

    std::string& Output() { return m_windows.Find(m_console.output)->text; }

    int m_mirrorChanges = 0;
};

TEST_F(ConsoleBridgeTest, SendTypesTheLineKeepsHistoryAndShowsTheAnswer) {
    m_bridge.Send("status");
    EXPECT_EQ(m_bridge.MirrorText(), "]status\r\n");
    EXPECT_EQ(m_history, std::vector<std::string>{"status"});
    EXPECT_EQ(m_clock.sleeps, std::vector<std::uint32_t>{100});

    m_bridge.Send("");
    EXPECT_EQ(m_history.size(), 1U);
    EXPECT_EQ(m_windows.messages.back().op, FakeWindowSystem::Op::ReadText);  // nothing sent
}

TEST_F(ConsoleBridgeTest, HistoryKeepsTheLastTenDuplicatesIncluded) {
    for (int i = 1; i <= 11; ++i) {
        m_bridge.Send("say " + std::to_string(i));
    }
    m_bridge.Send("say 11");
    ASSERT_EQ(m_history.size(), 10U);
    EXPECT_EQ(m_history.front(), "say 3");
    EXPECT_EQ(m_history[8], "say 11");
    EXPECT_EQ(m_history[9], "say 11");
}

TEST_F(ConsoleBridgeTest, RefreshChangesNothingWhenTheTextIsTheSame) {
    Output() = "line\r\n";
    m_bridge.Refresh();
    m_bridge.Refresh();
    EXPECT_EQ(m_mirrorChanges, 1);
    EXPECT_EQ(m_session.lastConsoleText, "line\r\n");
}

TEST_F(ConsoleBridgeTest, EmptyOrSilentConsoleShowsThePlaceholderOnce) {
    m_bridge.Refresh();
    EXPECT_EQ(m_bridge.MirrorText(), kNoConsoleText);
    m_windows.Find(m_console.console)->hung = true;
    m_bridge.Refresh();
    EXPECT_EQ(m_mirrorChanges, 1);
}

TEST_F(ConsoleBridgeTest, ClearEmptiesServerAndMirrorAndTheNextRefreshShowsNewText) {
    Output() = "old";
    m_bridge.Refresh();
    m_bridge.Clear();
    EXPECT_TRUE(Output().empty());
    EXPECT_TRUE(m_bridge.MirrorText().empty());
    m_bridge.Refresh();
    EXPECT_EQ(m_bridge.MirrorText(), kNoConsoleText);
    Output() = "new";
    m_bridge.Refresh();
    EXPECT_EQ(m_bridge.MirrorText(), "new");
}

TEST_F(ConsoleBridgeTest, MirrorPastItsLimitClearsBothSides) {
    Output() = std::string(kMirrorLimit, 'x');
    m_bridge.Refresh();
    EXPECT_EQ(m_bridge.MirrorText().size(), kMirrorLimit);
    Output() += "y";
    m_bridge.Refresh();
    EXPECT_TRUE(m_bridge.MirrorText().empty());
    EXPECT_TRUE(Output().empty());
}

struct PublicIpCase {
    const char* name;
    const char* text;
    const char* address;
};

class PublicIpTest : public ConsoleBridgeTest, public testing::WithParamInterface<PublicIpCase> {};

TEST_P(PublicIpTest, AddressIsCutAtTheFirstCommaWithinTwentyCharacters) {
    m_session.remoteInfo = "title|4242|default|27017|";
    Output() = GetParam().text;
    m_bridge.Refresh();
    EXPECT_EQ(m_session.publicIp, GetParam().address);
    EXPECT_EQ(m_session.remoteInfo, std::string("title|4242|default|27017|") + GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PublicIpTest,
    testing::Values(PublicIpCase{"Dotted", "Server started, Public IP 203.0.113.7, port 27016\r\n",
                                 "203.0.113.7"},
                    PublicIpCase{"NoCommaWithinReach", "x, Public IP 2001:db8:0:0:0:0:0:1 and more", ""},
                    PublicIpCase{"CaseMatters", "x, public IP 1.2.3.4,", ""},
                    PublicIpCase{"Absent", "nothing here", ""}),
    [](const testing::TestParamInfo<PublicIpCase>& row) { return std::string(row.param.name); });

TEST_F(ConsoleBridgeTest, PublicAddressIsTakenOnceAndLaterMentionsAreIgnored) {
    Output() = "a, Public IP 1.2.3.4,";
    m_bridge.Refresh();
    Output() += " b, Public IP 5.6.7.8,";
    m_bridge.Refresh();
    EXPECT_EQ(m_session.publicIp, "1.2.3.4");
}

TEST_F(ConsoleBridgeTest, RestartButtonsSendTheirCommands) {
    m_bridge.SendRestart(0);
    m_bridge.SendRestart(1);
    m_bridge.SendRestart(2);
    std::vector<std::string> lines;
    for (const auto& message : m_windows.messages) {
        if (message.op == FakeWindowSystem::Op::PressEnter) {
            lines.push_back(message.text);
        }
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"map_restart", "fast_restart"}));
}

TEST_F(ConsoleBridgeTest, WithoutConsoleNothingIsSent) {
    m_session.inputLine = 0;
    m_bridge.SendConsoleCommand("status");
    EXPECT_TRUE(m_windows.messages.empty());
}

}  // namespace
}  // namespace zembrock
