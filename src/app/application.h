#pragma once

#include <memory>
#include <string_view>

#include "core/colour_chooser.h"
#include "core/event_log.h"
#include "core/startup.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/instance_lock.h"
#include "platform/user_settings.h"
#include "server/server_session.h"

namespace zembrock {

class MainWindow;

// The backends the program runs on; tests hand in fakes for the interactive ones.
struct ApplicationPorts {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<EventPump> pump;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<UserSettings> userSettings;
    std::unique_ptr<InstanceLock> instanceLock;
    bool hideToTray = true;
};

// The real backends of this system for the program installed in the program's folder.
ApplicationPorts SystemPorts();

// The composition root: owns every model and port of the program and the main window that
// shows them, for the life of the program.
class Application {
public:
    explicit Application(ApplicationPorts ports);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    Application(Application&&) = delete;
    Application& operator=(Application&&) = delete;

    // Runs the start-up sequence and shows the window (unless it went to the tray).
    StartupOutcome Start(std::string_view argumentText);

    MainWindow& Window() { return *m_window; }
    EventLog& Log() { return m_log; }
    ServerSession& Session() { return m_session; }

private:
    ApplicationPorts m_ports;
    EventLog m_log;
    ServerSession m_session;
    ColourChooser m_colourChooser;
    ConsoleColours m_consoleColours;
    std::unique_ptr<MainWindow> m_window;
};

}  // namespace zembrock
