// The window system and the processes of this machine, driven for real: the stand-in server
// is started as the control panel starts the game's server, its console window is found and
// messaged from this process, and the server is hung, frozen, killed and crashed under it.

#include "platform/window_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/console_window_host.h"
#include "platform/posix/window_protocol.h"
#include "platform/processes.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using ::testing::HasSubstr;
using SteadyClock = std::chrono::steady_clock;

constexpr const char* kConsoleClass = "IW5 WinConsole";
const std::string kServerTitle = "Call of Duty\xAE: Modern Warfare\xAE 3 Dedicated Server";
// Generous bound for anything that should happen at once or nearly.
constexpr auto kPatience = std::chrono::seconds(10);

template <typename Condition>
bool Eventually(Condition condition) {
    const auto deadline = SteadyClock::now() + kPatience;
    while (!condition()) {
        if (SteadyClock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

template <typename Call>
auto ElapsedOf(Call call) {
    const auto start = SteadyClock::now();
    call();
    return SteadyClock::now() - start;
}

// The children of this process as /proc shows them: pid and state letter.
std::vector<std::pair<std::uint32_t, char>> ChildProcesses() {
    std::vector<std::pair<std::uint32_t, char>> children;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string stat = ReadFile(entry.path() / "stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream fields(stat.substr(close + 2));
        char state = 0;
        long parent = 0;
        fields >> state >> parent;
        if (parent == getpid()) {
            children.emplace_back(static_cast<std::uint32_t>(std::stoul(name)), state);
        }
    }
    return children;
}

std::uint32_t OnlyLiveChild() {
    std::uint32_t found = 0;
    for (const auto& [pid, state] : ChildProcesses()) {
        if (state != 'Z') {
            EXPECT_EQ(found, 0U) << "more than one child process";
            found = pid;
        }
    }
    return found;
}

// One player row of a status answer, cut by the control panel's column rules.
struct StatusRow {
    std::string id, score, ping, guid, player, lastMsg, address, qport, rate;
};

std::string Cut(const std::string& line, std::size_t position, std::size_t width) {
    return position - 1 < line.size() ? line.substr(position - 1, width) : std::string();
}

std::string WithoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

// The rows of the last status answer in a console text: after the last "]status", without the
// text's final character, split at CR LF; pieces 4 to the next-to-last are players.
std::vector<StatusRow> RowsOfLastStatus(const std::string& console) {
    const std::size_t echo = console.rfind("]status");
    if (echo == std::string::npos) {
        return {};
    }
    const std::string answer = console.substr(echo + 7, console.size() - (echo + 7) - 1);
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = answer.find("\r\n", start);
        pieces.push_back(answer.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    std::vector<StatusRow> rows;
    for (std::size_t k = 4; k + 1 < pieces.size(); ++k) {
        const std::string& line = pieces[k];
        if (line.empty()) {
            continue;
        }
        StatusRow row;
        row.id = WithoutBlanks(Cut(line, 1, 3));
        row.score = WithoutBlanks(Cut(line, 5, 5));
        row.ping = WithoutBlanks(Cut(line, 11, 4));
        row.guid = WithoutBlanks(Cut(line, 16, 32));
        row.player = WithoutBlanks(Cut(line, 49, 15));
        row.lastMsg = WithoutBlanks(Cut(line, 65, 7));
        const std::string address = Cut(line, 73, 21);
        const std::size_t blank = address.find(' ');
        row.address = blank == std::string::npos ? std::string() : address.substr(0, blank + 1);
        const std::size_t paren = line.rfind(')');
        const std::size_t tailStart = paren == std::string::npos ? 1 : paren + 2;
        const std::string tail = tailStart < line.size() ? line.substr(tailStart) : std::string();
        const std::size_t tailBlank = tail.find(' ');
        row.qport = tailBlank == std::string::npos ? std::string() : tail.substr(0, tailBlank + 1);
        row.rate = tailBlank == std::string::npos ? tail : tail.substr(tailBlank + 1);
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> IdsOf(const std::vector<StatusRow>& rows) {
    std::vector<std::string> ids;
    ids.reserve(rows.size());
    for (const StatusRow& row : rows) {
        ids.push_back(row.id);
    }
    return ids;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// A private windows folder for each test (the stand-in inherits it through the environment)
// and a game folder holding the stand-in as Zembrock_dedicated.exe, a configuration file
// whose name has a blank, and a map list.
class WindowSystemTest : public ::testing::Test {
protected:
    struct Console {
        WindowHandle window = 0;
        WindowHandle input = 0;
        WindowHandle output = 0;
        std::uint32_t processId = 0;
    };

    void SetUp() override {
        setenv("ZEMBROCK_WINDOWS_DIR", m_windowsFolder.c_str(), 1);
        fs::create_directories(m_game / "players2");
        fs::create_directories(m_game / "main");
        WriteFile(m_game / "players2" / "my server.cfg", "// test\r\nset sv_hostname \"Quoted Test\"\r\n");
        WriteFile(m_game / "players2" / "night.dspl", "// night\r\n\r\nmp_lambeth,TDM_default,300\r\n");
        fs::create_symlink(ZEMBROCK_STANDIN_SERVER, m_game / "Zembrock_dedicated.exe");
        m_windows = SystemWindowSystem();
    }

    void TearDown() override {
        for (const std::uint32_t pid : m_started) {
            m_processes->Terminate(pid);
        }
        unsetenv("ZEMBROCK_WINDOWS_DIR");
    }

    // Starts the stand-in as the control panel starts the server: a bare executable name found
    // in the working folder, the arguments directly after it, the configuration file quoted.
    bool Launch(const std::string& options, std::uint32_t settleWaitMs = 0) {
        const std::string commandLine =
            "Zembrock_dedicated.exe +set dedicated 2 +set net_queryPort 27014 +set net_port 27016 "
            "+set net_authPort 8766 +set net_masterServerPort 27017 +set sv_config \"my server.cfg\" "
            "--quit-after-ms 60000 " +
            options;
        return m_processes->CreateProcess(ProcessLaunch{
            .commandLine = commandLine, .workingFolder = m_game.Path(), .settleWaitMs = settleWaitMs});
    }

    // Launches the stand-in and waits for its console window.
    Console Start(const std::string& options = "--window-delay-ms 0") {
        Console console;
        if (!Launch(options)) {
            ADD_FAILURE() << "the stand-in was not created";
            return console;
        }
        EXPECT_TRUE(Eventually([&] {
            return (console.window = m_windows->FindWindow(kConsoleClass, kServerTitle));
        })) << "no console window";
        console.processId = m_windows->OwnerProcessId(console.window);
        if (console.processId != 0) {
            m_started.push_back(console.processId);
        }
        console.input = m_windows->FindChild(console.window, "Edit", "");
        console.output = m_windows->NextSibling(console.input);
        return console;
    }

    // Types a line into the console as the control panel does; the output control then holds
    // only what the line printed.
    std::string Type(const Console& console, const std::string& line) {
        EXPECT_TRUE(m_windows->SetText(console.output, ""));
        EXPECT_TRUE(m_windows->SetText(console.input, line));
        EXPECT_TRUE(m_windows->PressEnter(console.input)) << line;
        return m_windows->ReadText(console.output).value_or("<no answer>");
    }

    TempFolder m_temp;
    fs::path m_windowsFolder = m_temp / "windows";
    TempFolder m_game;
    std::unique_ptr<Processes> m_processes = SystemProcesses();
    std::unique_ptr<WindowSystem> m_windows;
    std::vector<std::uint32_t> m_started;
};

TEST_F(WindowSystemTest, ConsoleIsFoundByClassAndTitleWithItsControlsAndOwner) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);

    EXPECT_EQ(m_windows->WindowTitle(console.window), kServerTitle);
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, "Call of Duty(R): Modern Warfare(R) 3 Dedicated Server"),
              0U);
    EXPECT_EQ(m_windows->FindWindow("Edit", kServerTitle), 0U);
    EXPECT_EQ(m_windows->TopLevelWindows(), std::vector<WindowHandle>{console.window});

    EXPECT_NE(console.input, 0U);
    EXPECT_NE(console.output, 0U);
    EXPECT_NE(console.input, console.output);
    EXPECT_EQ(m_windows->NextSibling(console.output), 0U);
    EXPECT_EQ(m_windows->FindChild(console.window, "Edit", "input"), 0U);
    EXPECT_EQ(m_windows->FindChild(console.window, "Static", ""), 0U);
    EXPECT_EQ(m_windows->FindChild(console.input, "Edit", ""), 0U);

    const std::uint32_t child = OnlyLiveChild();
    EXPECT_EQ(console.processId, child);
    EXPECT_EQ(m_windows->OwnerProcessId(console.input), child);

    // The quoted configuration name arrived as one argument: the server read that file.
    const std::string output = m_windows->ReadText(console.output).value_or("");
    EXPECT_THAT(output, HasSubstr("sv_config \"my server.cfg\"\r\n"));
    EXPECT_THAT(output, HasSubstr("Hostname: Quoted Test\r\n"));
    EXPECT_THAT(output, HasSubstr(", Public IP 203.0.113.7,"));
}

TEST_F(WindowSystemTest, TitleSetFromOutsideReplacesTheServersOwn) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);
    const std::string tag = "#042 Started at: 11/12/2026 10:15:00";

    ASSERT_TRUE(m_windows->SetText(console.window, tag));
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, tag), console.window);
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
    EXPECT_EQ(m_windows->WindowTitle(console.window), tag);

    // A title longer than 127 characters is found whole but read cut.
    const std::string longTitle = std::string(120, 'x') + "\xAE" + std::string(79, 'y');
    ASSERT_TRUE(m_windows->SetText(console.window, longTitle));
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, longTitle), console.window);
    EXPECT_EQ(m_windows->WindowTitle(console.window), longTitle.substr(0, 127));
}

