// The Win32 processes backend against real processes: the stand-in server is created as the
// control panel creates the game's server, waited for, ended, and moved between processors.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/win32/windows_api.h"
#include "platform/window_system.h"
#include "server/server_session.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using SteadyClock = std::chrono::steady_clock;

// Generous bound for anything that should happen at once or nearly.
constexpr auto kPatience = std::chrono::seconds(10);
// Keeps a stand-in that a failed test leaves behind from running on for long.
const std::string kLifetime = " --quit-after-ms 60000";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::chrono::milliseconds ElapsedOf(const std::function<void()>& call) {
    const auto start = SteadyClock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
}

// The lowest processor of a mask.
std::uint64_t LowestBit(std::uint64_t mask) {
    return mask & (~mask + 1);
}

// A game folder with a configuration file whose name has a blank.
class Win32ProcessesTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_game / "players2");
        test::WriteFile(m_game / "players2" / "my server.cfg", "set sv_hostname \"Quoted Test\"\r\n");
    }

    // Whatever a test left running ends with it.
    void TearDown() override {
        for (WindowHandle window = ConsoleWindow(); window != 0; window = ConsoleWindow()) {
            if (m_processes->Terminate(m_windows->OwnerProcessId(window)) != TerminateResult::Terminated) {
                break;
            }
        }
    }

    ProcessLaunch StandinLaunch(const std::string& arguments, std::uint32_t settleWaitMs = 0) const {
        return ProcessLaunch{.commandLine = Quoted(ZEMBROCK_STANDIN_SERVER) + " " + arguments,
                             .workingFolder = m_game.Path(),
                             .settleWaitMs = settleWaitMs};
    }

    WindowHandle ConsoleWindow() const {
        return m_windows->FindWindow(kServerConsoleClass, kServerConsoleTitle);
    }

    // The stand-in's console window, once it has opened.
    WindowHandle AwaitConsoleWindow() {
        const auto deadline = SteadyClock::now() + kPatience;
        WindowHandle window = ConsoleWindow();
        while (window == 0 && SteadyClock::now() < deadline) {
            m_clock.SleepMs(20);
            window = ConsoleWindow();
        }
        return window;
    }

    test::TempFolder m_game;
    SystemClock m_clock;
    std::unique_ptr<WindowSystem> m_windows = SystemWindowSystem();
    std::unique_ptr<Processes> m_processes = SystemProcesses();
};

TEST_F(Win32ProcessesTest, QuotedArgumentAndWorkingFolderReachTheServer) {
    ASSERT_TRUE(m_processes->CreateProcess(
        StandinLaunch("+set dedicated 2 +set sv_config \"my server.cfg\" --window-delay-ms 0" + kLifetime)));
    const WindowHandle window = AwaitConsoleWindow();
    ASSERT_NE(window, 0U);

    // The name with a blank arrived as one argument, and the server found the file by it in the
    // working folder.
    const std::string output =
        m_windows->ReadText(m_windows->NextSibling(m_windows->FindChild(window, "Edit", ""))).value_or("");
    EXPECT_THAT(output, HasSubstr("  sv_config \"my server.cfg\"\r\n"));
    EXPECT_THAT(output, HasSubstr("execing players2/my server.cfg\r\n"));
    EXPECT_THAT(output, HasSubstr("Hostname: Quoted Test\r\n"));
}

struct SettleCase {
    const char* name;
    const char* arguments;
    std::uint32_t settleWaitMs;
    std::chrono::milliseconds atLeast;
    std::chrono::milliseconds below;
};

class SettleWaitTest : public Win32ProcessesTest, public testing::WithParamInterface<SettleCase> {};

// The wait lasts while the server runs and ends when it exits, however it exits.
TEST_P(SettleWaitTest, EndsWhenTheServerExits) {
    bool created = false;
    const auto elapsed = ElapsedOf([&] {
        created = m_processes->CreateProcess(StandinLaunch(GetParam().arguments, GetParam().settleWaitMs));
    });
    EXPECT_TRUE(created);
    EXPECT_GE(elapsed, GetParam().atLeast);
    EXPECT_LT(elapsed, GetParam().below);
}

