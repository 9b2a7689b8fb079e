#include "server/server_supervisor.h"

#include <cmath>
#include <exception>
#include <limits>
#include <random>
#include <system_error>

#include "core/program_folder.h"
#include "core/pumped_wait.h"
#include "profiles/game_settings.h"
#include "server/processor_affinity.h"

namespace zembrock {
namespace {

constexpr std::uint32_t kSettleWaitMs = 2000;
constexpr std::int32_t kRetryPauseMs = 1000;
constexpr std::int32_t kRestartPauseMs = 3000;
constexpr int kStartAttempts = 3;

}  // namespace

ServerSupervisor::ServerSupervisor(const SupervisorModels& models, const SupervisorPorts& ports,
                                   std::string windowCaption)
    : m_models(models), m_ports(ports), m_windowCaption(std::move(windowCaption)) {
    m_models.display.trayTooltip = m_windowCaption;
}

void ServerSupervisor::Changed() {
    if (m_observer) {
        m_observer();
    }
}

std::string ServerSupervisor::ServerArguments() const {
    const ProfileFields& fields = m_models.fields;
    const std::int64_t visibility =
        fields.serverVisibility.selected ? static_cast<std::int64_t>(*fields.serverVisibility.selected) : -1;
    return " +set dedicated " + std::to_string(visibility + 1) + " +set net_queryPort " + fields.gamePort +
           " +set net_port " + fields.serverPort + " +set net_authPort " + fields.authenticationPort +
           " +set net_masterServerPort " + fields.masterPort + " +set sv_config \"" +
           fields.configFiles.Text() + "\"";
}

void ServerSupervisor::StartStopAction() {
    ServerSession& session = m_models.session;
    const std::string& caption = m_models.display.startStopCaption;
    if (caption == kStopServerCaption) {
        session.stoppedByUser = true;
        TerminateServer(session.consoleWindow);
        return;
    }
    if (caption != kStartServerCaption) {
        return;
    }
    try {
        Start();
    } catch (const std::exception& failure) {
        m_ports.dialogs.ShowMessage(
            m_windowCaption,
            std::string("Error while starting server.\r\nNumber: 0\r\nDescription: ") + failure.what(),
            DialogIcon::Critical);
    }
}

void ServerSupervisor::Start() {
    ServerSession& session = m_models.session;
    if (m_models.mapLists.FileCount() == 0) {
        m_ports.dialogs.ShowMessage("Rotation maplist error",
                                    "There is no available map-list, please create one and try again.",
                                    DialogIcon::Information);
        return;
    }
    session.consoleWindow = 0;
    session.stoppedByUser = false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(ProgramFolder() / kServerExecutable, error)) {
        m_models.log.LogSystemMessage("Error starting server, Zembrock_dedicated.exe not founded.",
                                      kLogFailure);
        return;
    }
    m_models.display.startStopCaption = kStopServerCaption;
    Changed();
    StoreInterfaceChoice(m_models.fields.networkInterface, ProgramFolder() / kGameSettingsFileName);
    m_ports.pump.PumpOnce();

    const ProcessLaunch launch{std::string(kServerExecutable) + ServerArguments(), ProgramFolder(),
                               kSettleWaitMs};
    if (StartProcess(launch)) {
        m_ports.watchdogTimer.Start(kWaitingIntervalMs);
        return;
    }
    m_models.log.LogSystemMessage("Server failed to start.", kLogInformation);
    m_models.display.startStopCaption = kStartServerCaption;
    Changed();
}

bool ServerSupervisor::StartProcess(const ProcessLaunch& launch) {
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        if (m_ports.processes.CreateProcess(launch)) {
            m_models.log.LogSystemMessage("Server successfully started.", kLogInformation);
            return true;
        }
        m_models.log.LogSystemMessage("Server failed to start [" + std::to_string(attempt) + "/3].",
                                      kLogFailure);
        PumpedWait(m_ports.clock, m_ports.pump, kRetryPauseMs);
    }
    return false;
}

