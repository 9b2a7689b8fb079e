// The watchdog and the console bridge against the real stand-in server: real processes, real
// console windows, the real 3000 ms probe bound and the real pauses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "console/console_bridge.h"
#include "core/program_folder.h"
#include "maps/map_list_editor.h"
#include "messages/message_profiles.h"
#include "messages/message_rotation.h"
#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/window_system.h"
#include "server/server_supervisor.h"
#include "support/fake_dialogs.h"
#include "support/fake_timer.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using testing::Contains;
using testing::HasSubstr;

// Without a window there are no events to serve in a wait.
class NoEvents final : public EventPump {
public:
    void PumpOnce() override {}
};

class SupervisionTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("ZEMBROCK_WINDOWS_DIR", m_windowsFolder.Path().c_str(), 1);
        m_previousFolder = ProgramFolder();
        SetProgramFolder(m_game.Path());
        fs::create_directories(m_game / "players2");
        test::WriteFile(m_game / "players2/server.cfg", "set sv_hostname \"From Config\"\r\n");
        test::WriteFile(m_game / "players2/night.dspl", "mp_lambeth,TDM_default,300\r\n");
        fs::create_symlink(ZEMBROCK_STANDIN_SERVER, m_game / kServerExecutable);

        m_windows = SystemWindowSystem();
        m_processes = SystemProcesses();
        m_fields.serverVisibility.Fill({"LAN", "Internet"});
        m_fields.serverVisibility.SelectIndex(0);
        m_fields.configFiles.Fill({"server.cfg"});
        m_fields.configFiles.SelectIndex(0);
        m_fields.networkInterface.Fill({"127.0.0.1", "ANY IP"});
        m_fields.networkInterface.SelectIndex(0);
        m_fields.hostName = "Night Ops";
        m_fields.startHidden = false;
        m_mapLists = std::make_unique<MapListEditor>(m_game.Path());
        m_mapLists->RefreshMapListFiles();
        m_console = std::make_unique<ConsoleBridge>(m_session, *m_windows, m_clock, m_fields.commandHistory);
        m_supervisor = std::make_unique<ServerSupervisor>(
            SupervisorModels{m_session, m_fields, *m_mapLists, m_log, *m_console, m_display},
            SupervisorPorts{*m_windows, *m_processes, m_dialogs, m_clock, m_pump, m_timer}, "Control panel");
    }

    void TearDown() override {
        // Whatever the test left running ends with it.
        for (const WindowHandle window : m_windows->TopLevelWindows()) {
            m_processes->Terminate(m_windows->OwnerProcessId(window));
        }
        SetProgramFolder(m_previousFolder);
        unsetenv("ZEMBROCK_WINDOWS_DIR");
    }

    // Ticks the watchdog at its own interval, as its timer would, until done() or maxTicks.
    bool TickUntil(const std::function<bool()>& done, int maxTicks) {
        for (int tick = 0; tick < maxTicks && !done(); ++tick) {
            if (!m_timer.Active()) {
                return done();
            }
            m_clock.SleepMs(m_timer.IntervalMs());
            m_supervisor->Tick();
        }
        return done();
    }

    bool Logged(const std::string& text) const {
        for (const LogEntry& entry : m_log.Entries()) {
            if (entry.text == text) {
                return true;
            }
        }
        return false;
    }

    void StartAndCapture() {
        m_supervisor->StartStopAction();
        ASSERT_TRUE(m_timer.Active());
        ASSERT_TRUE(TickUntil([this] { return m_session.captured; }, 10));
    }

    test::TempFolder m_windowsFolder;
    test::TempFolder m_game;
    fs::path m_previousFolder;
    SystemClock m_clock;
    NoEvents m_pump;
    test::FakeDialogs m_dialogs;
    test::FakeTimer m_timer;
    std::unique_ptr<WindowSystem> m_windows;
    std::unique_ptr<Processes> m_processes;
    ServerSession m_session;
    ProfileFields m_fields;
    std::unique_ptr<MapListEditor> m_mapLists;
    EventLog m_log{m_game / "systemlog.txt", m_clock, m_pump};
    std::unique_ptr<ConsoleBridge> m_console;
    SupervisionDisplay m_display;
    std::unique_ptr<ServerSupervisor> m_supervisor;
};

