#include "core/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "core/program_folder.h"
#include "core/window_title.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using test::FakeClock;
using test::FakeDialogs;
using test::FakeEventPump;
using test::TempFolder;
using test::WriteFile;
using ::testing::HasSubstr;
namespace fs = std::filesystem;
using Events = std::vector<std::string>;

constexpr const char* kInstanceTitle = "Multi-instaces detected.";
constexpr const char* kInstanceText = "Application already running. Are you sure you wanna continue?";

// The window's side of the sequence, each step recorded in the shared list.
class RecordingSteps final : public StartupSteps {
public:
    explicit RecordingSteps(Events& events) : m_events(events) {}

    bool AnotherInstanceRunning() override { return anotherInstance; }
    void SetWindowTitle(const std::string& title) override { m_events.push_back("title " + title); }
    void SetUpTray() override { m_events.emplace_back("tray"); }
    void SetTabCaptions() override { m_events.emplace_back("tabs"); }
    void SetCompactHeight() override { m_events.emplace_back("height"); }
    void FillServerVisibility() override { m_events.emplace_back("visibility"); }
    void FillGameFolderLists() override { m_events.emplace_back("game folder lists"); }
    void BuildMapCatalogue() override { m_events.emplace_back("map catalogue"); }
    void FillInterfaceChoice() override { m_events.emplace_back("interface"); }
    void FillCoreLists() override { m_events.emplace_back("cores"); }
    void RefreshProfileList() override { m_events.emplace_back("profiles"); }
    void LoadMessageProfiles() override { m_events.emplace_back("message profiles"); }
    void SelectCommandLineProfile(const std::string& name) override { m_events.push_back("select " + name); }
    void StartServer() override { m_events.emplace_back("start server"); }
    void MinimiseToTray() override { m_events.emplace_back("minimise"); }

    bool anotherInstance = false;

private:
    Events& m_events;
};

class RecordingObserver final : public EventLogObserver {
public:
    explicit RecordingObserver(Events& events) : m_events(events) {}
    void EntryAppended(const LogEntry& entry) override {
        m_events.push_back((entry.colour == kLogInformation ? "log " : "log (not blue) ") + entry.text);
    }
    void FileLoggingChanged() override {}

private:
    Events& m_events;
};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        m_log.SetObserver(&m_observer);
        m_dialogs.onQuestion = [this](const FakeDialogs::Question& question) {
            m_events.push_back("ask " + question.title);
        };
        // The game's players2 folder holds the map lists and configuration files.
        SetProgramFolder(m_folder.Path());
        fs::create_directory(m_folder / "players2");
        WriteFile(m_folder / "players2" / "default.dspl", "");
        // What an earlier supervision might have left: the sequence resets it.
        m_session.consoleTitle = "[tag] renamed console";
        m_session.captured = true;
    }

    void TearDown() override { SetProgramFolder(m_savedProgramFolder); }

    StartupOutcome Run(const std::string& argumentText) {
        return RunStartup({m_steps, m_log, m_session, m_dialogs, m_clock, m_pump}, argumentText);
    }

    std::uint32_t WaitedMs() const {
        return std::accumulate(m_clock.sleeps.begin(), m_clock.sleeps.end(), std::uint32_t{0});
    }

    // Everything up to the command line, with the game folder lists when players2 holds files.
    static Events WindowSteps(bool withGameFolderLists = true) {
        Events steps = {
            "log Program Started.", "title " + WindowTitle(), "tray", "tabs", "height", "visibility"};
        if (withGameFolderLists) {
            steps.emplace_back("game folder lists");
        }
        steps.insert(steps.end(), {"map catalogue", "interface", "cores", "profiles", "message profiles"});
        return steps;
    }

    Events m_events;
    RecordingSteps m_steps{m_events};
    TempFolder m_folder;
    FakeClock m_clock;
    FakeEventPump m_pump;
    EventLog m_log{m_folder / kSystemLogFileName, m_clock, m_pump, [] { return std::string("now"); }};
    RecordingObserver m_observer{m_events};
    ServerSession m_session;
    FakeDialogs m_dialogs;

private:
    fs::path m_savedProgramFolder = ProgramFolder();
};

TEST_F(StartupTest, WithoutArgumentsSetsUpTheWindowWithoutAsking) {
    m_steps.anotherInstance = true;

    EXPECT_EQ(Run(""), StartupOutcome::Running);

    EXPECT_EQ(m_events, WindowSteps());
    EXPECT_TRUE(m_dialogs.questions.empty());
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(m_session.consoleTitle, kServerConsoleTitle);
    EXPECT_FALSE(m_session.captured);
}