TEST_F(WindowSystemTest, StatusAnswerParsesByTheColumnRules) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);

    const std::string output = Type(console, "status");
    EXPECT_EQ(m_windows->ReadText(console.input), "");
    EXPECT_EQ(output.rfind("]status\r\nmap: mp_dome\r\nnum score ping guid", 0), 0U) << output;

    struct Expected {
        const char *id, *score, *ping, *player, *lastMsg, *address, *qport, *rate;
    };
    const std::vector<Expected> expected = {
        {"0", "1250", "48", "Kowalski", "0", "198.51.100.23:28960 ", "31244 ", "25000"},
        {"1", "980", "72", "^1RedBaron^7", "50", "203.0.113.54:27016 ", "5122 ", "25000"},
        {"2", "640", "35", "xX_Sn1per_Xx", "0", "192.0.2.140:28960 ", "40961 ", "20000"},
        {"3", "120", "131", "Lena", "100", "198.51.100.7:1024 ", "812 ", "8000"},
    };
    const std::vector<StatusRow> rows = RowsOfLastStatus(output);
    ASSERT_EQ(rows.size(), expected.size()) << output;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE("row " + std::to_string(k));
        EXPECT_EQ(rows[k].id, expected[k].id);
        EXPECT_EQ(rows[k].score, expected[k].score);
        EXPECT_EQ(rows[k].ping, expected[k].ping);
        EXPECT_EQ(rows[k].guid.size(), 32U);
        EXPECT_EQ(rows[k].player, expected[k].player);
        EXPECT_EQ(rows[k].lastMsg, expected[k].lastMsg);
        EXPECT_EQ(rows[k].address, expected[k].address);
        EXPECT_EQ(rows[k].qport, expected[k].qport);
        EXPECT_EQ(rows[k].rate, expected[k].rate);
    }
}

