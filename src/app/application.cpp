#include "app/application.h"

#include <QSystemTrayIcon>

#include "app/main_window.h"
#include "app/qt_ports.h"
#include "core/program_folder.h"
#include "platform/system_clock.h"

namespace zembrock {

ApplicationPorts SystemPorts() {
    ApplicationPorts ports;
    ports.clock = std::make_unique<SystemClock>();
    ports.pump = std::make_unique<QtEventPump>();
    ports.dialogs = std::make_unique<QtDialogs>();
    ports.userSettings = CurrentUserSettings();
    ports.instanceLock = AcquireInstanceLock(ProgramFolderText());
    ports.hideToTray = QSystemTrayIcon::isSystemTrayAvailable();
    return ports;
}

Application::Application(ApplicationPorts ports)
    : m_ports(std::move(ports)),
      m_log(ProgramFolder() / kSystemLogFileName, *m_ports.clock, *m_ports.pump),
      m_colourChooser(*m_ports.dialogs, *m_ports.userSettings),
      m_window(std::make_unique<MainWindow>(
          MainWindowModels{m_log, m_session, m_colourChooser, m_consoleColours}, m_ports.hideToTray)) {
    m_window->SetAnotherInstanceRunning(m_ports.instanceLock != nullptr &&
                                        m_ports.instanceLock->AnotherInstanceRunning());
}

Application::~Application() = default;

StartupOutcome Application::Start(std::string_view argumentText) {
    const StartupContext context{*m_window,        m_log,          m_session,
                                 *m_ports.dialogs, *m_ports.clock, *m_ports.pump};
    const StartupOutcome outcome = RunStartup(context, argumentText);
    if (outcome == StartupOutcome::Running && !m_window->IsInTray()) {
        m_window->show();
    }
    return outcome;
}

}  // namespace zembrock
