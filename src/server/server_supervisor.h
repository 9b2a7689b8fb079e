#pragma once

#include <functional>
#include <string>

#include "console/console_bridge.h"
#include "core/event_log.h"
#include "maps/map_list_editor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/processes.h"
#include "platform/timer.h"
#include "platform/window_system.h"
#include "profiles/profile_fields.h"
#include "server/server_session.h"

namespace zembrock {

inline constexpr const char* kStartServerCaption = "Start Dedicated Server";
inline constexpr const char* kStopServerCaption = "Stop Dedicated Server";
inline constexpr const char* kTrayBalloonText = "Programs is minimized Click to restore.";

// What the main window shows of the supervision: the start/stop button's caption (which is
// also the state the start/stop action reads) and the tray's texts.
struct SupervisionDisplay {
    std::string startStopCaption = kStartServerCaption;
    std::string trayBalloonText = kTrayBalloonText;
    std::string trayTooltip;  // the main window's caption, plus the tag title while captured
};

// The models the supervision reads and changes.
struct SupervisorModels {
    ServerSession& session;
    ProfileFields& fields;
    MapListEditor& mapLists;
    EventLog& log;
    ConsoleBridge& console;
    SupervisionDisplay& display;
};

// What the supervision asks of the outside world.
struct SupervisorPorts {
    WindowSystem& windows;
    Processes& processes;
    Dialogs& dialogs;
    Clock& clock;
    EventPump& pump;
    Timer& watchdogTimer;  // Timer2
};

// Starts, watches, restarts and stops the one dedicated server. The server is known only through
// its console window: the watchdog finds it by class and title, captures it (records its
// controls and owner, gives it a tag title of its own, pushes the settings into it) and from
// then on probes it on every tick, restarting it after `respondTries` failed probes in a row or
// when the window disappears without a stop request.
class ServerSupervisor {
public:
    ServerSupervisor(const SupervisorModels& models, const SupervisorPorts& ports, std::string windowCaption);

    // Runs after every change of the display or the session that the window shows.
    void SetObserver(std::function<void()> observer) { m_observer = std::move(observer); }
    // Run right after a capture (after the settings push) and when the server is found gone
    // (before the stop or crash is reported): the message rotation starts and stops there.
    void SetCaptureHooks(std::function<void()> onCaptured, std::function<void()> onLost) {
        m_onCaptured = std::move(onCaptured);
        m_onLost = std::move(onLost);
    }
    // The name of the current profile, for the remote-info text.
    void SetProfileNameSource(std::function<std::string()> source) { m_profileName = std::move(source); }

    // The start/stop button: starts the server when it reads "Start Dedicated Server", asks the
    // running one to stop when it reads "Stop Dedicated Server".
    void StartStopAction();
    // One tick of the watchdog timer.
    void Tick();
    void RestartServer();
    // Ends the process that owns the console window (nothing when there is none).
    void TerminateServer(WindowHandle consoleWindow);
    // True when a window of the console's process with the console's title answers a probe.
    bool ServerResponds();
    // The settings of the server fields and the map rotation, typed into the captured console.
    void PushServerSettings();
    // "Hide" and "Show": the console window.
    void ShowConsole(bool visible);
    // The program is closing: no tick may restart anything.
    void StopWatchdog() { m_ports.watchdogTimer.Stop(); }
    // The process that owns the console window, 0 when there is none.
    std::uint32_t ConsoleProcessId() {
        return m_ports.windows.OwnerProcessId(m_models.session.consoleWindow);
    }

    // The server's command line arguments for the current fields (each begins with a blank).
    std::string ServerArguments() const;
    // A fresh tag title: "#", three digits, " Started at: " and the date and time.
    std::string MakeTagTitle();

    static constexpr std::uint32_t kWaitingIntervalMs = 2000;
    static constexpr std::uint32_t kSupervisedIntervalMs = 1000;

private:
    void Start();
    bool StartProcess(const ProcessLaunch& launch);
    void Capture();
    void SupervisionLost();
    void ResetDisplay();
    void Changed();

    SupervisorModels m_models;
    SupervisorPorts m_ports;
    std::string m_windowCaption;
    std::function<void()> m_observer;
    std::function<std::string()> m_profileName;
    std::function<void()> m_onCaptured;
    std::function<void()> m_onLost;
};

}  // namespace zembrock
