#include "messages/message_rotation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "console/console_bridge.h"
#include "core/event_log.h"
#include "messages/message_profiles.h"
#include "server/server_session.h"
#include "support/console_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_timer.h"
#include "support/fake_window_system.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;
using testing::ElementsAre;
using testing::Pair;

// The rotation on a captured console of the fake machine; the test ticks Timer5 by hand.
class MessageRotationTest : public test::ConsoleFixture {
protected:
    MessageRotationTest() { m_session.captured = true; }

    void SetRows(const std::vector<MessageRow>& rows) {
        for (const MessageRow& row : rows) {
            m_profiles.SetEditMessage(row.message);
            m_profiles.SetEditDelay(row.delay);
            m_profiles.AddNew();
        }
    }

    // Ticks the timer; each line executed on the console paired with the tick that sent it.
    std::vector<std::pair<int, std::string>> Run(int ticks) {
        std::vector<std::pair<int, std::string>> sends;
        for (int tick = 1; tick <= ticks; ++tick) {
            const std::size_t before = m_windows.messages.size();
            m_rotation.Tick();
            for (std::size_t i = before; i < m_windows.messages.size(); ++i) {
                if (m_windows.messages[i].op == FakeWindowSystem::Op::PressEnter) {
                    sends.emplace_back(tick, m_windows.messages[i].text);
                }
            }
        }
        return sends;
    }

    std::vector<std::string> LogTexts() const {
        std::vector<std::string> texts;
        for (const LogEntry& entry : m_log.Entries()) {
            texts.push_back(entry.text);
        }
        return texts;
    }

    test::TempFolder m_folder;
    test::FakeEventPump m_pump;
    test::FakeDialogs m_dialogs;
    test::FakeTimer m_timer;
    EventLog m_log{m_folder / "systemlog.txt", m_clock, m_pump, [] { return std::string("T"); }};
    MessageProfiles m_profiles{m_folder.Path()};
    MessageRotation m_rotation{m_profiles, RotationPorts{m_session, m_bridge, m_timer, m_log, m_dialogs}};
};

TEST_F(MessageRotationTest, EachRowWaitsItsOwnDelayAfterThePreviousSend) {
    SetRows({{"^1Hello", "5"}, {"Second", "10"}});
    m_rotation.StartRotation();
    ASSERT_TRUE(m_rotation.Running());
    EXPECT_EQ(m_timer.starts, std::vector<std::uint32_t>{1000});
    EXPECT_TRUE(m_profiles.Locked());

    EXPECT_THAT(Run(30), ElementsAre(Pair(5, "say ^1Hello"), Pair(15, "say Second"), Pair(20, "say ^1Hello"),
                                     Pair(30, "say Second")));
}

TEST_F(MessageRotationTest, OneRowIsSentEveryDelay) {
    SetRows({{"Only", "60"}});
    m_rotation.StartRotation();
    EXPECT_THAT(Run(180), ElementsAre(Pair(60, "say Only"), Pair(120, "say Only"), Pair(180, "say Only")));
}

TEST_F(MessageRotationTest, DisplayCountsDownAndKeepsTheFinishedRowUntilTheNextTick) {
    SetRows({{"A", "5"}, {"B", "10"}});
    EXPECT_EQ(m_rotation.Display().countdown, "00");
    m_rotation.StartRotation();
    EXPECT_EQ(m_rotation.Display().progressMaximum, 5);

    Run(3);
    EXPECT_EQ(m_rotation.Display().countdown, "1/2 in 2");
    EXPECT_EQ(m_rotation.Display().progressValue, 3);

    Run(2);  // row 1 sent on this tick
    EXPECT_EQ(m_rotation.Display().countdown, "1/2 in 0");
    EXPECT_EQ(m_rotation.Display().progressValue, 5);
    EXPECT_EQ(m_rotation.Display().progressMaximum, 10);
    EXPECT_EQ(m_rotation.CurrentRow(), 2);

    Run(1);
    EXPECT_EQ(m_rotation.Display().countdown, "2/2 in 9");
    EXPECT_EQ(m_rotation.Display().progressValue, 1);
}

