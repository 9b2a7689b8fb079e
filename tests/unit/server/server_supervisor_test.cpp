#include "server/server_supervisor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/program_folder.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_processes.h"
#include "support/fake_timer.h"
#include "support/fake_window_system.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

constexpr std::uint32_t kServerPid = 4242;

// The supervision over a fake machine: a successful launch opens the server's console window
// (owned by kServerPid) at once, and terminating its process removes it.
class SupervisorTest : public testing::Test {
protected:
    SupervisorTest() {
        SetProgramFolder(m_folder.Path());
        std::filesystem::create_directories(m_folder.Path() / "players2");
        test::WriteFile(m_folder / "players2/rotation.dspl", "mp_dome,TDM_default,1\r\n");
        test::WriteFile(m_folder / kServerExecutable, "stand-in");
        m_fields.serverVisibility.Fill({"LAN", "Internet"});
        m_fields.serverVisibility.SelectIndex(1);
        m_fields.configFiles.Fill({"server.cfg"});
        m_fields.configFiles.SelectIndex(0);
        m_fields.networkInterface.Fill({"10.0.0.5", "ANY IP"});
        m_fields.networkInterface.SelectIndex(1);
        m_fields.consoleCores.Fill({"CPU 0", "CPU 1"});
        m_fields.startHidden = false;
        m_mapLists.RefreshMapListFiles();
        m_processes.affinities[kServerPid] = 0x3;
        m_processes.onCreate = [this](const ProcessLaunch& /*launch*/) {
            m_console = m_windows.AddServerConsole(kServerPid);
        };
        m_processes.onTerminate = [this](std::uint32_t processId) {
            if (processId == kServerPid) {
                m_windows.RemoveWindow(m_console.console);
            }
        };
        m_supervisor.SetProfileNameSource([] { return std::string("night"); });
    }
    ~SupervisorTest() override { SetProgramFolder(m_previousFolder); }
    SupervisorTest(const SupervisorTest&) = delete;
    SupervisorTest& operator=(const SupervisorTest&) = delete;
    SupervisorTest(SupervisorTest&&) = delete;
    SupervisorTest& operator=(SupervisorTest&&) = delete;

    std::vector<std::string> LogTexts() const {
        std::vector<std::string> texts;
        for (const LogEntry& entry : m_log.Entries()) {
            texts.push_back(entry.text);
        }
        return texts;
    }
    std::vector<std::string> LinesSent() const {
        std::vector<std::string> lines;
        for (const auto& message : m_windows.messages) {
            if (message.op == FakeWindowSystem::Op::PressEnter) {
                lines.push_back(message.text);
            }
        }
        return lines;
    }
    // Start, then the first tick captures the console.
    void StartAndCapture() {
        m_supervisor.StartStopAction();
        m_supervisor.Tick();
        ASSERT_TRUE(m_session.captured);
    }

    std::filesystem::path m_previousFolder = ProgramFolder();
    test::TempFolder m_folder;
    test::FakeClock m_clock;
    test::FakeEventPump m_pump;
    test::FakeDialogs m_dialogs;
    test::FakeProcesses m_processes;
    FakeWindowSystem m_windows;
    FakeWindowSystem::ServerConsole m_console;
    test::FakeTimer m_timer;
    ServerSession m_session;
    ProfileFields m_fields;
    MapListEditor m_mapLists{m_folder.Path()};
    EventLog m_log{m_folder / "systemlog.txt", m_clock, m_pump, [] { return std::string("T"); }};
    ConsoleBridge m_bridge{m_session, m_windows, m_clock, m_fields.commandHistory};
    SupervisionDisplay m_display;
    ServerSupervisor m_supervisor{
        SupervisorModels{m_session, m_fields, m_mapLists, m_log, m_bridge, m_display},
        SupervisorPorts{m_windows, m_processes, m_dialogs, m_clock, m_pump, m_timer},
        "Zembrock - Server Launcher/Editor v1.0.0"};
};

struct ArgumentsCase {
    const char* name;
    std::size_t visibility;
    const char* serverPort;
    const char* configFile;
    const char* expected;
};

class ServerArgumentsTest : public SupervisorTest, public testing::WithParamInterface<ArgumentsCase> {};