// The commands the control panel sends, in this order on one server: each row sees the
// server as the rows before it left it.
TEST_F(WindowSystemTest, ConsoleCommandsAnswerAndChangeThePlayers) {
    const Console console = Start("--window-delay-ms 0 --players 5 --add-player \"Late Comer\"");
    ASSERT_NE(console.window, 0U);
    struct Step {
        const char* line;
        const char* printed;
        std::vector<std::string> idsAfter;
    };
    const std::vector<Step> steps = {
        {"status", "Player5", {"0", "1", "2", "3", "4", "5"}},
        {"sv_kickBanTime 120", "]sv_kickBanTime 120\r\n", {"0", "1", "2", "3", "4", "5"}},
        {"kick \"^1RedBaron^7\" camping",
         "^1Red Baron^7^7 was kicked (camping)\r\n",
         {"0", "2", "3", "4", "5"}},
        {"kickclient 2 ", "xX_Sn1per_Xx^7 was kicked\r\n", {"0", "3", "4", "5"}},
        {"tempBan \"LateComer\" spam",
         "Late Comer^7 was kicked and banned for 120 seconds (spam)\r\n",
         {"0", "3", "4"}},
        {"ban \"Kowalski\"", "Kowalski^7 was banned permanently\r\n", {"3", "4"}},
        {"dumpuser \"Lena\"", "ip                  198.51.100.7:1024\r\n", {"3", "4"}},
        {"kick \"Nobody\"", "Player Nobody is not on the server\r\n", {"3", "4"}},
        {"tempbanclient 9", "Client 9 is not active\r\n", {"3", "4"}},
        {"banclient x", "Bad client slot: x\r\n", {"3", "4"}},
        {"say ^2Welcome", "console: ^2Welcome\r\n", {"3", "4"}},
        {"frobnicate now", "Unknown command \"frobnicate\"\r\n", {"3", "4"}},
        {"set sv_maprotation night", "]set sv_maprotation night\r\n", {"3", "4"}},
        {"start_map_rotate", "Loading mp_lambeth (TDM_default)", {"3", "4"}},
        {"map_restart", "Restarting map mp_lambeth\r\n", {"3", "4"}},
        {"kick all", "Player5^7 was kicked\r\n", {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        EXPECT_THAT(Type(console, step.line), HasSubstr(step.printed));
        EXPECT_EQ(IdsOf(RowsOfLastStatus(Type(console, "status"))), step.idsAfter);
    }
    EXPECT_THAT(ReadFile(m_game / "main" / "permanent_ex.ban"), HasSubstr("=198.51.100.23 (Kowalski)\r\n"));
}

struct HangCase {
    const char* name;
    const char* options;
    const char* command;  // typed after the start; nullptr when the flag hangs it
};

void PrintTo(const HangCase& row, std::ostream* out) {
    *out << row.name;
}

class HungServerTest : public WindowSystemTest, public ::testing::WithParamInterface<HangCase> {};

TEST_P(HungServerTest, MessagesTimeOutWhileTheWindowIsStillFound) {
    const Console console = Start(GetParam().options);
    ASSERT_NE(console.window, 0U);
    if (GetParam().command != nullptr) {
        EXPECT_TRUE(m_windows->Probe(console.window, kWindowMessageTimeoutMs));
        EXPECT_TRUE(m_windows->SetText(console.input, GetParam().command));
        // The key is still handled; the server stops handling its window after it.
        EXPECT_TRUE(m_windows->PressEnter(console.input));
    }

    bool responded = true;
    EXPECT_LT(ElapsedOf([&] { responded = m_windows->Probe(console.window, 300); }), kPatience);
    EXPECT_FALSE(responded);

    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), console.window);
    EXPECT_EQ(m_windows->WindowTitle(console.window), kServerTitle);
    EXPECT_EQ(m_windows->OwnerProcessId(console.window), console.processId);
    EXPECT_EQ(m_windows->NextSibling(console.input), console.output);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, HungServerTest,
    ::testing::Values(HangCase{"ByCommand", "--window-delay-ms 0", "hang"},
                      HangCase{"ByFlag", "--window-delay-ms 0 --hang-after-ms 0", nullptr}),
    [](const ::testing::TestParamInfo<HangCase>& row) { return std::string(row.param.name); });

