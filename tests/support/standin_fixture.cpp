#include "support/standin_fixture.h"

#include <cstdlib>

#include "core/program_folder.h"

namespace zembrock::test {

namespace fs = std::filesystem;

void StandinFixture::SetUp() {
    setenv("ZEMBROCK_WINDOWS_DIR", m_windowsFolder.Path().c_str(), 1);
    m_previousFolder = ProgramFolder();
    SetProgramFolder(m_game.Path());
    fs::create_directories(m_game / "players2");
    fs::create_directories(m_game / "main");
    WriteFile(m_game / "players2/server.cfg", "set sv_hostname \"From Config\"\r\n");
    WriteFile(m_game / "players2/night.dspl", "mp_lambeth,TDM_default,300\r\n");
    fs::create_symlink(ZEMBROCK_STANDIN_SERVER, m_game / kServerExecutable);

    m_windows = SystemWindowSystem();
    m_processes = SystemProcesses();
    m_fields.serverVisibility.Fill({"LAN", "Internet"});
    m_fields.serverVisibility.SelectIndex(0);
    m_fields.configFiles.Fill({"server.cfg"});
    m_fields.configFiles.SelectIndex(0);
    m_fields.networkInterface.Fill({"127.0.0.1", "ANY IP"});
    m_fields.networkInterface.SelectIndex(0);
    m_fields.startHidden = false;
    m_mapLists = std::make_unique<MapListEditor>(m_game.Path());
    m_mapLists->RefreshMapListFiles();
    m_console = std::make_unique<ConsoleBridge>(m_session, *m_windows, m_clock, m_fields.commandHistory);
    m_supervisor = std::make_unique<ServerSupervisor>(
        SupervisorModels{m_session, m_fields, *m_mapLists, m_log, *m_console, m_display},
        SupervisorPorts{*m_windows, *m_processes, m_dialogs, m_clock, m_pump, m_timer}, "Control panel");
}

void StandinFixture::TearDown() {
    for (const WindowHandle window : m_windows->TopLevelWindows()) {
        m_processes->Terminate(m_windows->OwnerProcessId(window));
    }
    SetProgramFolder(m_previousFolder);
    unsetenv("ZEMBROCK_WINDOWS_DIR");
}

bool StandinFixture::TickUntil(const std::function<bool()>& done, int maxTicks) {
    for (int tick = 0; tick < maxTicks && !done(); ++tick) {
        if (!m_timer.Active()) {
            return done();
        }
        m_clock.SleepMs(m_timer.IntervalMs());
        m_supervisor->Tick();
    }
    return done();
}

void StandinFixture::StartAndCapture() {
    m_supervisor->StartStopAction();
    ASSERT_TRUE(m_timer.Active());
    ASSERT_TRUE(TickUntil([this] { return m_session.captured; }, 10));
}

bool StandinFixture::Logged(const std::string& text) const {
    for (const LogEntry& entry : m_log.Entries()) {
        if (entry.text == text) {
            return true;
        }
    }
    return false;
}

}  // namespace zembrock::test