TEST_P(ServerArgumentsTest, BuildsTheCommandLineFromTheFields) {
    const ArgumentsCase& row = GetParam();
    m_fields.serverVisibility.SelectIndex(static_cast<std::int64_t>(row.visibility));
    m_fields.serverPort = row.serverPort;
    m_fields.configFiles.Fill({row.configFile});
    m_fields.configFiles.SelectIndex(0);
    EXPECT_EQ(m_supervisor.ServerArguments(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ServerArgumentsTest,
    testing::Values(
        ArgumentsCase{"DefaultsOnInternet", 1, "27016", "server.cfg",
                      " +set dedicated 2 +set net_queryPort 27014 +set net_port 27016 +set net_authPort 8766"
                      " +set net_masterServerPort 27017 +set sv_config \"server.cfg\""},
        ArgumentsCase{"LanWithEmptyPortAndBlanksInTheConfigName", 0, "", "my server.cfg",
                      " +set dedicated 1 +set net_queryPort 27014 +set net_port  +set net_authPort 8766"
                      " +set net_masterServerPort 27017 +set sv_config \"my server.cfg\""}),
    [](const testing::TestParamInfo<ArgumentsCase>& row) { return std::string(row.param.name); });

TEST_F(SupervisorTest, StartLaunchesTheServerAndWaitsForItsConsole) {
    m_supervisor.StartStopAction();

    ASSERT_EQ(m_processes.launches.size(), 1U);
    const ProcessLaunch& launch = m_processes.launches[0];
    EXPECT_EQ(launch.commandLine, std::string(kServerExecutable) + m_supervisor.ServerArguments());
    EXPECT_EQ(launch.workingFolder, m_folder.Path());
    EXPECT_EQ(launch.settleWaitMs, 2000U);
    EXPECT_EQ(m_display.startStopCaption, kStopServerCaption);
    EXPECT_TRUE(m_timer.Active());
    EXPECT_EQ(m_timer.IntervalMs(), 2000U);
    EXPECT_EQ(ReadIniKey("Network", "NetworkInterface", m_folder / "pellagrix.ini", ""), "255");
    EXPECT_THAT(LogTexts(), ElementsAre("Server successfully started."));
}

TEST_F(SupervisorTest, StartRefusesWithoutMapListBeforeLookingForTheExecutable) {
    std::filesystem::remove(m_folder / "players2/rotation.dspl");
    std::filesystem::remove(m_folder / kServerExecutable);
    m_mapLists.RefreshMapListFiles();

    m_supervisor.StartStopAction();

    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Rotation maplist error");
    EXPECT_EQ(m_dialogs.messages[0].text, "There is no available map-list, please create one and try again.");
    EXPECT_TRUE(LogTexts().empty());
    EXPECT_TRUE(m_processes.launches.empty());
}

TEST_F(SupervisorTest, StartWithoutExecutableLogsAndKeepsTheCaption) {
    std::filesystem::remove(m_folder / kServerExecutable);
    m_supervisor.StartStopAction();
    EXPECT_THAT(LogTexts(), ElementsAre("Error starting server, Zembrock_dedicated.exe not founded."));
    EXPECT_EQ(m_log.Entries()[0].colour, kLogFailure);
    EXPECT_EQ(m_display.startStopCaption, kStartServerCaption);
    EXPECT_TRUE(m_processes.launches.empty());
}

TEST_F(SupervisorTest, ThreeFailedCreationsPauseBetweenAndGiveUp) {
    m_processes.createSucceeds = false;
    m_supervisor.StartStopAction();

    EXPECT_THAT(LogTexts(), ElementsAre("Server failed to start [1/3].", "Server failed to start [2/3].",
                                        "Server failed to start [3/3].", "Server failed to start."));
    EXPECT_EQ(m_log.Entries()[0].colour, kLogFailure);
    EXPECT_EQ(m_log.Entries()[3].colour, kLogInformation);
    EXPECT_EQ(m_clock.NowMs(), 3000U);  // a pumped second after each attempt
    EXPECT_EQ(m_display.startStopCaption, kStartServerCaption);
    EXPECT_FALSE(m_timer.Active());
}

TEST_F(SupervisorTest, CaptureTagsTheConsoleAndPushesTheSettingsInOrder) {
    m_fields.hostName = "Night \"Ops\"";
    m_fields.consoleCores.SelectAll();
    m_supervisor.StartStopAction();
    m_supervisor.Tick();  // waiting: the console window is there at once in this fake

    ASSERT_TRUE(m_session.captured);
    EXPECT_EQ(m_session.consoleWindow, m_console.console);
    EXPECT_EQ(m_session.inputLine, m_console.input);
    EXPECT_EQ(m_session.outputArea, m_console.output);
    EXPECT_EQ(m_session.consoleProcessId, kServerPid);
    EXPECT_TRUE(std::regex_match(m_session.consoleTitle, std::regex("#[0-9]{3} Started at: .+")))
        << m_session.consoleTitle;
    EXPECT_EQ(m_windows.WindowTitle(m_console.console), m_session.consoleTitle);
    EXPECT_EQ(m_session.remoteInfo, m_session.consoleTitle + "|4242|night|27017|");
    EXPECT_EQ(m_display.trayTooltip, "Zembrock - Server Launcher/Editor v1.0.0\r\n" + m_session.consoleTitle);
    EXPECT_EQ(m_display.trayBalloonText,
              m_session.consoleTitle + "\r\nPrograms is minimized Click to restore.");
    EXPECT_EQ(m_timer.IntervalMs(), 1000U);
    EXPECT_EQ(m_processes.setRequests.back(), 0x3U);  // the console's processors, at capture

    const std::vector<std::string> texts = LogTexts();
    ASSERT_GE(texts.size(), 3U);
    EXPECT_EQ(texts[1], "Server window captured.");
    EXPECT_EQ(texts[2],
              m_session.consoleTitle + " Hwnd: " + std::to_string(m_console.console) + " pID: 4242");
    EXPECT_EQ(m_log.Entries()[2].colour, kLogDetail);

    EXPECT_THAT(
        LinesSent(),
        ElementsAre("set sv_hostname \"Night \"Ops\"\"", "set rcon_password \"\"", "set sv_privateClients 0",
                    "set sv_maxclients 18", "set sv_privatePassword lumbert", "set sv_maxPing \"700\"",
                    "set sv_voice 0", "set g_allowVote 1", "set g_deadChat 0", "set g_inactivity 90",
                    "set sv_kickBanTime 300", "set sv_floodProtect 1", "set sv_maprotation rotation",
                    "start_map_rotate"));
    // The output is emptied between the rotation's name and its start.
    const auto& messages = m_windows.messages;
    const auto emptied = std::find_if(messages.begin(), messages.end(), [this](const auto& message) {
        return message.op == FakeWindowSystem::Op::SetText && message.window == m_console.output &&
               message.text.empty();
    });
    ASSERT_NE(emptied, messages.end());
    EXPECT_EQ(std::prev(emptied)->text, "set sv_maprotation rotation");
    EXPECT_EQ(std::next(emptied, 2)->text, "start_map_rotate");
}

TEST_F(SupervisorTest, StartHiddenHidesTheConsoleAtCapture) {
    m_fields.startHidden = true;
    StartAndCapture();
    EXPECT_FALSE(m_windows.Find(m_console.console)->visible);
}

// The watchdog's table, tick by tick, for a console that stops answering.
TEST_F(SupervisorTest, HungConsoleIsRestartedAfterTheConfiguredFailures) {
    m_session.respondTries = 3;
    StartAndCapture();
    const std::size_t before = m_log.Entries().size();
    m_windows.Find(m_console.console)->hung = true;

    m_supervisor.Tick();
    m_supervisor.Tick();
    std::vector<std::string> texts = LogTexts();
    EXPECT_THAT(std::vector<std::string>(texts.begin() + static_cast<std::ptrdiff_t>(before), texts.end()),
                ElementsAre("Server doesn't respond [1/3].", "Server doesn't respond [2/3]."));
    EXPECT_TRUE(m_session.captured);

    const std::uint32_t clockBefore = m_clock.NowMs();
    m_supervisor.Tick();
    texts = LogTexts();
    const std::vector<std::string> restart(texts.begin() + static_cast<std::ptrdiff_t>(before) + 2,
                                           texts.end());
    EXPECT_THAT(restart,
                ElementsAre("Server doesn't respond [3/3].", "Server doesn't respond.", "Server restarting.",
                            "Process terminated.", "Server successfully started."));
    EXPECT_EQ(m_clock.NowMs() - clockBefore, 3000U);
    EXPECT_EQ(m_processes.terminated, std::vector<std::uint32_t>{kServerPid});
    EXPECT_EQ(m_processes.launches.size(), 2U);
    EXPECT_EQ(m_session.noResponseCount, 0);
    EXPECT_FALSE(m_session.captured);
    EXPECT_EQ(m_session.consoleTitle, kServerConsoleTitle);
    EXPECT_EQ(m_timer.IntervalMs(), 2000U);

    m_supervisor.Tick();  // the new console is captured again
    EXPECT_TRUE(m_session.captured);
}

TEST_F(SupervisorTest, AnsweringAgainIsReportedAndRefreshesTheMirror) {
    StartAndCapture();
    m_windows.Find(m_console.console)->hung = true;
    m_supervisor.Tick();
    m_windows.Find(m_console.console)->hung = false;
    m_windows.Find(m_console.output)->text = "]status\r\n";
    m_supervisor.Tick();
    EXPECT_EQ(LogTexts().back(), "Server respond OK!");
    EXPECT_EQ(m_session.noResponseCount, 0);
    EXPECT_EQ(m_bridge.MirrorText(), "]status\r\n");
}

TEST_F(SupervisorTest, VanishedConsoleIsReportedAsCrashAndRestarted) {
    StartAndCapture();
    m_windows.RemoveWindow(m_console.console);
    m_supervisor.Tick();
    const std::vector<std::string> texts = LogTexts();
    EXPECT_THAT(texts, testing::IsSupersetOf({"Server has crashed or exited.", "Server restarting."}));
    EXPECT_EQ(texts.back(), "Server successfully started.");
    EXPECT_EQ(m_processes.launches.size(), 2U);
    EXPECT_TRUE(m_session.remoteInfo.empty());
}

TEST_F(SupervisorTest, StopByTheUserEndsSupervisionWithoutRestart) {
    StartAndCapture();
    m_windows.Find(m_console.output)->text = "some output";
    m_supervisor.Tick();
    ASSERT_FALSE(m_bridge.MirrorText().empty());

    m_supervisor.StartStopAction();  // the caption reads "Stop Dedicated Server"
    EXPECT_TRUE(m_session.stoppedByUser);
    m_supervisor.Tick();

    EXPECT_EQ(LogTexts().back(), "Server close by user successful.");
    EXPECT_EQ(m_display.startStopCaption, kStartServerCaption);
    EXPECT_FALSE(m_session.captured);
    EXPECT_FALSE(m_timer.Active());
    EXPECT_TRUE(m_bridge.MirrorText().empty());
    EXPECT_EQ(m_processes.launches.size(), 1U);
}

TEST_F(SupervisorTest, StopBeforeCaptureFindsNothingToEndAndNeverCountsFailures) {
    m_processes.onCreate = nullptr;  // a server that never opens its window
    m_supervisor.StartStopAction();
    m_supervisor.Tick();
    m_supervisor.StartStopAction();
    EXPECT_TRUE(m_session.stoppedByUser);
    EXPECT_TRUE(m_processes.terminated.empty());
    EXPECT_EQ(LogTexts().back(), "Server successfully started.");
    // The stop stays pending and the watchdog keeps waiting without restarting anything.
    m_supervisor.Tick();
    EXPECT_EQ(m_processes.launches.size(), 1U);
}

TEST_F(SupervisorTest, LimitOfZeroNeverRestartsAndTheCountStopsAtItsMaximum) {
    m_session.respondTries = 0;
    StartAndCapture();
    m_windows.Find(m_console.console)->hung = true;
    m_session.noResponseCount = std::numeric_limits<std::int16_t>::max() - 1;
    m_supervisor.Tick();
    m_supervisor.Tick();
    EXPECT_EQ(m_session.noResponseCount, std::numeric_limits<std::int16_t>::max());
    EXPECT_EQ(m_processes.launches.size(), 1U);
    EXPECT_THAT(LogTexts().back(), HasSubstr("/0]."));
}

TEST_F(SupervisorTest, ProbeLooksOnlyAtTheTaggedWindowOfTheServersProcess) {
    StartAndCapture();
    // Another server's console with the untagged title, and a window of another process that
    // carries the tag title, both hung: neither counts.
    m_windows.AddServerConsole(777);
    const WindowHandle impostor = m_windows.AddWindow(kServerConsoleClass, m_session.consoleTitle, 778);
    m_windows.Find(impostor)->hung = true;
    EXPECT_TRUE(m_supervisor.ServerResponds());
    m_windows.Find(m_console.console)->hung = true;
    EXPECT_FALSE(m_supervisor.ServerResponds());
}

}  // namespace
}  // namespace zembrock
