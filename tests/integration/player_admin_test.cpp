// Player administration against the real stand-in server: its "status" table read through the
// real console, players removed by number, and its ban file opened in the ban list editor.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/ban_list_editor.h"
#include "console/console_bridge.h"
#include "console/player_actions.h"
#include "console/status_parser.h"
#include "core/program_folder.h"
#include "maps/map_list_editor.h"
#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/window_system.h"
#include "server/server_supervisor.h"
#include "support/fake_dialogs.h"
#include "support/fake_timer.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;

// Without a window there are no events to serve in a wait.
class NoEvents final : public EventPump {
public:
    void PumpOnce() override {}
};

// A captured stand-in server with its default four players.
class PlayerAdminTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("ZEMBROCK_WINDOWS_DIR", m_windowsFolder.Path().c_str(), 1);
        m_previousFolder = ProgramFolder();
        SetProgramFolder(m_game.Path());
        fs::create_directories(m_game / "players2");
        fs::create_directories(m_game / "main");
        test::WriteFile(m_game / "players2/server.cfg", "set sv_hostname \"Admin\"\r\n");
        test::WriteFile(m_game / "players2/night.dspl", "mp_lambeth,TDM_default,300\r\n");
        fs::create_symlink(ZEMBROCK_STANDIN_SERVER, m_game / kServerExecutable);

        m_windows = SystemWindowSystem();
        m_processes = SystemProcesses();
        m_fields.serverVisibility.Fill({"LAN", "Internet"});
        m_fields.serverVisibility.SelectIndex(0);
        m_fields.configFiles.Fill({"server.cfg"});
        m_fields.configFiles.SelectIndex(0);
        m_fields.networkInterface.Fill({"127.0.0.1", "ANY IP"});
        m_fields.networkInterface.SelectIndex(0);
        m_fields.startHidden = false;
        m_mapLists = std::make_unique<MapListEditor>(m_game.Path());
        m_mapLists->RefreshMapListFiles();
        m_console = std::make_unique<ConsoleBridge>(m_session, *m_windows, m_clock, m_fields.commandHistory);
        m_supervisor = std::make_unique<ServerSupervisor>(
            SupervisorModels{m_session, m_fields, *m_mapLists, m_log, *m_console, m_display},
            SupervisorPorts{*m_windows, *m_processes, m_dialogs, m_clock, m_pump, m_timer}, "Control panel");

        m_supervisor->StartStopAction();
        ASSERT_TRUE(m_timer.Active());
        for (int tick = 0; tick < 10 && !m_session.captured && m_timer.Active(); ++tick) {
            m_clock.SleepMs(m_timer.IntervalMs());
            m_supervisor->Tick();
        }
        ASSERT_TRUE(m_session.captured);
    }

    void TearDown() override {
        for (const WindowHandle window : m_windows->TopLevelWindows()) {
            m_processes->Terminate(m_windows->OwnerProcessId(window));
        }
        SetProgramFolder(m_previousFolder);
        unsetenv("ZEMBROCK_WINDOWS_DIR");
    }

    std::vector<std::string> Players() {
        m_table.Refresh(*m_console, m_clock, m_pump);
        std::vector<std::string> names;
        for (const PlayerRow& row : m_table.Rows()) {
            names.push_back(row.player);
        }
        return names;
    }

    const PlayerRow* RowOf(const std::string& player) const {
        for (const PlayerRow& row : m_table.Rows()) {
            if (row.player == player) {
                return &row;
            }
        }
        return nullptr;
    }

    test::TempFolder m_windowsFolder;
    test::TempFolder m_game;
    fs::path m_previousFolder;
    SystemClock m_clock;
    NoEvents m_pump;
    test::FakeDialogs m_dialogs;
    test::FakeTimer m_timer;
    std::unique_ptr<WindowSystem> m_windows;
    std::unique_ptr<Processes> m_processes;
    ServerSession m_session;
    ProfileFields m_fields;
    std::unique_ptr<MapListEditor> m_mapLists;
    EventLog m_log{m_game / "systemlog.txt", m_clock, m_pump};
    std::unique_ptr<ConsoleBridge> m_console;
    SupervisionDisplay m_display;
    std::unique_ptr<ServerSupervisor> m_supervisor;
    PlayerTable m_table;
};

TEST_F(PlayerAdminTest, RefreshShowsThePlayersAndKickByNumberRemovesOne) {
    EXPECT_EQ(Players(), (std::vector<std::string>{"Kowalski", "^1RedBaron^7", "xX_Sn1per_Xx", "Lena"}));
    const PlayerRow* lena = RowOf("Lena");
    ASSERT_NE(lena, nullptr);
    EXPECT_EQ(lena->address, "198.51.100.7:1024 ");
    EXPECT_EQ(lena->rate, "8000");

    RunPlayerAction(PlayerAction::KickClient, lena, {"300", "camping", false}, *m_console, m_dialogs);
    EXPECT_EQ(Players(), (std::vector<std::string>{"Kowalski", "^1RedBaron^7", "xX_Sn1per_Xx"}));
    EXPECT_THAT(m_console->MirrorText(), testing::HasSubstr("Lena^7 was kicked (camping)"));
}

TEST_F(PlayerAdminTest, BanByNumberLandsInTheBanListEditor) {
    ASSERT_EQ(Players().size(), 4U);
    RunPlayerAction(PlayerAction::BanClient, RowOf("xX_Sn1per_Xx"), {}, *m_console, m_dialogs);
    EXPECT_EQ(Players().size(), 3U);

    BanListEditor editor{BanFilePath(ProgramFolder())};
    editor.Load();
    EXPECT_EQ(editor.StatusText(), kBanListFound);
    const std::optional<TextRange> match = editor.Find("SN1PER");
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(editor.Text().substr(match->start, match->length), "Sn1per");
}

// A player who chose a name that would end the quoted argument and start a command of its own.
class UnsafeNameTest : public PlayerAdminTest {
protected:
    void SetUp() override {
        setenv("ZEMBROCK_STANDIN_OPTIONS", R"(--add-player "Evil\";quit")", 1);
        PlayerAdminTest::SetUp();
    }
    void TearDown() override {
        PlayerAdminTest::TearDown();
        unsetenv("ZEMBROCK_STANDIN_OPTIONS");
    }
};

TEST_F(UnsafeNameTest, ByNameActionsAreRefusedAndTheServerKeepsRunning) {
    ASSERT_EQ(Players().size(), 5U);
    const PlayerRow* evil = RowOf("Evil\";quit");
    ASSERT_NE(evil, nullptr);
    for (const PlayerAction action : {PlayerAction::Kick, PlayerAction::Ban, PlayerAction::TempBan}) {
        EXPECT_TRUE(RunPlayerAction(action, evil, {}, *m_console, m_dialogs).empty());
    }
    ASSERT_EQ(m_dialogs.messages.size(), 3U);
    EXPECT_THAT(m_dialogs.messages[0].text, testing::HasSubstr("KickClientbyID"));
    EXPECT_EQ(Players().size(), 5U);
    EXPECT_THAT(m_console->MirrorText(), testing::Not(testing::HasSubstr("]kick")));
    EXPECT_TRUE(m_supervisor->ServerResponds());

    // The number still reaches him.
    RunPlayerAction(PlayerAction::KickClient, RowOf("Evil\";quit"), {"300", "", true}, *m_console, m_dialogs);
    EXPECT_EQ(Players().size(), 4U);
}

}  // namespace
}  // namespace zembrock
