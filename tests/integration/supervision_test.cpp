// The watchdog and the console bridge against the real stand-in server: real processes, real
// console windows, the real 3000 ms probe bound and the real pauses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "messages/message_profiles.h"
#include "messages/message_rotation.h"
#include "support/fake_timer.h"
#include "support/standin_fixture.h"

namespace zembrock {
namespace {

using testing::HasSubstr;

// The settings the push must deliver differ from the configuration file's.
class SupervisionTest : public test::StandinFixture {
protected:
    void SetUp() override {
        StandinFixture::SetUp();
        m_server->fields.hostName = "Night Ops";
    }
};

TEST_F(SupervisionTest, CapturesTagsPushesAndMirrorsTheConsole) {
    CoreList& cores = m_server->fields.consoleCores;
    cores.ClearSelection();
    cores.selected.at(0) = true;
    StartAndCapture();

    EXPECT_THAT(m_server->session.consoleTitle, testing::StartsWith("#"));
    EXPECT_EQ(m_server->windows->WindowTitle(m_server->session.consoleWindow),
              m_server->session.consoleTitle);
    EXPECT_EQ(m_server->windows->FindWindow(kServerConsoleClass, kServerConsoleTitle), 0U);
    EXPECT_TRUE(m_server->Logged("Server window captured."));
    // The console's processor choice is applied to the captured server.
    const auto affinity = m_server->processes->ReadAffinity(m_server->session.consoleProcessId);
    ASSERT_TRUE(affinity.has_value());
    EXPECT_EQ(affinity->process, 1U);

    // The push emptied the output before starting the rotation, which names the selected list.
    ASSERT_TRUE(m_server->RunWatchdog([this] { return !m_server->session.publicIp.empty(); }, 5));
    EXPECT_THAT(m_server->console.MirrorText(), testing::StartsWith("]start_map_rotate"));
    EXPECT_THAT(m_server->console.MirrorText(), HasSubstr("Starting map rotation \"night\""));
    EXPECT_EQ(m_server->session.publicIp, "203.0.113.7");
    EXPECT_THAT(m_server->session.remoteInfo, testing::EndsWith("|27017|203.0.113.7"));

    // The settings arrived: the server shows the host name the push set, not the config's.
    m_server->console.Send("sv_hostname");
    EXPECT_THAT(m_server->console.MirrorText(), HasSubstr("\"sv_hostname\" is:\"Night Ops^7\""));
    m_server->console.Send("status");
    EXPECT_THAT(m_server->console.MirrorText(), HasSubstr("]status"));
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
    MessageRotation rotation(messages, RotationPorts{m_server->session, m_server->console, rotationTimer,
                                                     m_server->log, m_dialogs});
    rotation.StartRotation();
    ASSERT_TRUE(rotation.Running());
    for (int second = 0; second < 4; ++second) {
        rotation.Tick();
    }
    m_server->clock.SleepMs(100);
    m_server->console.Refresh();
    const std::string& mirror = m_server->console.MirrorText();
    const std::size_t first = mirror.find("]say ^1Welcome");
    const std::size_t second = mirror.find("]say Visit our forum");
    ASSERT_NE(first, std::string::npos) << mirror;
    ASSERT_NE(second, std::string::npos) << mirror;
    EXPECT_LT(first, second);
    EXPECT_THAT(mirror, HasSubstr("console: Visit our forum"));
}

TEST_F(SupervisionTest, HungServerIsRestartedAfterTheFailedProbes) {
    m_server->session.respondTries = 2;
    StartAndCapture();
    const std::uint32_t firstProcess = m_server->session.consoleProcessId;

    m_server->console.SendConsoleCommand("hang");
    ASSERT_TRUE(m_server->RunWatchdog([this] { return m_server->Logged("Server doesn't respond."); }, 4));
    EXPECT_TRUE(m_server->Logged("Server doesn't respond [1/2]."));
    EXPECT_TRUE(m_server->Logged("Server restarting."));
    EXPECT_TRUE(m_server->Logged("Process terminated."));

    ASSERT_TRUE(m_server->RunWatchdog([this] { return m_server->session.captured; }, 10));
    EXPECT_NE(m_server->session.consoleProcessId, firstProcess);
}

TEST_F(SupervisionTest, CrashedServerIsReportedAndRestarted) {
    StartAndCapture();
    const std::uint32_t firstProcess = m_server->session.consoleProcessId;

    m_server->console.SendConsoleCommand("crash");
    ASSERT_TRUE(
        m_server->RunWatchdog([this] { return m_server->Logged("Server has crashed or exited."); }, 5));
    ASSERT_TRUE(m_server->RunWatchdog([this] { return m_server->session.captured; }, 10));
    EXPECT_NE(m_server->session.consoleProcessId, firstProcess);
}

TEST_F(SupervisionTest, UserStopEndsTheServerWithoutRestart) {
    StartAndCapture();
    const std::uint32_t process = m_server->session.consoleProcessId;
    const WindowHandle window = m_server->session.consoleWindow;

    m_server->supervisor.StartStopAction();
    EXPECT_TRUE(m_server->Logged("Process terminated."));
    ASSERT_TRUE(
        m_server->RunWatchdog([this] { return m_server->Logged("Server close by user successful."); }, 3));
    EXPECT_FALSE(m_server->watchdogTimer.Active());
    EXPECT_EQ(m_server->display.startStopCaption, kStartServerCaption);
    EXPECT_EQ(m_server->processes->Terminate(process), TerminateResult::NotFound);
    EXPECT_EQ(m_server->windows->OwnerProcessId(window), 0U);
}

}  // namespace
}  // namespace zembrock