void ServerSupervisor::TerminateServer(WindowHandle consoleWindow) {
    const std::uint32_t processId = m_ports.windows.OwnerProcessId(consoleWindow);
    if (processId == 0) {
        return;
    }
    switch (m_ports.processes.Terminate(processId)) {
        case TerminateResult::NotFound:
            m_models.log.LogSystemMessage("Error finding target process handle.", kLogInformation);
            break;
        case TerminateResult::Failed:
            m_models.log.LogSystemMessage("Error terminating process.", kLogInformation);
            break;
        case TerminateResult::Terminated:
            m_models.log.LogSystemMessage("Process terminated.", kLogInformation);
            break;
    }
}

void ServerSupervisor::Tick() {
    ServerSession& session = m_models.session;
    if (session.consoleWindow != 0 && session.captured) {
        session.responded = ServerResponds();
        if (session.responded) {
            if (session.noResponseCount > 0) {
                m_models.log.LogSystemMessage("Server respond OK!", kLogInformation);
            }
            session.noResponseCount = 0;
            m_models.console.Refresh();
        } else if (!session.stoppedByUser) {
            // With a limit of 0 or below the count never meets it; it stops at its maximum.
            if (session.noResponseCount < std::numeric_limits<std::int16_t>::max()) {
                ++session.noResponseCount;
            }
            m_models.log.LogSystemMessage("Server doesn't respond [" +
                                              std::to_string(session.noResponseCount) + "/" +
                                              std::to_string(session.respondTries) + "].",
                                          kLogInformation);
            if (session.noResponseCount == session.respondTries) {
                session.noResponseCount = 0;
                m_models.log.LogSystemMessage("Server doesn't respond.", kLogFailure);
                RestartServer();
                return;
            }
        }
    }
    session.consoleWindow = m_ports.windows.FindWindow(kServerConsoleClass, session.consoleTitle);
    if (session.consoleWindow != 0 && !session.captured) {
        Capture();
    } else if (session.consoleWindow == 0 && session.captured) {
        SupervisionLost();
    }
}

std::string ServerSupervisor::MakeTagTitle() {
    // A fresh generator seeded from the clock each time, as a new number is wanted per capture.
    std::mt19937 generator(m_ports.clock.NowMs());
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(generator);
    const auto number = static_cast<int>(std::nearbyint(r * 999.0));
    std::string digits = std::to_string(number);
    digits.insert(0, 3 - std::min<std::size_t>(3, digits.size()), '0');
    return "#" + digits + " Started at: " + EventLog::LocalTimestamp();
}

void ServerSupervisor::Capture() {
    ServerSession& session = m_models.session;
    WindowSystem& windows = m_ports.windows;
    session.inputLine = windows.FindChild(session.consoleWindow, "Edit", "");
    session.outputArea = session.inputLine == 0 ? 0 : windows.NextSibling(session.inputLine);
    session.consoleProcessId = windows.OwnerProcessId(session.consoleWindow);
    if (session.consoleTitle == kServerConsoleTitle) {
        session.consoleTitle = MakeTagTitle();
        m_models.display.trayBalloonText = session.consoleTitle + "\r\n" + kTrayBalloonText;
        m_models.display.trayTooltip = m_windowCaption + "\r\n" + session.consoleTitle;
        windows.SetText(session.consoleWindow, session.consoleTitle);
    }
    m_models.log.LogSystemMessage("Server window captured.", kLogInformation);
    m_models.log.LogSystemMessage(session.consoleTitle + " Hwnd: " + std::to_string(session.consoleWindow) +
                                      " pID: " + std::to_string(session.consoleProcessId),
                                  kLogDetail);
    session.remoteInfo = session.consoleTitle + "|" + std::to_string(session.consoleProcessId) + "|" +
                         (m_profileName ? m_profileName() : std::string()) + "|" +
                         m_models.fields.masterPort + "|";
    SetAffinity(m_models.fields.consoleCores, AffinityTarget::Console, session.consoleProcessId,
                m_ports.processes, m_models.log);
    m_models.display.startStopCaption = kStopServerCaption;
    if (m_models.fields.startHidden) {
        ShowConsole(false);
    }
    m_ports.watchdogTimer.Start(kSupervisedIntervalMs);
    session.captured = true;
    Changed();
    PushServerSettings();
    if (m_onCaptured) {
        m_onCaptured();
    }
}