TEST_F(WindowSystemTest, FrozenServerKeepsItsWindowAndAnswersWhenResumed) {
    const Console console = Start();
    ASSERT_NE(console.processId, 0U);

    ASSERT_EQ(kill(static_cast<pid_t>(console.processId), SIGSTOP), 0);
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), console.window);
    EXPECT_EQ(m_windows->OwnerProcessId(console.window), console.processId);
    EXPECT_EQ(m_windows->FindChild(console.window, "Edit", ""), console.input);
    EXPECT_FALSE(m_windows->Probe(console.window, 200));
    // Messages without a bound of their own give up after kWindowMessageTimeoutMs.
    std::optional<std::string> text;
    EXPECT_LT(ElapsedOf([&] { text = m_windows->ReadText(console.output); }), kPatience);
    EXPECT_EQ(text, std::nullopt);

    ASSERT_EQ(kill(static_cast<pid_t>(console.processId), SIGCONT), 0);
    EXPECT_TRUE(m_windows->Probe(console.window, kWindowMessageTimeoutMs));
}

TEST_F(WindowSystemTest, TerminatedServerHasNoWindowAtOnceEvenWhenFrozen) {
    const Console console = Start();
    ASSERT_NE(console.processId, 0U);
    ASSERT_EQ(kill(static_cast<pid_t>(console.processId), SIGSTOP), 0);

    EXPECT_EQ(m_processes->Terminate(console.processId), TerminateResult::Terminated);

    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
    EXPECT_EQ(m_windows->OwnerProcessId(console.window), 0U);
    EXPECT_EQ(m_windows->WindowTitle(console.window), "");
    EXPECT_EQ(m_windows->FindChild(console.window, "Edit", ""), 0U);
    EXPECT_TRUE(m_windows->TopLevelWindows().empty());
    EXPECT_FALSE(m_windows->SetText(console.input, "status"));
    EXPECT_FALSE(m_windows->Probe(console.window, kWindowMessageTimeoutMs));
    // The server left its files behind; the first look removed them.
    EXPECT_THAT(FilesIn(m_windowsFolder), ::testing::IsEmpty());
}

