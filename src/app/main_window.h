#pragma once

#include <QMainWindow>

#include "console/player_log.h"
#include "console/status_parser.h"
#include "core/colour_chooser.h"
#include "core/event_log.h"
#include "maps/map_list_editor.h"
#include "messages/message_profiles.h"
#include "messages/message_rotation.h"
#include "platform/dialogs.h"
#include "platform/processes.h"
#include "profiles/profile_fields.h"
#include "profiles/profiles.h"
#include "server/server_session.h"
#include "server/server_supervisor.h"

class QPushButton;
class QTabWidget;

namespace zembrock {

class ConsolePage;
class LogsPage;
class MassagesPage;
class PlayersListPage;
class SettingsPage;
class StartupOptionsPage;
class TrayIcon;

// The models the main window shows and acts on; the composition root owns them.
struct MainWindowModels {
    EventLog& log;
    ServerSession& session;
    ColourChooser& colourChooser;
    ConsoleColours& consoleColours;
    ProfileFields& fields;
    Profiles& profiles;
    MapListEditor& mapLists;
    Dialogs& dialogs;
    Processes& processes;
    ConsoleBridge& console;
    ServerSupervisor& supervisor;
    SupervisionDisplay& display;
    PlayerTable& playerTable;
    PlayerLog& playerLog;
    MessageProfiles& messages;
    MessageRotation& rotation;
    Clock& clock;
    EventPump& pump;
};

// The main window "form1": the upper tab set with the server's and the browser's pages, the
// always-visible buttons, and at the expanded height the lower tab set with the console, the
// players, the messages, the logs and the settings. It composes the pages; each page is its own
// class. Minimised, it hides itself behind the tray icon.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kWidth = 900;
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

    void SetWindowTitle(const std::string& title);
    // The tray icon with its tooltip and balloon; not shown yet.
    void SetUpTray();
    // The captions of both tab sets, each set opened on its first page.
    void SetTabCaptions();
    void SetCompactHeight();
    // Hidden behind the tray icon (minimised as usual where there is no notification area).
    void MinimiseToTray();
    // Opens the page of the lower tab set with this object name.
    void ShowLowerPage(const QString& objectName);
    // Shows every model again, after an operation that may have changed any of them.
    void RenderPages();
    // Shows the supervision's caption and tray texts again.
    void RenderSupervision();
    // Shows the console mirror again.
    void RenderMirror();
    // Shows the message rotation's progress again.
    void RenderRotation();

    bool IsExpanded() const { return m_expanded; }
    bool IsInTray() const { return m_inTray; }
    TrayIcon& Tray() const { return *m_tray; }

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
    // "UnBan": the ban list editor, centred on this window.
    void OpenBanList();
    void UpdateTrayExitCaption();

    MainWindowModels m_models;
    bool m_hideToTray;
    bool m_expanded = false;
    bool m_inTray = false;
    TrayIcon* m_tray;
    QTabWidget* m_upperTabs;
    QTabWidget* m_lowerTabs;
    QPushButton* m_command1;
    QPushButton* m_cmdMore;
    QPushButton* m_command2;
    StartupOptionsPage* m_startupOptionsPage;
    ConsolePage* m_consolePage;
    PlayersListPage* m_playersListPage;
    MassagesPage* m_massagesPage;
    LogsPage* m_logsPage;
    SettingsPage* m_settingsPage;
};

}  // namespace zembrock
