#include "app/application.h"

#include <QSystemTrayIcon>

#include "app/main_window.h"
#include "app/qt_ports.h"
#include "core/folder_listing.h"
#include "core/program_folder.h"
#include "core/window_title.h"
#include "maps/map_catalogue.h"
#include "platform/network.h"
#include "platform/system_clock.h"
#include "profiles/game_settings.h"

namespace zembrock {

ApplicationPorts SystemPorts() {
    ApplicationPorts ports;
    ports.clock = std::make_unique<SystemClock>();
    ports.pump = std::make_unique<QtEventPump>();
    ports.dialogs = std::make_unique<QtDialogs>();
    ports.userSettings = CurrentUserSettings();
    ports.instanceLock = AcquireInstanceLock(ProgramFolderText());
    ports.processes = SystemProcesses();
    ports.windows = SystemWindowSystem();
    ports.localAddress = LocalIPv4Address();
    ports.hideToTray = QSystemTrayIcon::isSystemTrayAvailable();
    return ports;
}

Application::Application(ApplicationPorts ports)
    : m_ports(std::move(ports)),
      m_log(ProgramFolder() / kSystemLogFileName, *m_ports.clock, *m_ports.pump),
      m_colourChooser(*m_ports.dialogs, *m_ports.userSettings),
      m_mapLists(ProgramFolder()),
      m_profiles(ProfileModels{m_fields, m_mapLists, m_log, m_session, m_consoleColours},
                 ProfilePorts{*m_ports.dialogs, *m_ports.clock, *m_ports.pump, *m_ports.processes}),
      m_watchdogTimer(std::make_unique<QtTimer>([this] { m_supervisor.Tick(); })),
      m_console(m_session, *m_ports.windows, *m_ports.clock, m_fields.commandHistory),
      m_supervisor(SupervisorModels{m_session, m_fields, m_mapLists, m_log, m_console, m_display},
                   SupervisorPorts{*m_ports.windows, *m_ports.processes, *m_ports.dialogs, *m_ports.clock,
                                   *m_ports.pump, *m_watchdogTimer},
                   WindowTitle()),
      m_playerLogTimer(std::make_unique<QtTimer>([this] { m_playerLog.Tick(); })),
      m_playerLog(
          ProgramFolder() / kPlayerLogFileName,
          PlayerLogPorts{m_console, m_session, m_log, *m_ports.clock, *m_ports.pump, *m_playerLogTimer}),
      m_messages(ProgramFolder()),
      m_rotationTimer(std::make_unique<QtTimer>([this] {
          m_rotation.Tick();
          m_window->RenderRotation();
      })),
      m_rotation(m_messages, RotationPorts{m_session, m_console, *m_rotationTimer, m_log, *m_ports.dialogs}),
      m_window(std::make_unique<MainWindow>(
          MainWindowModels{m_log, m_session, m_colourChooser, m_consoleColours, m_fields, m_profiles,
                           m_mapLists, *m_ports.dialogs, *m_ports.processes, m_console, m_supervisor,
                           m_display, m_playerTable, m_playerLog, m_messages, m_rotation, *m_ports.clock,
                           *m_ports.pump},
          m_ports.hideToTray)) {
    m_supervisor.SetObserver([this] { m_window->RenderSupervision(); });
    m_supervisor.SetProfileNameSource([this] { return m_profiles.CurrentProfileFile().stem().string(); });
    m_console.SetMirrorObserver([this] { m_window->RenderMirror(); });
    m_supervisor.SetCaptureHooks(
        [this] {
            m_rotation.OnServerCaptured(m_fields.autostartMessages);
            m_window->RenderPages();
        },
        [this] {
            m_rotation.OnServerLost();
            m_window->RenderPages();
        });
    // A profile load that changes "Player table every" acts as a click on it.
    m_profiles.SetLoadObserver([this] {
        if (m_fields.logStatus != m_logBoxTicked) {
            m_logBoxTicked = m_fields.logStatus;
            m_playerLog.LogBoxClicked(m_fields.logStatus, m_fields.logMins);
        }
    });
}

Application::~Application() = default;

StartupOutcome Application::Start(std::string_view argumentText) {
    const StartupContext context{*this, m_log, m_session, *m_ports.dialogs, *m_ports.clock, *m_ports.pump};
    const StartupOutcome outcome = RunStartup(context, argumentText);
    if (outcome == StartupOutcome::Running) {
        m_window->RenderPages();
        if (!m_window->IsInTray()) {
            m_window->show();
        }
    }
    return outcome;
}

bool Application::AnotherInstanceRunning() {
    return m_ports.instanceLock != nullptr && m_ports.instanceLock->AnotherInstanceRunning();
}

void Application::SetWindowTitle(const std::string& title) {
    m_window->SetWindowTitle(title);
}

void Application::SetUpTray() {
    m_window->SetUpTray();
}

void Application::SetTabCaptions() {
    m_window->SetTabCaptions();
}

void Application::SetCompactHeight() {
    m_window->SetCompactHeight();
}

void Application::FillServerVisibility() {
    m_fields.serverVisibility.Fill({"LAN", "Internet"});
}

void Application::FillGameFolderLists() {
    m_mapLists.RefreshMapListFiles();
    m_fields.configFiles.Fill(ListFiles(ProgramFolder() / "players2", ".cfg"));
    m_fields.configFiles.SelectIndex(0);
    m_mapLists.SetGameTypes(zembrock::BuildGameTypeList(ProgramFolder()));
}

void Application::BuildMapCatalogue() {
    m_mapLists.SetCatalogue(zembrock::BuildMapCatalogue(ProgramFolder()));
}

void Application::FillInterfaceChoice() {
    zembrock::FillInterfaceChoice(m_fields.networkInterface, ProgramFolder() / kGameSettingsFileName,
                                  m_ports.localAddress);
}

void Application::FillCoreLists() {
    zembrock::FillCoreLists(m_fields.consoleCores, m_fields.programCores, *m_ports.processes);
}

void Application::RefreshProfileList() {
    m_profiles.RefreshProfileList();
}

void Application::LoadMessageProfiles() {
    m_messages.StartUp();
}

void Application::SelectCommandLineProfile(const std::string& name) {
    m_profiles.SelectNamedProfile(name);
}

void Application::StartServer() {
    m_supervisor.StartStopAction();
}

void Application::MinimiseToTray() {
    m_window->MinimiseToTray();
}

}  // namespace zembrock