TEST_F(MessageRotationTest, RowsWithoutAUsableDelayAreSkipped) {
    SetRows({{"zero", "0"}, {"B", "5"}, {"text", "x"}, {"D", "3"}});
    m_rotation.StartRotation();
    EXPECT_EQ(m_rotation.CurrentRow(), 2);
    EXPECT_THAT(Run(16),
                ElementsAre(Pair(5, "say B"), Pair(8, "say D"), Pair(13, "say B"), Pair(16, "say D")));
    EXPECT_EQ(m_rotation.Display().countdown, "4/4 in 0");
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(MessageRotationTest, StartIsRefusedWithAMessageWhenNoRowIsUsable) {
    SetRows({{"zero", "0"}, {"text", "ab"}});
    m_rotation.StartRotation();
    EXPECT_FALSE(m_rotation.Running());
    EXPECT_FALSE(m_timer.Active());
    EXPECT_FALSE(m_profiles.Locked());
    EXPECT_TRUE(m_log.Entries().empty());
    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].text, kNoUsableDelayText);
}

TEST_F(MessageRotationTest, StartWithoutServerOrRowsDoesNothingSilently) {
    m_rotation.StartRotation();  // no rows
    SetRows({{"A", "5"}});
    m_session.captured = false;
    m_rotation.StartRotation();
    EXPECT_FALSE(m_rotation.Running());
    EXPECT_TRUE(m_timer.starts.empty());
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(MessageRotationTest, StartAndStopAreLoggedAndARestartBeginsAtRowOne) {
    m_profiles.SetEditMessage("A");
    m_profiles.SetEditDelay("2");
    m_profiles.AddNew();
    m_profiles.AddNew();
    m_dialogs.textAnswer = "Welcome";
    m_profiles.SaveNew(m_dialogs);
    m_profiles.StartUp();
    ASSERT_EQ(m_profiles.Profiles().Text(), "Welcome");

    m_rotation.StartRotation();
    Run(2);
    EXPECT_EQ(m_rotation.CurrentRow(), 2);
    m_rotation.StopRotation();
    EXPECT_FALSE(m_rotation.Running());
    EXPECT_FALSE(m_timer.Active());
    EXPECT_FALSE(m_profiles.Locked());
    EXPECT_EQ(m_rotation.CurrentRow(), 2);
    EXPECT_TRUE(Run(5).empty());

    m_rotation.StartRotation();
    EXPECT_EQ(m_rotation.CurrentRow(), 1);
    EXPECT_THAT(LogTexts(),
                ElementsAre("Messages rotate started with profile: Welcome.", "Messages rotate stoped.",
                            "Messages rotate started with profile: Welcome."));
    for (const LogEntry& entry : m_log.Entries()) {
        EXPECT_EQ(entry.colour, kLogInformation);
    }
}

TEST_F(MessageRotationTest, TickAfterTheCaptureWasClearedStopsWithoutALogLine) {
    SetRows({{"A", "1"}});
    m_rotation.StartRotation();
    m_session.captured = false;
    EXPECT_TRUE(Run(3).empty());
    EXPECT_FALSE(m_rotation.Running());
    EXPECT_FALSE(m_timer.Active());
    EXPECT_FALSE(m_profiles.Locked());
    EXPECT_THAT(LogTexts(), ElementsAre("Messages rotate started with profile: ."));
}

TEST_F(MessageRotationTest, WatchdogEventsStartOnlyWithAutostartAndStopOnlyWhenRunning) {
    m_rotation.OnServerCaptured(true);  // empty list
    EXPECT_FALSE(m_rotation.Running());

    SetRows({{"A", "5"}});
    m_rotation.OnServerCaptured(false);
    EXPECT_FALSE(m_rotation.Running());
    m_rotation.OnServerLost();
    EXPECT_TRUE(m_log.Entries().empty());

    m_rotation.OnServerCaptured(true);
    EXPECT_TRUE(m_rotation.Running());
    m_rotation.OnServerLost();
    EXPECT_FALSE(m_rotation.Running());
    EXPECT_EQ(LogTexts().back(), "Messages rotate stoped.");
}

}  // namespace
}  // namespace zembrock