TEST_F(StartupTest, WithoutFilesInPlayers2TellsAndGoesOn) {
    fs::remove(m_folder / "players2" / "default.dspl");
    fs::create_directory(m_folder / "players2" / "maps");

    EXPECT_EQ(Run("-autostart"), StartupOutcome::Running);

    Events expected = WindowSteps(false);
    expected.insert(expected.end(), {"log Autostart command executed.", "start server", "minimise"});
    EXPECT_EQ(m_events, expected);
    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Path not found");
    EXPECT_THAT(m_dialogs.messages[0].text, HasSubstr("players2"));
}

struct InstanceCase {
    std::string name;
    bool anotherInstance;
    bool answerYes;
    StartupOutcome outcome;
    bool asked;
};

class StartupInstanceTest : public StartupTest, public ::testing::WithParamInterface<InstanceCase> {};

TEST_P(StartupInstanceTest, AsksBeforeASecondInstanceWithArguments) {
    const InstanceCase& row = GetParam();
    m_steps.anotherInstance = row.anotherInstance;
    m_dialogs.answerYes = row.answerYes;

    EXPECT_EQ(Run("-autostart"), row.outcome);

    Events expected;
    if (row.asked) {
        expected.push_back(std::string("ask ") + kInstanceTitle);
        ASSERT_EQ(m_dialogs.questions.size(), 1U);
        EXPECT_EQ(m_dialogs.questions[0].text, kInstanceText);
        EXPECT_EQ(m_dialogs.questions[0].icon, DialogIcon::Information);
    } else {
        EXPECT_TRUE(m_dialogs.questions.empty());
    }
    if (row.outcome == StartupOutcome::Declined) {
        // Nothing was set up or logged; a short wait lets pending events drain before the end.
        EXPECT_EQ(m_events, expected);
        EXPECT_TRUE(m_log.Entries().empty());
        EXPECT_EQ(WaitedMs(), 100U);
        EXPECT_GT(m_pump.passes, 0);
        return;
    }
    for (const std::string& step : WindowSteps()) {
        expected.push_back(step);
    }
    expected.emplace_back("log Autostart command executed.");
    expected.emplace_back("start server");
    expected.emplace_back("minimise");
    EXPECT_EQ(m_events, expected);
    EXPECT_EQ(WaitedMs(), 0U);
}

INSTANTIATE_TEST_SUITE_P(
    SecondInstance, StartupInstanceTest,
    ::testing::Values(InstanceCase{"Declined", true, false, StartupOutcome::Declined, true},
                      InstanceCase{"Accepted", true, true, StartupOutcome::Running, true},
                      InstanceCase{"NoOtherInstance", false, false, StartupOutcome::Running, false}),
    [](const ::testing::TestParamInfo<InstanceCase>& tested) { return tested.param.name; });

struct CommandCase {
    std::string name;
    std::string argumentText;
    Events afterWindowSteps;
};

class StartupCommandTest : public StartupTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(StartupCommandTest, CarriesOutTheCommandLineAfterTheWindowSteps) {
    const CommandCase& row = GetParam();

    EXPECT_EQ(Run(row.argumentText), StartupOutcome::Running);

    Events expected = WindowSteps();
    expected.insert(expected.end(), row.afterWindowSteps.begin(), row.afterWindowSteps.end());
    EXPECT_EQ(m_events, expected);
    EXPECT_EQ(m_session.consoleTitle, kServerConsoleTitle);
    EXPECT_FALSE(m_session.captured);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, StartupCommandTest,
    ::testing::Values(CommandCase{"ProfileThenAutostart",
                                  "-profile \"B\" -autostart",
                                  {"log Loading \"B\" profile from commandline.", "select B",
                                   "log Autostart command executed.", "start server", "minimise"}},
                      // The sequence fixes the order, not the command line.
                      CommandCase{"AutostartWrittenFirst",
                                  "-autostart -profile \"B\"",
                                  {"log Loading \"B\" profile from commandline.", "select B",
                                   "log Autostart command executed.", "start server", "minimise"}},
                      CommandCase{"EachProfileInTurn",
                                  "-profile \"A\" -profile \"B\"",
                                  {"log Loading \"A\" profile from commandline.", "select A",
                                   "log Loading \"B\" profile from commandline.", "select B"}},
                      CommandCase{"NothingToDo", "-console", {}}),
    [](const ::testing::TestParamInfo<CommandCase>& tested) { return tested.param.name; });

}  // namespace
}  // namespace zembrock
