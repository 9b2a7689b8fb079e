#pragma once

#include <memory>
#include <string_view>

#include "console/console_bridge.h"
#include "console/player_log.h"
#include "console/status_parser.h"
#include "core/colour_chooser.h"
#include "core/event_log.h"
#include "core/startup.h"
#include "maps/map_list_editor.h"
#include "messages/message_profiles.h"
#include "messages/message_rotation.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/instance_lock.h"
#include "platform/processes.h"
#include "platform/timer.h"
#include "platform/user_settings.h"
#include "platform/window_system.h"
#include "profiles/profile_fields.h"
#include "profiles/profiles.h"
#include "server/server_session.h"
#include "server/server_supervisor.h"

namespace zembrock {

class MainWindow;

// The backends the program runs on; tests hand in fakes for the interactive ones.
struct ApplicationPorts {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<EventPump> pump;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<UserSettings> userSettings;
    std::unique_ptr<InstanceLock> instanceLock;
    std::unique_ptr<Processes> processes;
    std::unique_ptr<WindowSystem> windows;
    std::string localAddress;  // the local host's IPv4 address
    bool hideToTray = true;
};

// The real backends of this system for the program installed in the program's folder.
ApplicationPorts SystemPorts();

// The composition root: owns every model and port of the program and the main window that
// shows them, for the life of the program, and runs the start-up sequence over them.
class Application final : public StartupSteps {
public:
    explicit Application(ApplicationPorts ports);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    Application(Application&&) = delete;
    Application& operator=(Application&&) = delete;

    // Runs the start-up sequence and shows the window (unless it went to the tray).
    StartupOutcome Start(std::string_view argumentText);

    MainWindow& Window() { return *m_window; }
    EventLog& Log() { return m_log; }
    ServerSession& Session() { return m_session; }
    ProfileFields& Fields() { return m_fields; }
    Profiles& ProfileStore() { return m_profiles; }
    MapListEditor& MapLists() { return m_mapLists; }
    ConsoleBridge& Console() { return m_console; }
    ServerSupervisor& Supervisor() { return m_supervisor; }
    Timer& WatchdogTimer() { return *m_watchdogTimer; }

    // Start-up steps.
    bool AnotherInstanceRunning() override;
    void SetWindowTitle(const std::string& title) override;
    void SetUpTray() override;
    void SetTabCaptions() override;
    void SetCompactHeight() override;
    void FillServerVisibility() override;
    void FillGameFolderLists() override;
    void BuildMapCatalogue() override;
    void FillInterfaceChoice() override;
    void FillCoreLists() override;
    void RefreshProfileList() override;
    void LoadMessageProfiles() override;
    void SelectCommandLineProfile(const std::string& name) override;
    void StartServer() override;
    void MinimiseToTray() override;

private:
    ApplicationPorts m_ports;
    EventLog m_log;
    ServerSession m_session;
    ColourChooser m_colourChooser;
    ConsoleColours m_consoleColours;
    ProfileFields m_fields;
    MapListEditor m_mapLists;
    Profiles m_profiles;
    std::unique_ptr<Timer> m_watchdogTimer;  // Timer2
    ConsoleBridge m_console;
    SupervisionDisplay m_display;
    ServerSupervisor m_supervisor;
    PlayerTable m_playerTable;
    std::unique_ptr<Timer> m_playerLogTimer;  // Timer4
    PlayerLog m_playerLog;
    bool m_logBoxTicked = false;  // "Player table every" as the last profile load left it
    MessageProfiles m_messages;
    std::unique_ptr<Timer> m_rotationTimer;  // Timer5
    MessageRotation m_rotation;
    std::unique_ptr<MainWindow> m_window;
};

}  // namespace zembrock