INSTANTIATE_TEST_SUITE_P(Servers, SettleWaitTest,
                         testing::Values(SettleCase{"Running", "--window-delay-ms 0 --quit-after-ms 60000",
                                                    1500, std::chrono::milliseconds(1500), kPatience},
                                         SettleCase{"Quitting", "--quit-after-ms 700", 30000,
                                                    std::chrono::milliseconds(700), kPatience},
                                         SettleCase{"Crashing", "--crash-after-ms 700", 30000,
                                                    std::chrono::milliseconds(700), kPatience}),
                         [](const testing::TestParamInfo<SettleCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(Win32ProcessesTest, LaunchThatCannotBeCreatedIsRefused) {
    struct Case {
        const char* name;
        std::string commandLine;
        fs::path workingFolder;
    };
    const std::string standin = Quoted(ZEMBROCK_STANDIN_SERVER) + " --window-delay-ms 0" + kLifetime;
    const std::array<Case, 3> cases = {{
        {"missing executable", Quoted((m_game / "Zembrock_dedicated.exe").string()) + kLifetime,
         m_game.Path()},
        {"empty command line", "", m_game.Path()},
        {"missing working folder", standin, m_game / "missing"},
    }};
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(m_processes->CreateProcess(
            ProcessLaunch{.commandLine = row.commandLine, .workingFolder = row.workingFolder}));
    }
    EXPECT_EQ(ConsoleWindow(), 0U);
}

struct TerminateCase {
    const char* name;
    const char* arguments;
};

class TerminateTest : public Win32ProcessesTest, public testing::WithParamInterface<TerminateCase> {};

// Ended at once, handling its window or not; when Terminate returns, the process and its
// windows are gone, and the process cannot be found any more.
TEST_P(TerminateTest, ServerIsGoneWithItsWindowsWhenTerminateReturns) {
    ASSERT_TRUE(m_processes->CreateProcess(StandinLaunch(GetParam().arguments + kLifetime)));
    const WindowHandle window = AwaitConsoleWindow();
    ASSERT_NE(window, 0U);
    const std::uint32_t server = m_windows->OwnerProcessId(window);
    ASSERT_NE(server, 0U);

    EXPECT_EQ(m_processes->Terminate(server), TerminateResult::Terminated);
    EXPECT_EQ(ConsoleWindow(), 0U);
    EXPECT_EQ(m_windows->OwnerProcessId(window), 0U);

    EXPECT_EQ(m_processes->Terminate(server), TerminateResult::NotFound);
    EXPECT_FALSE(m_processes->ReadAffinity(server).has_value());
    EXPECT_FALSE(m_processes->SetAffinity(server, 1));
}

INSTANTIATE_TEST_SUITE_P(Servers, TerminateTest,
                         testing::Values(TerminateCase{"Running", "--window-delay-ms 0"},
                                         TerminateCase{"Hung", "--window-delay-ms 0 --hang-after-ms 0"}),
                         [](const testing::TestParamInfo<TerminateCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(Win32ProcessesTest, NoProcessIsFoundForProcessIdZero) {
    EXPECT_EQ(m_processes->Terminate(0), TerminateResult::NotFound);
    EXPECT_FALSE(m_processes->ReadAffinity(0).has_value());
    EXPECT_FALSE(m_processes->SetAffinity(0, 1));
}

// The two processes the program moves between processors: its own and the server.
TEST_F(Win32ProcessesTest, AffinityReadsBackWhatWasSetAndRefusesImpossibleMasks) {
    ASSERT_TRUE(m_processes->CreateProcess(StandinLaunch("--window-delay-ms 0" + kLifetime)));
    const WindowHandle window = AwaitConsoleWindow();
    ASSERT_NE(window, 0U);
    struct Target {
        const char* name;
        std::uint32_t processId;
    };
    const std::array<Target, 2> targets = {
        {{"own process", m_processes->OwnProcessId()}, {"server", m_windows->OwnerProcessId(window)}}};
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        const std::optional<AffinityMasks> before = m_processes->ReadAffinity(target.processId);
        ASSERT_TRUE(before.has_value());
        EXPECT_NE(before->process, 0U);
        EXPECT_EQ(before->process & ~before->system, 0U) << "a processor the system does not offer";

        const std::uint64_t first = LowestBit(before->system);
        EXPECT_TRUE(m_processes->SetAffinity(target.processId, first));
        EXPECT_EQ(m_processes->ReadAffinity(target.processId).value_or(AffinityMasks{}).process, first);
        EXPECT_EQ(m_processes->ReadAffinity(target.processId).value_or(AffinityMasks{}).system,
                  before->system);

        EXPECT_FALSE(m_processes->SetAffinity(target.processId, 0));
        if (~before->system != 0) {
            EXPECT_FALSE(
                m_processes->SetAffinity(target.processId, before->system | LowestBit(~before->system)));
        }
        EXPECT_EQ(m_processes->ReadAffinity(target.processId).value_or(AffinityMasks{}).process, first);

        EXPECT_TRUE(m_processes->SetAffinity(target.processId, before->process));
        EXPECT_EQ(m_processes->ReadAffinity(target.processId).value_or(AffinityMasks{}).process,
                  before->process);
    }
}

// The id is this very process: setting its affinity moves this process.
TEST_F(Win32ProcessesTest, OwnProcessIdNamesThisProcess) {
    DWORD_PTR before = 0;
    DWORD_PTR system = 0;
    ASSERT_NE(GetProcessAffinityMask(GetCurrentProcess(), &before, &system), FALSE);
    const std::uint64_t first = LowestBit(system);

    ASSERT_TRUE(m_processes->SetAffinity(m_processes->OwnProcessId(), first));
    DWORD_PTR after = 0;
    ASSERT_NE(GetProcessAffinityMask(GetCurrentProcess(), &after, &system), FALSE);
    EXPECT_EQ(after, first);
    EXPECT_NE(SetProcessAffinityMask(GetCurrentProcess(), before), FALSE);
}

}  // namespace
}  // namespace zembrock
