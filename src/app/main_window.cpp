#include "app/main_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

#include "app/ansi_text.h"
#include "app/app_icon.h"
#include "app/ban_list_window.h"
#include "app/console_page.h"
#include "app/field_bindings.h"
#include "app/logs_page.h"
#include "app/massages_page.h"
#include "app/players_list_page.h"
#include "app/settings_page.h"
#include "app/startup_options_page.h"
#include "app/tray_icon.h"
#include "core/program_folder.h"

namespace zembrock {
namespace {

constexpr const char* kMoreCaption = "<<       More       >>";
constexpr const char* kLessCaption = ">>       Less       <<";
constexpr const char* kExitCaption = "E&xit";
constexpr const char* kExitAndCloseCaption = "E&xit and Close Console";

struct PageName {
    const char* caption;
    const char* objectName;
};

// Upper captions are shown in capitals, padded with blanks to one width.
constexpr int kUpperCaptionWidth = 19;
constexpr std::array<PageName, 4> kUpperPages = {{
    {"Startup options", "pageStartupOptions"},
    {"DSR Editor", "pageDsrEditor"},
    {"Server Status", "pageServerStatus"},
    {"Server List", "pageServerList"},
}};

// Lower captions are padded with two blanks on each side.
constexpr std::array<PageName, 5> kLowerPages = {{
    {"Console", "pageConsole"},
    {"Players List", "pagePlayersList"},
    {"Massages", "pageMassages"},
    {"Logs", "pageLogs"},
    {"Settings", "pageSettings"},
}};

QWidget* EmptyPage(const char* objectName, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QLatin1String(objectName));
    return page;
}

}  // namespace

