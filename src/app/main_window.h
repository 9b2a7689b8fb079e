#pragma once

#include <QMainWindow>
#include <filesystem>

#include "core/colour_chooser.h"
#include "core/event_log.h"
#include "core/startup.h"
#include "server/server_session.h"

class QPushButton;
class QTabWidget;

namespace zembrock {

class ConsolePage;
class LogsPage;
class TrayIcon;

// The models the main window shows and acts on; the composition root owns them.
struct MainWindowModels {
    EventLog& log;
    ServerSession& session;
    ColourChooser& colourChooser;
    ConsoleColours& consoleColours;
};

// The main window "form1": the upper tab set with the server's and the browser's pages, the
// always-visible buttons, and at the expanded height the lower tab set with the console, the
// players, the messages, the logs and the settings. It composes the pages; each page is its own
// class. Minimised, it hides itself behind the tray icon.
class MainWindow : public QMainWindow, public StartupSteps {
    Q_OBJECT

public:
    static constexpr int kWidth = 720;
    static constexpr int kUpperTabsHeight = 420;
    static constexpr int kCompactHeight = 480;
    static constexpr int kExpandedHeight = 800;

    // hideToTray: minimising hides the window behind the tray icon; without a notification area
    // the window is minimised as usual, so that it can always be brought back.
    MainWindow(const MainWindowModels& models, bool hideToTray, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    MainWindow(MainWindow&&) = delete;
    MainWindow& operator=(MainWindow&&) = delete;

    // Start-up steps.
    bool AnotherInstanceRunning() override { return m_anotherInstance; }
    void SetWindowTitle(const std::string& title) override;
    void SetUpTray() override;
    void SetTabCaptions() override;
    void SetCompactHeight() override;
    void SelectCommandLineProfile(const std::string& name) override;
    void MinimiseToTray() override;

    void SetAnotherInstanceRunning(bool running) { m_anotherInstance = running; }

    bool IsExpanded() const { return m_expanded; }
    bool IsInTray() const { return m_inTray; }
    TrayIcon& Tray() const { return *m_tray; }
    const std::filesystem::path& CurrentProfileFile() const { return m_currentProfileFile; }

    // The height toggle "<<       More       >>".
    void ToggleHeight();
    // Back from the tray: normal state, shown, tray icon removed.
    void Restore();
    // The tray menu's exit item: no restart may follow, then the window closes.
    void ExitFromTray();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetHeight(bool expanded);
    void UpdateTrayExitCaption();

    MainWindowModels m_models;
    bool m_hideToTray;
    bool m_anotherInstance = false;
    bool m_expanded = false;
    bool m_inTray = false;
    std::filesystem::path m_currentProfileFile;
    TrayIcon* m_tray;
    QTabWidget* m_upperTabs;
    QTabWidget* m_lowerTabs;
    QPushButton* m_command1;
    QPushButton* m_cmdMore;
    QPushButton* m_command2;
    ConsolePage* m_consolePage;
    LogsPage* m_logsPage;
};

}  // namespace zembrock