struct CrashCase {
    const char* name;
    const char* options;
    bool byCommand;
};

void PrintTo(const CrashCase& row, std::ostream* out) {
    *out << row.name;
}

class CrashedServerTest : public WindowSystemTest, public ::testing::WithParamInterface<CrashCase> {};

TEST_P(CrashedServerTest, WindowIsGoneAndNoStaleFileCounts) {
    const Console console = Start(GetParam().options);
    ASSERT_NE(console.window, 0U);
    if (GetParam().byCommand) {
        ASSERT_TRUE(m_windows->SetText(console.input, "crash"));
        // The server dies while it handles the key: the message is never answered.
        EXPECT_FALSE(m_windows->PressEnter(console.input));
    }

    EXPECT_TRUE(Eventually([&] { return m_windows->FindWindow(kConsoleClass, kServerTitle) == 0; }));
    EXPECT_EQ(m_windows->OwnerProcessId(console.window), 0U);
    EXPECT_TRUE(m_windows->TopLevelWindows().empty());
    EXPECT_THAT(FilesIn(m_windowsFolder), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CrashedServerTest,
    ::testing::Values(CrashCase{"ByCommand", "--window-delay-ms 0", true},
                      CrashCase{"ByFlag", "--window-delay-ms 0 --crash-after-ms 1500", false}),
    [](const ::testing::TestParamInfo<CrashCase>& row) { return std::string(row.param.name); });

TEST_F(WindowSystemTest, ServerThatQuitsTakesItsFilesWithIt) {
    const Console console = Start();
    ASSERT_NE(console.window, 0U);
    Type(console, "quit");
    EXPECT_TRUE(Eventually([&] { return FilesIn(m_windowsFolder).empty(); }));
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
}

// A host whose process id is alive (this test's own) but whose lock nobody holds is a dead host
// whose pid was reused: its files never count and go at the first look; so does a windows file
// without any lock file.
TEST_F(WindowSystemTest, StaleFilesOfAReusedProcessIdNeverCount) {
    fs::create_directories(m_windowsFolder);
    const auto pid = static_cast<std::uint32_t>(getpid());
    const WindowHandle handle = MakeWindowHandle(pid, 1);
    const std::string windows = EncodeWindowRecords({{handle, 0, true, kConsoleClass, kServerTitle}});
    const std::string stale = std::to_string(pid) + "-00000000deadbeef";
    WriteFile(m_windowsFolder / (stale + ".lock"), "");
    WriteFile(m_windowsFolder / (stale + ".windows"), windows);
    WriteFile(m_windowsFolder / (std::to_string(pid) + "-0000000000c0ffee.windows"), windows);

    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
    EXPECT_EQ(m_windows->OwnerProcessId(handle), 0U);
    EXPECT_FALSE(m_windows->Probe(handle, 100));
    EXPECT_THAT(FilesIn(m_windowsFolder), ::testing::IsEmpty());
}

// A host in this process: found from its files whether it serves or not, answered only while
// a thread serves it, and gone with its files when it is destroyed.
TEST_F(WindowSystemTest, HostAnswersOnlyWhileServedAndCleansUpAtTheEnd) {
    auto host = ConsoleWindowHost::Create();
    ASSERT_NE(host, nullptr);
    const WindowHandle window = host->CreateWindow(kConsoleClass, kServerTitle);
    const WindowHandle control = host->CreateControl(window, "Edit", "");
    host->SetControlText(control, std::string(300000, 'z') + "\xAE");
    std::vector<WindowHandle> entered;
    host->onEnter = [&](WindowHandle pressed) { entered.push_back(pressed); };

    // New windows appear together, when the host publishes them.
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
    host->Publish();
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), window);
    EXPECT_EQ(m_windows->FindChild(window, "Edit", ""), control);
    EXPECT_EQ(m_windows->OwnerProcessId(control), static_cast<std::uint32_t>(getpid()));
    EXPECT_FALSE(m_windows->Probe(window, 100));

    std::atomic<bool> serving{true};
    std::thread server([&] {
        while (serving) {
            host->ServeOnce(20);
        }
    });
    EXPECT_TRUE(m_windows->Probe(window, kWindowMessageTimeoutMs));
    EXPECT_EQ(m_windows->ReadText(control), std::string(300000, 'z') + "\xAE");
    EXPECT_TRUE(m_windows->PressEnter(control));
    EXPECT_TRUE(m_windows->Show(window, false));
    EXPECT_FALSE(m_windows->SetText(window + 7, "no such window"));
    serving = false;
    server.join();
    EXPECT_EQ(entered, std::vector<WindowHandle>{control});
    EXPECT_FALSE(host->Visible(window));

    host.reset();
    EXPECT_EQ(m_windows->FindWindow(kConsoleClass, kServerTitle), 0U);
    EXPECT_THAT(FilesIn(m_windowsFolder), ::testing::IsEmpty());
}

