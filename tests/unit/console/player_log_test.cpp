#include "console/player_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/console_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_timer.h"
#include "support/fake_window_system.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;

// A supervised fake console that answers every "status" with a numbered answer, and a log in a
// temporary program folder whose timestamps count up.
class PlayerLogTest : public test::ConsoleFixture {
protected:
    PlayerLogTest() {
        m_session.captured = true;
        m_windows.onEnter = [this](WindowHandle, const std::string& line) {
            std::string& output = m_windows.Find(m_console.output)->text;
            output += "]" + line + "\r\n";
            if (line == "status" && m_answering) {
                output += "map: mp_dome\r\nanswer " + std::to_string(++m_answers) + "\r\n";
            }
        };
        m_eventLog.SetLimitText("200");
    }

    std::string Log() const { return test::ReadFile(m_log.File()); }

    // Ticks as Timer4 would and reports after which ticks a record was written.
    std::vector<int> TicksThatWrote(int ticks) {
        std::vector<int> writes;
        for (int tick = 1; tick <= ticks; ++tick) {
            const int before = m_stamps;
            m_log.Tick();
            if (m_stamps != before) {
                writes.push_back(tick);
            }
        }
        return writes;
    }

    test::TempFolder m_folder;
    test::FakeEventPump m_pump;
    test::FakeTimer m_timer;
    EventLog m_eventLog{m_folder / "systemlog.txt", m_clock, m_pump};
    bool m_answering = true;
    int m_answers = 0;
    int m_stamps = 0;
    PlayerLog m_log{m_folder / kPlayerLogFileName,
                    PlayerLogPorts{m_bridge, m_session, m_eventLog, m_clock, m_pump, m_timer},
                    [this] { return "T" + std::to_string(++m_stamps); }};
};

TEST_F(PlayerLogTest, FirstRecordOneMinuteAfterTickingThenEveryInterval) {
    m_log.LogBoxClicked(true, "10");
    EXPECT_TRUE(m_timer.Active());
    EXPECT_EQ(m_timer.IntervalMs(), kPlayerLogTickMs);
    EXPECT_EQ(TicksThatWrote(21), (std::vector<int>{1, 11, 21}));

    m_log.LogBoxClicked(false, "10");
    EXPECT_FALSE(m_timer.Active());
}

TEST_F(PlayerLogTest, UnsupervisedTicksKeepTheCounter) {
    m_log.LogBoxClicked(true, "3");
    m_session.captured = false;
    EXPECT_TRUE(TicksThatWrote(5).empty());
    EXPECT_EQ(m_log.MinuteCounter(), 2);
    m_session.captured = true;
    EXPECT_EQ(TicksThatWrote(4), (std::vector<int>{1, 4}));
}

TEST_F(PlayerLogTest, RecordIsTheTimestampAndTheAnswerUnchanged) {
    ASSERT_TRUE(m_log.Write());
    ASSERT_TRUE(m_log.Write());
    // The mirror's final character (the last LF) is not part of the answer.
    EXPECT_EQ(Log(), "T1\r\n\r\nmap: mp_dome\r\nanswer 1\r\r\nT2\r\n\r\nmap: mp_dome\r\nanswer 2\r\r\n");
    // 1000 ms for the answer and 200 ms of the size rule once the file exists.
    EXPECT_EQ(m_clock.NowMs(), 1000U + 1200U);
}

TEST_F(PlayerLogTest, WithoutAnAnswerNothingIsWritten) {
    m_answering = false;
    m_windows.onEnter = [](WindowHandle, const std::string&) {};
    EXPECT_FALSE(m_log.Write());
    EXPECT_FALSE(std::filesystem::exists(m_log.File()));
}

struct SizeCase {
    const char* name;
    std::size_t bytes;
    bool deleted;
};

constexpr std::size_t kKb = 1024;

class PlayerLogSizeTest : public PlayerLogTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(PlayerLogSizeTest, OversizedLogIsDeletedBeforeTheRecord) {
    test::WriteFile(m_log.File(), std::string(GetParam().bytes, 'x'));
    ASSERT_TRUE(m_log.Write());
    const std::string record = "T1\r\n\r\nmap: mp_dome\r\nanswer 1\r\r\n";
    EXPECT_EQ(Log().size(), (GetParam().deleted ? 0 : GetParam().bytes) + record.size());
    EXPECT_THAT(Log(), testing::EndsWith(record));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlayerLogSizeTest,
                         testing::Values(SizeCase{"Over", 201 * kKb, true},
                                         SizeCase{"HalfRoundsToEvenAndStays", 200 * kKb + 512, false},
                                         SizeCase{"AtTheLimit", 200 * kKb, false}),
                         [](const testing::TestParamInfo<SizeCase>& row) {
                             return std::string(row.param.name);
                         });

struct MinutesCase {
    const char* text;
    const char* shown;
    std::int32_t interval;
};

TEST_F(PlayerLogTest, MinutesChangeForcesAtLeastOneAndKeepsTheCounter) {
    m_log.LogBoxClicked(true, "5");
    for (const MinutesCase& row :
         {MinutesCase{"0", "1", 1}, MinutesCase{"-7", "1", 1}, MinutesCase{"", "1", 1},
          MinutesCase{"abc", "1", 1}, MinutesCase{"15", "15", 15}, MinutesCase{"007", "007", 7}}) {
        EXPECT_EQ(m_log.MinutesChanged(row.text), row.shown) << row.text;
        EXPECT_EQ(m_log.IntervalMinutes(), row.interval) << row.text;
        EXPECT_EQ(m_log.MinuteCounter(), 4) << row.text;
    }
}

TEST_F(PlayerLogTest, ClickWithUnreadableMinutesWritesOnTheFirstTick) {
    m_log.LogBoxClicked(true, "");
    EXPECT_EQ(TicksThatWrote(2), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace zembrock