void ServerSupervisor::ResetDisplay() {
    m_models.display.startStopCaption = kStartServerCaption;
    m_models.display.trayBalloonText = kTrayBalloonText;
    m_models.display.trayTooltip = m_windowCaption;
    m_models.session.captured = false;
    m_models.session.consoleTitle = kServerConsoleTitle;
}

void ServerSupervisor::SupervisionLost() {
    ServerSession& session = m_models.session;
    ResetDisplay();
    m_ports.watchdogTimer.Stop();
    session.remoteInfo.clear();
    session.publicIp.clear();
    if (m_onLost) {
        m_onLost();
    }
    if (session.stoppedByUser) {
        m_models.log.LogSystemMessage("Server close by user successful.", kLogInformation);
        m_models.console.EmptyMirror();
        Changed();
        return;
    }
    m_models.log.LogSystemMessage("Server has crashed or exited.", kLogFailure);
    Changed();
    RestartServer();
}

void ServerSupervisor::RestartServer() {
    m_ports.watchdogTimer.Stop();
    m_models.log.LogSystemMessage("Server restarting.", kLogInformation);
    TerminateServer(m_models.session.consoleWindow);
    PumpedWait(m_ports.clock, m_ports.pump, kRestartPauseMs);
    ResetDisplay();
    m_models.console.EmptyMirror();
    Changed();
    StartStopAction();
}

bool ServerSupervisor::ServerResponds() {
    ServerSession& session = m_models.session;
    WindowSystem& windows = m_ports.windows;
    session.responded = false;
    // Every window is visited; none stops the walk early.
    for (const WindowHandle window : windows.TopLevelWindows()) {
        if (windows.OwnerProcessId(window) != session.consoleProcessId ||
            windows.WindowTitle(window) != session.consoleTitle) {
            continue;
        }
        if (windows.Probe(window, kWindowMessageTimeoutMs)) {
            session.responded = true;
        }
    }
    return session.responded;
}

void ServerSupervisor::PushServerSettings() {
    const ServerSession& session = m_models.session;
    if (session.inputLine == 0) {
        return;
    }
    const ProfileFields& fields = m_models.fields;
    ConsoleBridge& console = m_models.console;
    console.SendConsoleCommand("set sv_hostname \"" + fields.hostName + "\"");
    console.SendConsoleCommand("set rcon_password \"" + fields.rconPassword + "\"");
    console.SendConsoleCommand("set sv_privateClients " + fields.privateClients);
    console.SendConsoleCommand("set sv_maxclients " + fields.maxClients);
    console.SendConsoleCommand("set sv_privatePassword " + fields.privatePassword);
    console.SendConsoleCommand("set sv_maxPing \"" + fields.maxPing + "\"");
    console.SendConsoleCommand("set sv_voice " + fields.voiceChat);
    console.SendConsoleCommand("set g_allowVote " + fields.voting);
    console.SendConsoleCommand("set g_deadChat " + fields.deadChat);
    console.SendConsoleCommand("set g_inactivity " + fields.inactivity);
    console.SendConsoleCommand("set sv_kickBanTime " + fields.kickTime);
    console.SendConsoleCommand("set sv_floodProtect 1");
    // With no map list selected the rotation name is empty; the command goes out all the same.
    console.SendConsoleCommand("set sv_maprotation " + m_models.mapLists.RotationName());
    m_ports.windows.SetText(session.outputArea, "");
    console.SendConsoleCommand("start_map_rotate");
}

void ServerSupervisor::ShowConsole(bool visible) {
    if (m_models.session.consoleWindow != 0) {
        m_ports.windows.Show(m_models.session.consoleWindow, visible);
    }
}

}  // namespace zembrock