MainWindow::MainWindow(const MainWindowModels& models, bool hideToTray, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_models(models),
      m_hideToTray(hideToTray),
      m_tray(new TrayIcon(this)),
      m_upperTabs(new QTabWidget(this)),
      m_lowerTabs(new QTabWidget(this)),
      m_command1(MakeButton("Start (LAN/Online)", "Command1", this)),
      m_cmdMore(MakeButton(kMoreCaption, "cmdMore", this)),
      m_command2(MakeButton(kStartServerCaption, "Command2", this)),
      m_startupOptionsPage(
          new StartupOptionsPage(models.fields, models.profiles, models.mapLists, models.dialogs, this)),
      m_consolePage(new ConsolePage(
          ConsolePage::Models{models.console, models.supervisor, models.colourChooser, models.consoleColours,
                              models.fields,
                              [&profiles = models.profiles] { return profiles.CurrentProfileFile(); }},
          this)),
      m_playersListPage(new PlayersListPage(
          PlayersListPage::Models{models.fields, models.playerTable, models.console, models.dialogs,
                                  models.clock, models.pump, [this] { OpenBanList(); }},
          this)),
      m_massagesPage(new MassagesPage(models.messages, models.rotation, models.dialogs, this)),
      m_logsPage(new LogsPage(models.log, models.fields, models.playerLog, this)),
      m_settingsPage(new SettingsPage(
          models.fields, models.session, models.processes, models.log,
          [&supervisor = models.supervisor] { return supervisor.ConsoleProcessId(); }, this)) {
    setObjectName(QStringLiteral("form1"));
    setWindowIcon(AppIcon());
    m_upperTabs->setObjectName(QStringLiteral("tabsUpper"));
    m_lowerTabs->setObjectName(QStringLiteral("tabsLower"));
    m_startupOptionsPage->setObjectName(QLatin1String(kUpperPages[0].objectName));
    m_consolePage->setObjectName(QLatin1String(kLowerPages[0].objectName));
    m_playersListPage->setObjectName(QLatin1String(kLowerPages[1].objectName));
    m_massagesPage->setObjectName(QLatin1String(kLowerPages[2].objectName));
    m_logsPage->setObjectName(QLatin1String(kLowerPages[3].objectName));
    m_settingsPage->setObjectName(QLatin1String(kLowerPages[4].objectName));
    models.log.SetObserver(m_logsPage);

    m_upperTabs->addTab(m_startupOptionsPage, QString());
    for (std::size_t i = 1; i < kUpperPages.size(); ++i) {
        m_upperTabs->addTab(EmptyPage(kUpperPages.at(i).objectName, m_upperTabs), QString());
    }
    m_lowerTabs->addTab(m_consolePage, QString());
    m_lowerTabs->addTab(m_playersListPage, QString());
    m_lowerTabs->addTab(m_massagesPage, QString());
    m_lowerTabs->addTab(m_logsPage, QString());
    m_lowerTabs->addTab(m_settingsPage, QString());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addStretch();
    buttons->addWidget(m_cmdMore);
    buttons->addStretch();
    buttons->addWidget(m_command2);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_upperTabs->setFixedHeight(kUpperTabsHeight);
    layout->addWidget(m_upperTabs);
    layout->addLayout(buttons);
    layout->addWidget(m_lowerTabs, 1);
    layout->addStretch();
    setCentralWidget(central);

    connect(m_cmdMore, &QPushButton::clicked, this, &MainWindow::ToggleHeight);
    connect(m_command2, &QPushButton::clicked, this, [this] { m_models.supervisor.StartStopAction(); });
    connect(m_startupOptionsPage, &StartupOptionsPage::profileLoaded, this, &MainWindow::RenderPages);
    connect(m_tray, &TrayIcon::restoreRequested, this, &MainWindow::Restore);
    connect(m_tray, &TrayIcon::exitRequested, this, &MainWindow::ExitFromTray);
    connect(m_tray, &TrayIcon::menuAboutToShow, this, &MainWindow::UpdateTrayExitCaption);
    SetHeight(false);
}

MainWindow::~MainWindow() {
    m_models.log.SetObserver(nullptr);
}

void MainWindow::SetWindowTitle(const std::string& title) {
    setWindowTitle(FromAnsi(title));
}

void MainWindow::SetUpTray() {
    m_tray->SetUp(windowTitle(), FromAnsi(m_models.display.trayBalloonText));
}

void MainWindow::SetTabCaptions() {
    for (std::size_t i = 0; i < kUpperPages.size(); ++i) {
        m_upperTabs->setTabText(
            static_cast<int>(i),
            QString(QLatin1String(kUpperPages.at(i).caption)).toUpper().leftJustified(kUpperCaptionWidth));
    }
    for (std::size_t i = 0; i < kLowerPages.size(); ++i) {
        m_lowerTabs->setTabText(
            static_cast<int>(i),
            QStringLiteral("  ") + QLatin1String(kLowerPages.at(i).caption) + QStringLiteral("  "));
    }
    m_upperTabs->setCurrentIndex(0);
    m_lowerTabs->setCurrentIndex(0);
}

void MainWindow::SetCompactHeight() {
    SetHeight(false);
}

void MainWindow::ShowLowerPage(const QString& objectName) {
    if (auto* page = m_lowerTabs->findChild<QWidget*>(objectName)) {
        m_lowerTabs->setCurrentWidget(page);
    }
}

void MainWindow::OpenBanList() {
    auto* window = new BanListWindow(BanFilePath(ProgramFolder()), m_models.dialogs, this);
    window->move(geometry().center() - window->rect().center());
    window->show();
}

void MainWindow::RenderSupervision() {
    m_command2->setText(FromAnsi(m_models.display.startStopCaption));
    m_tray->SetTooltip(FromAnsi(m_models.display.trayTooltip));
    m_tray->SetBalloonText(FromAnsi(m_models.display.trayBalloonText));
}

void MainWindow::RenderMirror() {
    m_consolePage->RenderMirror();
}

void MainWindow::RenderRotation() {
    m_massagesPage->RenderRotation();
}

void MainWindow::RenderPages() {
    RenderSupervision();
    m_startupOptionsPage->Render();
    m_consolePage->Render();
    m_playersListPage->Render();
    m_massagesPage->Render();
    m_logsPage->Render();
    m_settingsPage->Render();
}

void MainWindow::MinimiseToTray() {
    if (m_hideToTray) {
        hide();
        m_inTray = true;
        m_tray->Show();
    } else {
        showMinimized();
    }
}

void MainWindow::ToggleHeight() {
    SetHeight(!m_expanded);
}

void MainWindow::SetHeight(bool expanded) {
    m_expanded = expanded;
    m_lowerTabs->setVisible(expanded);
    m_cmdMore->setText(QLatin1String(expanded ? kLessCaption : kMoreCaption));
    setFixedSize(kWidth, expanded ? kExpandedHeight : kCompactHeight);
}

void MainWindow::Restore() {
    m_inTray = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    m_tray->Hide();
}

void MainWindow::UpdateTrayExitCaption() {
    const bool serverRunning = m_command2->text() == QLatin1String(kStopServerCaption);
    m_tray->SetExitCaption(QLatin1String(serverRunning ? kExitAndCloseCaption : kExitCaption));
}

void MainWindow::ExitFromTray() {
    m_models.session.stoppedByUser = true;
    m_models.supervisor.StopWatchdog();
    close();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_hideToTray && !m_inTray) {
        // Hidden once the state change is complete: a window hidden inside its own state change
        // is shown again by the code that minimised it.
        QMetaObject::invokeMethod(this, &MainWindow::MinimiseToTray, Qt::QueuedConnection);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_models.session.captured) {
        m_models.session.stoppedByUser = true;
        m_models.supervisor.TerminateServer(m_models.session.consoleWindow);
    }
    m_models.profiles.SaveProfile();
    m_tray->Hide();
    event->accept();
}

}  // namespace zembrock
