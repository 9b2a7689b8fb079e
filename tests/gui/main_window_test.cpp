#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <memory>

#include "app/application.h"
#include "app/colour_swatch.h"
#include "app/qt_ports.h"
#include "app/tray_icon.h"
#include "core/ini_file.h"
#include "core/program_folder.h"
#include "core/window_title.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_processes.h"
#include "support/fake_window_system.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

class NothingStored final : public UserSettings {
public:
    std::string Read(const std::string& /*application*/, const std::string& /*section*/,
                     const std::string& /*key*/) override {
        return {};
    }
};

class FixedInstanceLock final : public InstanceLock {
public:
    explicit FixedInstanceLock(bool another) : m_another(another) {}
    bool AnotherInstanceRunning() const override { return m_another; }

private:
    bool m_another;
};

// The whole program on the offscreen platform, in a fresh program folder, with scripted dialogs.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { SetProgramFolder(m_folder.Path()); }

    StartupOutcome Start(std::string_view arguments = "", bool anotherInstance = false) {
        ApplicationPorts ports;
        ports.clock = std::make_unique<test::FakeClock>();
        ports.pump = std::make_unique<QtEventPump>();
        auto dialogs = std::make_unique<test::FakeDialogs>();
        m_dialogs = dialogs.get();
        ports.dialogs = std::move(dialogs);
        ports.userSettings = std::make_unique<NothingStored>();
        ports.instanceLock = std::make_unique<FixedInstanceLock>(anotherInstance);
        auto processes = std::make_unique<test::FakeProcesses>();
        m_processes = processes.get();
        ports.processes = std::move(processes);
        auto windows = std::make_unique<test::FakeWindowSystem>();
        m_windows = windows.get();
        ports.windows = std::move(windows);
        ports.localAddress = "192.168.1.20";
        ports.hideToTray = true;
        m_app = std::make_unique<Application>(std::move(ports));
        return m_app->Start(arguments);
    }

    MainWindow& Window() { return m_app->Window(); }

    template <typename Widget>
    Widget* Find(const char* objectName) {
        auto* widget = Window().findChild<Widget*>(QLatin1String(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }

    QStringList LogLines() { return Find<QTextEdit>("richLogBox")->toPlainText().split(QLatin1Char('\n')); }

    test::TempFolder m_folder;
    test::FakeDialogs* m_dialogs = nullptr;
    test::FakeProcesses* m_processes = nullptr;
    test::FakeWindowSystem* m_windows = nullptr;
    std::unique_ptr<Application> m_app;
};

TEST_F(MainWindowTest, StartsCompactWithTitleCaptionsAndButtons) {
    ASSERT_EQ(Start(), StartupOutcome::Running);

    EXPECT_EQ(Window().objectName(), QStringLiteral("form1"));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Zembrock - Server Launcher/Editor v1.0.0"));
    EXPECT_TRUE(Window().isVisible());

    auto* upper = Find<QTabWidget>("tabsUpper");
    const QStringList upperCaptions = {
        QStringLiteral("STARTUP OPTIONS    "), QStringLiteral("DSR EDITOR         "),
        QStringLiteral("SERVER STATUS      "), QStringLiteral("SERVER LIST        ")};
    ASSERT_EQ(upper->count(), upperCaptions.size());
    for (int i = 0; i < upper->count(); ++i) {
        EXPECT_EQ(upper->tabText(i), upperCaptions.at(i));
    }
    auto* lower = Find<QTabWidget>("tabsLower");
    const QStringList lowerCaptions = {QStringLiteral("  Console  "), QStringLiteral("  Players List  "),
                                       QStringLiteral("  Massages  "), QStringLiteral("  Logs  "),
                                       QStringLiteral("  Settings  ")};
    ASSERT_EQ(lower->count(), lowerCaptions.size());
    for (int i = 0; i < lower->count(); ++i) {
        EXPECT_EQ(lower->tabText(i), lowerCaptions.at(i));
    }
    EXPECT_EQ(upper->currentIndex(), 0);
    EXPECT_EQ(lower->currentIndex(), 0);
    for (const char* page : {"pageStartupOptions", "pageDsrEditor", "pageServerStatus", "pageServerList",
                             "pageConsole", "pagePlayersList", "pageMassages", "pageLogs", "pageSettings"}) {
        Find<QWidget>(page);
    }

    EXPECT_EQ(Find<QPushButton>("Command1")->text(), QStringLiteral("Start (LAN/Online)"));
    EXPECT_EQ(Find<QPushButton>("cmdMore")->text(), QStringLiteral("<<       More       >>"));
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), QStringLiteral("Start Dedicated Server"));
    EXPECT_FALSE(Window().IsExpanded());
    EXPECT_FALSE(lower->isVisible());
    EXPECT_EQ(Window().height(), MainWindow::kCompactHeight);
    EXPECT_FALSE(Window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowTest, FirstLogLineIsProgramStartedInBlue) {
    Start();
    auto* log = Find<QTextEdit>("richLogBox");
    const QTextBlock first = log->document()->firstBlock();
    ASSERT_TRUE(first.text().startsWith(QStringLiteral("> ")));
    ASSERT_TRUE(first.text().endsWith(QStringLiteral(": Program Started.")));

    // The prefix is small and black, the message larger and blue (0xFF0000 is blue in 0x00BBGGRR).
    std::vector<QTextCharFormat> formats;
    for (auto fragment = first.begin(); !fragment.atEnd(); ++fragment) {
        formats.push_back(fragment.fragment().charFormat());
    }
    ASSERT_EQ(formats.size(), 2U);
    EXPECT_EQ(formats[0].foreground().color(), QColor(Qt::black));
    EXPECT_EQ(formats[1].foreground().color(), QColor(0, 0, 255));
    EXPECT_LT(formats[0].fontPointSize(), formats[1].fontPointSize());
}

