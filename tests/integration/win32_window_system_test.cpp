// The Win32 window backend against the stand-in server's real console window: a top-level
// window of class "IW5 WinConsole" with an Edit input line followed by its output control.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/window_system.h"
#include "server/server_session.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using testing::HasSubstr;

// Longer than any bounded call may take, shorter than a call that waits forever.
constexpr auto kPatience = std::chrono::milliseconds(kWindowMessageTimeoutMs + 2000);

struct Console {
    WindowHandle window = 0;
    WindowHandle input = 0;
    WindowHandle output = 0;
};

class Win32WindowSystemTest : public testing::Test {
protected:
    void TearDown() override {
        for (WindowHandle window = m_windows->FindWindow(kServerConsoleClass, m_title); window != 0;
             window = m_windows->FindWindow(kServerConsoleClass, m_title)) {
            if (m_processes->Terminate(m_windows->OwnerProcessId(window)) != TerminateResult::Terminated) {
                break;
            }
        }
    }

    // Starts the stand-in as the control panel does and waits for its console window.
    Console Start() {
        ProcessLaunch launch;
        launch.commandLine =
            std::string("\"") + ZEMBROCK_STANDIN_SERVER + "\" +set dedicated 2 --window-delay-ms 0";
        launch.workingFolder = m_game.Path();
        EXPECT_TRUE(m_processes->CreateProcess(launch));
        Console console;
        WaitUntil(
            [&] { return (console.window = m_windows->FindWindow(kServerConsoleClass, m_title)) != 0; });
        console.input = m_windows->FindChild(console.window, "Edit", "");
        console.output = m_windows->NextSibling(console.input);
        return console;
    }

    // Types a line into the console and returns the output it printed.
    std::string Type(const Console& console, const std::string& line) {
        EXPECT_TRUE(m_windows->SetText(console.input, line));
        EXPECT_TRUE(m_windows->PressEnter(console.input));
        return m_windows->ReadText(console.output).value_or("(no answer)");
    }

    bool WaitUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            m_clock.SleepMs(20);
        }
        return done();
    }

    static std::chrono::milliseconds ElapsedOf(const std::function<void()>& call) {
        const auto start = std::chrono::steady_clock::now();
        call();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     start);
    }

    test::TempFolder m_game;
    SystemClock m_clock;
    std::string m_title = kServerConsoleTitle;
    std::unique_ptr<WindowSystem> m_windows = SystemWindowSystem();
    std::unique_ptr<Processes> m_processes = SystemProcesses();
};

TEST_F(Win32WindowSystemTest, FindsTheConsoleByClassAndTitleAndTalksToItsControls) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);
    ASSERT_NE(console.input, 0U);
    ASSERT_NE(console.output, 0U);
    EXPECT_EQ(m_windows->WindowTitle(console.window), kServerConsoleTitle);  // 0xAE as one byte
    EXPECT_THAT(m_windows->TopLevelWindows(), testing::Contains(console.window));
    const std::uint32_t owner = m_windows->OwnerProcessId(console.window);
    EXPECT_NE(owner, 0U);
    EXPECT_NE(owner, m_processes->OwnProcessId());
    EXPECT_EQ(m_windows->FindChild(0, "Edit", ""), 0U);

    const std::string output = Type(console, "status");
    EXPECT_THAT(output, HasSubstr("]status\r\nmap: "));
    EXPECT_THAT(output, HasSubstr("198.51.100.23:28960"));
    EXPECT_EQ(m_windows->ReadText(console.input), "");

    EXPECT_TRUE(m_windows->SetText(console.output, ""));
    EXPECT_EQ(m_windows->ReadText(console.output), "");

    m_title = "#123 Started at: 2026-12-11 10:00:00";
    EXPECT_TRUE(m_windows->SetText(console.window, m_title));
    EXPECT_EQ(m_windows->WindowTitle(console.window), m_title);
    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, m_title), console.window);
    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, kServerConsoleTitle), 0U);

    EXPECT_EQ(m_processes->Terminate(owner), TerminateResult::Terminated);
    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, m_title), 0U);
    EXPECT_EQ(m_windows->OwnerProcessId(console.window), 0U);
    EXPECT_FALSE(m_windows->Probe(console.window, kWindowMessageTimeoutMs));
}

TEST_F(Win32WindowSystemTest, HungConsoleIsStillFoundButEveryMessageGivesUpInTime) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);
    EXPECT_TRUE(m_windows->Probe(console.window, kWindowMessageTimeoutMs));
    EXPECT_TRUE(m_windows->SetText(console.input, "hang"));
    m_windows->PressEnter(console.input);

    bool responded = true;
    EXPECT_LT(ElapsedOf([&] { responded = m_windows->Probe(console.window, 300); }), kPatience);
    EXPECT_FALSE(responded);
    std::optional<std::string> text = "";
    EXPECT_LT(ElapsedOf([&] { text = m_windows->ReadText(console.output); }), kPatience);
    EXPECT_EQ(text, std::nullopt);
    EXPECT_LT(ElapsedOf([&] { responded = m_windows->SetText(console.input, "status"); }), kPatience);
    EXPECT_FALSE(responded);

    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, kServerConsoleTitle), console.window);
    EXPECT_EQ(m_windows->WindowTitle(console.window), kServerConsoleTitle);
    EXPECT_NE(m_windows->OwnerProcessId(console.window), 0U);
    EXPECT_EQ(m_windows->NextSibling(console.input), console.output);
}

TEST_F(Win32WindowSystemTest, CrashedConsoleIsGone) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);
    EXPECT_TRUE(m_windows->SetText(console.input, "crash"));
    m_windows->PressEnter(console.input);

    EXPECT_TRUE(WaitUntil([&] { return m_windows->OwnerProcessId(console.window) == 0; }));
    EXPECT_EQ(m_windows->FindWindow(kServerConsoleClass, kServerConsoleTitle), 0U);
    EXPECT_EQ(m_windows->WindowTitle(console.window), "");
}

}  // namespace
}  // namespace zembrock