TEST_F(SupervisionTest, CapturesTagsPushesAndMirrorsTheConsole) {
    StartAndCapture();

    EXPECT_THAT(m_session.consoleTitle, testing::StartsWith("#"));
    EXPECT_EQ(m_windows->WindowTitle(m_session.consoleWindow), m_session.consoleTitle);
    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, kServerConsoleTitle), 0U);
    EXPECT_TRUE(Logged("Server window captured."));

    // The push emptied the output before starting the rotation, which names the selected list.
    ASSERT_TRUE(TickUntil([this] { return !m_session.publicIp.empty(); }, 5));
    EXPECT_THAT(m_console->MirrorText(), testing::StartsWith("]start_map_rotate"));
    EXPECT_THAT(m_console->MirrorText(), HasSubstr("Starting map rotation \"night\""));
    EXPECT_EQ(m_session.publicIp, "203.0.113.7");
    EXPECT_THAT(m_session.remoteInfo, testing::EndsWith("|27017|203.0.113.7"));

    // The settings arrived: the server shows the host name the push set, not the config's.
    m_console->Send("sv_hostname");
    EXPECT_THAT(m_console->MirrorText(), HasSubstr("\"sv_hostname\" is:\"Night Ops^7\""));
    m_console->Send("status");
    EXPECT_THAT(m_console->MirrorText(), HasSubstr("]status"));
}

TEST_F(SupervisionTest, RotationBroadcastsOnScheduleAndTheServerEchoesIt) {
    StartAndCapture();
    MessageProfiles messages(m_game.Path());
    for (const char* text : {"^1Welcome", "Visit our forum"}) {
        messages.SetEditMessage(text);
        messages.SetEditDelay("2");
        messages.AddNew();
    }
    test::FakeTimer rotationTimer;
    MessageRotation rotation(messages, RotationPorts{m_session, *m_console, rotationTimer, m_log, m_dialogs});
    rotation.StartRotation();
    ASSERT_TRUE(rotation.Running());
    for (int second = 0; second < 4; ++second) {
        rotation.Tick();
    }
    m_clock.SleepMs(100);
    m_console->Refresh();
    const std::string& mirror = m_console->MirrorText();
    const std::size_t first = mirror.find("]say ^1Welcome");
    const std::size_t second = mirror.find("]say Visit our forum");
    ASSERT_NE(first, std::string::npos) << mirror;
    ASSERT_NE(second, std::string::npos) << mirror;
    EXPECT_LT(first, second);
    EXPECT_THAT(mirror, HasSubstr("console: Visit our forum"));
}

TEST_F(SupervisionTest, HungServerIsRestartedAfterTheFailedProbes) {
    m_session.respondTries = 2;
    StartAndCapture();
    const std::uint32_t firstProcess = m_session.consoleProcessId;

    m_console->SendConsoleCommand("hang");
    ASSERT_TRUE(TickUntil([this] { return Logged("Server doesn't respond."); }, 4));
    EXPECT_TRUE(Logged("Server doesn't respond [1/2]."));
    EXPECT_TRUE(Logged("Server restarting."));
    EXPECT_TRUE(Logged("Process terminated."));

    ASSERT_TRUE(TickUntil([this] { return m_session.captured; }, 10));
    EXPECT_NE(m_session.consoleProcessId, firstProcess);
}

TEST_F(SupervisionTest, CrashedServerIsReportedAndRestarted) {
    StartAndCapture();
    const std::uint32_t firstProcess = m_session.consoleProcessId;

    m_console->SendConsoleCommand("crash");
    ASSERT_TRUE(TickUntil([this] { return Logged("Server has crashed or exited."); }, 5));
    ASSERT_TRUE(TickUntil([this] { return m_session.captured; }, 10));
    EXPECT_NE(m_session.consoleProcessId, firstProcess);
}

TEST_F(SupervisionTest, UserStopEndsTheServerWithoutRestart) {
    StartAndCapture();
    const std::uint32_t process = m_session.consoleProcessId;

    m_supervisor->StartStopAction();
    EXPECT_TRUE(Logged("Process terminated."));
    ASSERT_TRUE(TickUntil([this] { return Logged("Server close by user successful."); }, 3));
    EXPECT_FALSE(m_timer.Active());
    EXPECT_EQ(m_display.startStopCaption, kStartServerCaption);
    EXPECT_EQ(m_processes->Terminate(process), TerminateResult::NotFound);
    EXPECT_TRUE(m_windows->TopLevelWindows().empty());
}

}  // namespace
}  // namespace zembrock