TEST_F(WindowSystemTest, CreateProcessFailsWithoutARunnableProgram) {
    WriteFile(m_game / "notes.txt", "not a program");
    for (const char* commandLine :
         {"no_such_program_zq +set a b", "notes.txt", "players2", "./missing", "\"\" x", ""}) {
        SCOPED_TRACE(commandLine);
        EXPECT_FALSE(m_processes->CreateProcess(
            ProcessLaunch{.commandLine = commandLine, .workingFolder = m_game.Path()}));
    }
    EXPECT_FALSE(m_processes->CreateProcess(
        ProcessLaunch{.commandLine = "Zembrock_dedicated.exe", .workingFolder = m_game / "no such folder"}));
}

TEST_F(WindowSystemTest, SettleWaitEndsWhenTheProcessExitsAndNoZombieStays) {
    bool created = false;
    // "true" is found through PATH and exits at once: the long settle wait ends with it.
    EXPECT_LT(ElapsedOf([&] {
                  created = m_processes->CreateProcess(ProcessLaunch{
                      .commandLine = "true", .workingFolder = m_game.Path(), .settleWaitMs = 60000});
              }),
              kPatience);
    EXPECT_TRUE(created);
    EXPECT_TRUE(Eventually([] { return ChildProcesses().empty(); }));
}

TEST_F(WindowSystemTest, TerminateReportsProcessesThatDoNotExist) {
    EXPECT_EQ(m_processes->Terminate(0), TerminateResult::NotFound);
    const std::string pidMax = ReadFile("/proc/sys/kernel/pid_max");
    EXPECT_EQ(m_processes->Terminate(static_cast<std::uint32_t>(std::stoul(pidMax))),
              TerminateResult::NotFound);
}

}  // namespace
}  // namespace zembrock