TEST_F(MainWindowTest, HeightToggleSwitchesHeightCaptionAndLowerTabs) {
    Start();
    auto* toggle = Find<QPushButton>("cmdMore");
    auto* lower = Find<QTabWidget>("tabsLower");

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(Window().IsExpanded());
    EXPECT_EQ(toggle->text(), QStringLiteral(">>       Less       <<"));
    EXPECT_EQ(Window().height(), MainWindow::kExpandedHeight);
    EXPECT_TRUE(lower->isVisible());

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(Window().IsExpanded());
    EXPECT_EQ(toggle->text(), QStringLiteral("<<       More       >>"));
    EXPECT_EQ(Window().height(), MainWindow::kCompactHeight);
    EXPECT_FALSE(lower->isVisible());
}

TEST_F(MainWindowTest, MinimiseHidesToTrayAndRestoreBringsItBackWithItsHeight) {
    Start();
    Window().ToggleHeight();
    EXPECT_FALSE(Window().Tray().IsShown());

    Window().showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Window().isHidden());
    EXPECT_TRUE(Window().Tray().IsShown());
    EXPECT_EQ(Window().Tray().Icon()->toolTip(), Window().windowTitle());
    EXPECT_EQ(Window().Tray().BalloonText(), QStringLiteral("Programs is minimized Click to restore."));

    Window().Tray().Menu()->findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(Window().isMinimized());
    EXPECT_FALSE(Window().Tray().IsShown());
    EXPECT_TRUE(Window().IsExpanded());
}

TEST_F(MainWindowTest, TrayExitCaptionFollowsTheServerButton) {
    Start();
    QMenu* menu = Window().Tray().Menu();
    auto* startStop = Find<QPushButton>("Command2");
    struct Case {
        const char* button;
        const char* exitCaption;
    };
    for (const Case& row : {Case{"Stop Dedicated Server", "E&xit and Close Console"},
                            Case{"Start Dedicated Server", "E&xit"}}) {
        startStop->setText(QLatin1String(row.button));
        emit menu->aboutToShow();
        EXPECT_EQ(Window().Tray().ExitCaption(), QLatin1String(row.exitCaption)) << row.button;
    }
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("R&estore"));
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->objectName(), QStringLiteral("mnuExit"));
}

