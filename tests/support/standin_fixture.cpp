#include "support/standin_fixture.h"

#include <cstdlib>

#include "core/program_folder.h"

namespace zembrock::test {

namespace fs = std::filesystem;

namespace {

void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty()) {
        unsetenv(name);
    } else {
        setenv(name, value.c_str(), 1);
    }
#endif
}

}  // namespace

void StandinFixture::SetUp() {
    SetEnvironment("ZEMBROCK_WINDOWS_DIR", m_windowsFolder.Path().string());
    m_previousFolder = ProgramFolder();
    SetProgramFolder(m_game.Path());
    fs::create_directories(m_game / "players2");
    fs::create_directories(m_game / "main");
    WriteFile(m_game / "players2/server.cfg", "set sv_hostname \"From Config\"\r\n");
    WriteFile(m_game / "players2/night.dspl", "mp_lambeth,TDM_default,300\r\n");
    fs::copy_file(ZEMBROCK_STANDIN_SERVER, m_game / kServerExecutable);
    // Windows looks for a program named without a folder in the starting program's current
    // folder, after its own folder (the control panel's own folder is the game folder).
    m_previousCurrentFolder = fs::current_path();
    fs::current_path(m_game.Path());

    m_server = std::make_unique<harness::SupervisionHarness>("Control panel");
    m_server->fields.networkInterface.Fill({"127.0.0.1", "ANY IP"});
    m_server->fields.networkInterface.SelectIndex(0);
    m_server->fields.startHidden = false;
}

void StandinFixture::TearDown() {
    // The console by its tag title and any server that was not captured yet.
    WindowSystem& windows = *m_server->windows;
    for (const std::string& title : {m_server->session.consoleTitle, std::string(kServerConsoleTitle)}) {
        for (WindowHandle window = windows.FindWindow(kServerConsoleClass, title); window != 0;
             window = windows.FindWindow(kServerConsoleClass, title)) {
            if (m_server->processes->Terminate(windows.OwnerProcessId(window)) !=
                TerminateResult::Terminated) {
                break;
            }
        }
    }
    m_server.reset();
    fs::current_path(m_previousCurrentFolder);
    SetProgramFolder(m_previousFolder);
    SetEnvironment("ZEMBROCK_WINDOWS_DIR", {});
    SetStandinOptions({});
}

void StandinFixture::StartAndCapture() {
    m_server->supervisor.StartStopAction();
    ASSERT_TRUE(m_server->watchdogTimer.Active());
    ASSERT_TRUE(m_server->RunWatchdog([this] { return m_server->session.captured; }, 10));
}

void StandinFixture::SetStandinOptions(const std::string& options) {
    SetEnvironment("ZEMBROCK_STANDIN_OPTIONS", options);
}

}  // namespace zembrock::test