TEST_F(MainWindowTest, TrayExitClosesWithoutRestart) {
    Start();
    Window().MinimiseToTray();
    Window().Tray().Menu()->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_TRUE(m_app->Session().stoppedByUser);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(Window().Tray().IsShown());
}

TEST_F(MainWindowTest, AutostartArgumentLogsAndGoesToTheTray) {
    Start(R"(-profile "B" -autostart)");
    EXPECT_TRUE(Window().IsInTray());
    EXPECT_TRUE(Window().isHidden());
    EXPECT_TRUE(Window().Tray().IsShown());
    EXPECT_EQ(m_app->ProfileStore().CurrentProfileFile(), m_folder.Path() / "B.tslpf");

    // In this order, among the lines of the other steps.
    const QStringList expected = {QStringLiteral(": Program Started."),
                                  QStringLiteral(": Loading \"default\" profile."),
                                  QStringLiteral(": Finish loading profile."),
                                  QStringLiteral(": Loading \"B\" profile from commandline."),
                                  QStringLiteral(": Autostart command executed.")};
    const QStringList lines = LogLines();
    qsizetype next = 0;
    for (const QString& line : lines) {
        if (next < expected.size() && line.endsWith(expected.at(next))) {
            ++next;
        }
    }
    EXPECT_EQ(next, expected.size()) << lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowTest, DecliningASecondInstanceEndsBeforeAnythingIsLogged) {
    EXPECT_EQ(Start("-autostart", true), StartupOutcome::Declined);
    ASSERT_EQ(m_dialogs->questions.size(), 1U);
    EXPECT_EQ(m_dialogs->questions[0].title, "Multi-instaces detected.");
    EXPECT_TRUE(m_app->Log().Entries().empty());
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MainWindowTest, CheckingFileLoggingWritesTheScreenToTheLogFile) {
    Start();
    m_app->Log().LogSystemMessage("Second line.", kLogFailure);
    // The first profile's limit (its default, as no profile file exists) replaced the initial 500.
    auto* limit = Find<QLineEdit>("txtmaxLog");
    EXPECT_EQ(limit->text(), QStringLiteral("200"));
    QTest::keyClicks(limit, QStringLiteral("0"));
    EXPECT_EQ(m_app->Log().LimitText(), "2000");

    auto* box = Find<QCheckBox>("chkLogSystem");
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(box->isEnabled());
    const std::string file = test::ReadFile(m_folder.Path() / "systemlog.txt");
    EXPECT_EQ(file, m_app->Log().ScreenText() + "\r\n");
    EXPECT_NE(file.find(": Program Started.\r\n"), std::string::npos);
    EXPECT_NE(file.find(": Second line.\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, SwatchClickColoursTheMirrorAndWritesTheProfile) {
    Start();
    auto* background = Find<ColourSwatch>("lblColor_0");
    auto* mirror = Find<QPlainTextEdit>("Text1");
    const std::filesystem::path profile = m_folder.Path() / "default.tslpf";

    QTest::mouseClick(background, Qt::LeftButton);  // cancelled
    EXPECT_EQ(background->CurrentColour(), ConsoleColours::kDefaultBackground);
    EXPECT_FALSE(std::filesystem::exists(profile));

    m_dialogs->colourAnswer = 0x0000FFU;  // red
    QTest::mouseClick(background, Qt::LeftButton);
    EXPECT_EQ(background->CurrentColour(), 0x0000FFU);
    EXPECT_EQ(mirror->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(ReadIniKey("console", "backcolor", profile, ""), "255");

    m_dialogs->colourAnswer = 0x00FF00U;
    QTest::mouseClick(Find<ColourSwatch>("lblColor_1"), Qt::LeftButton);
    EXPECT_EQ(mirror->palette().color(QPalette::Text), QColor(0, 255, 0));
    EXPECT_EQ(ReadIniKey("console", "fontcolor", profile, ""), "65280");
    ASSERT_EQ(m_dialogs->colourRequests.size(), 3U);
    EXPECT_EQ(m_dialogs->colourRequests[2].initial, ConsoleColours::kDefaultFont);
    EXPECT_TRUE(m_dialogs->colourRequests[2].fullOpen);
}

// The startup page on a copy of the fixture game folder.
class StartupPageTest : public MainWindowTest {
protected:
    void SetUp() override {
        std::filesystem::copy(std::filesystem::path(ZEMBROCK_FIXTURES_DIR) / "game", m_folder.Path(),
                              std::filesystem::copy_options::recursive);
        MainWindowTest::SetUp();
    }
};

TEST_F(StartupPageTest, FirstRunShowsDefaultProfileWithDefaults) {
    Start();
    auto* profiles = Find<QComboBox>("cmbProfiles");
    ASSERT_EQ(profiles->count(), 1);
    EXPECT_EQ(profiles->currentText(), QStringLiteral("default"));
    EXPECT_EQ(Find<QLineEdit>("txtHostname")->text(), QStringLiteral("My Server Name"));
    EXPECT_EQ(Find<QLineEdit>("txtServerPort")->text(), QStringLiteral("27016"));
    EXPECT_EQ(Find<QLineEdit>("txtPrivatePassword")->text(), QStringLiteral("lumbert"));
    EXPECT_EQ(Find<QComboBox>("cmbServerVisibility")->currentText(), QStringLiteral("Internet"));
    EXPECT_EQ(Find<QLineEdit>("txtTempBanTime")->text(), QStringLiteral("300"));
    EXPECT_TRUE(Find<QCheckBox>("chkStartHidden")->isChecked());
    // The fixture's interface list, with its stored interface selected.
    EXPECT_EQ(Find<QComboBox>("cmbNetworkInterface")->currentText(),
              QString::fromStdString(m_app->Fields().networkInterface.entries.at(0)));
    EXPECT_EQ(Find<QComboBox>("cmbConfigFile")->currentText(), QStringLiteral("dedicated.cfg"));

    const QStringList lines = LogLines();
    const QStringList expected = {QStringLiteral(": Loading \"default\" profile."),
                                  QStringLiteral(": Profile doesn't exist, loading defaults."),
                                  QStringLiteral(": Finish loading profile.")};
    qsizetype next = 0;
    for (const QString& line : lines) {
        if (next < expected.size() && line.endsWith(expected.at(next))) {
            ++next;
        }
    }
    EXPECT_EQ(next, expected.size()) << lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(StartupPageTest, SaveAsCreatesTheFileAndReloadsTheFirstProfile) {
    test::WriteFile(m_folder.Path() / "alpha.tslpf", "[server]\r\nHOSTNAME=Alpha host\r\n");
    Start();
    EXPECT_EQ(Find<QLineEdit>("txtHostname")->text(), QStringLiteral("Alpha host"));

    QTest::keyClicks(Find<QLineEdit>("txtMaxClients"), QStringLiteral("4"));  // 18 -> 184
    m_dialogs->textAnswer = "zulu";
    QTest::mouseClick(Find<QPushButton>("cmdSaveasProfile"), Qt::LeftButton);

    EXPECT_EQ(ReadIniKey("server", "MaxClients", m_folder.Path() / "zulu.tslpf", ""), "184");
    auto* profiles = Find<QComboBox>("cmbProfiles");
    ASSERT_EQ(profiles->count(), 2);
    EXPECT_EQ(profiles->currentText(), QStringLiteral("alpha"));
    EXPECT_EQ(Find<QLineEdit>("txtMaxClients")->text(), QStringLiteral("18"));
    EXPECT_TRUE(LogLines().filter(QStringLiteral("New profile created: zulu")).size() == 1);
}

TEST_F(StartupPageTest, ClosingSavesTypedChangesAndTheyComeBackNextRun) {
    Start();
    auto* host = Find<QLineEdit>("txtHostname");
    host->clear();
    QTest::keyClicks(host, QStringLiteral("Night Ops"));
    Find<QComboBox>("cmbServerVisibility")->setCurrentIndex(0);
    emit Find<QComboBox>("cmbServerVisibility")->activated(0);
    Window().close();

    const std::filesystem::path profile = m_folder.Path() / "default.tslpf";
    EXPECT_EQ(ReadIniKey("server", "HostName", profile, ""), "Night Ops");
    EXPECT_EQ(ReadIniKey("server", "ServerVisibility", profile, ""), "1");

    Start();
    EXPECT_EQ(Find<QLineEdit>("txtHostname")->text(), QStringLiteral("Night Ops"));
    EXPECT_EQ(Find<QComboBox>("cmbServerVisibility")->currentText(), QStringLiteral("LAN"));
}

TEST_F(StartupPageTest, SupervisedServerShowsInTheWindowAndClosingEndsIt) {
    test::WriteFile(m_folder.Path() / "Zembrock_dedicated.exe", "stand-in");
    constexpr std::uint32_t kServerPid = 4242;
    test::FakeWindowSystem::ServerConsole console;
    Start();
    m_processes->onCreate = [&](const ProcessLaunch& /*launch*/) {
        console = m_windows->AddServerConsole(kServerPid);
    };
    m_processes->onTerminate = [&](std::uint32_t /*processId*/) { m_windows->RemoveWindow(console.console); };

    auto* startStop = Find<QPushButton>("Command2");
    QTest::mouseClick(startStop, Qt::LeftButton);
    EXPECT_EQ(startStop->text(), QStringLiteral("Stop Dedicated Server"));
    EXPECT_TRUE(m_app->WatchdogTimer().Active());
    m_app->Supervisor().Tick();
    ASSERT_TRUE(m_app->Session().captured);

    // The tray tells which server is watched, and its exit item says it closes the console.
    const QString tag = QString::fromStdString(m_app->Session().consoleTitle);
    EXPECT_TRUE(Window().Tray().Icon()->toolTip().endsWith(tag));
    EXPECT_TRUE(Window().Tray().BalloonText().startsWith(tag));
    emit Window().Tray().Menu()->aboutToShow();
    EXPECT_EQ(Window().Tray().ExitCaption(), QStringLiteral("E&xit and Close Console"));

    // The console page mirrors what the server wrote.
    m_windows->Find(console.output)->text = "]status\r\nmap: mp_dome\r\n";
    Find<QPushButton>("cmdRefreshConsole")->click();
    EXPECT_EQ(Find<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("]status\nmap: mp_dome\n"));

    Window().close();
    EXPECT_EQ(m_processes->terminated, std::vector<std::uint32_t>{kServerPid});
    EXPECT_TRUE(m_app->Session().stoppedByUser);
}

TEST_F(StartupPageTest, CaptureStartsTheMessageRotationAndACrashStopsIt) {
    test::WriteFile(m_folder.Path() / "Zembrock_dedicated.exe", "stand-in");
    test::WriteFile(m_folder.Path() / "DravikMassages.ini", "[Welcome]\r\n1=^1Hello|5\r\n2=Visit us|10\r\n");
    test::FakeWindowSystem::ServerConsole console;
    Start();
    m_processes->onCreate = [&](const ProcessLaunch& /*launch*/) {
        console = m_windows->AddServerConsole(4242);
    };
    auto* start = Find<QPushButton>("cmdStartMsgs");
    auto* stop = Find<QPushButton>("cmdStopMsgs");
    ASSERT_TRUE(start->isEnabled());
    ASSERT_FALSE(stop->isEnabled());

    QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
    m_app->Supervisor().Tick();
    ASSERT_TRUE(m_app->Session().captured);
    // "Autostart messages with server." is ticked in a new profile.
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("cmdAddNewmsg")->isEnabled());

    m_windows->RemoveWindow(console.console);
    m_app->Supervisor().Tick();
    EXPECT_FALSE(m_app->Session().captured);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("cmdAddNewmsg")->isEnabled());
}

}  // namespace
}  // namespace zembrock
