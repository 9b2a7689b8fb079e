// Player administration against the real stand-in server: its "status" table read through the
// real console, players removed by number, and its ban file opened in the ban list editor.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ban_list_editor.h"
#include "console/player_actions.h"
#include "console/status_parser.h"
#include "core/program_folder.h"
#include "support/standin_fixture.h"

namespace zembrock {
namespace {

// A captured stand-in server with its default four players.
class PlayerAdminTest : public test::StandinFixture {
protected:
    void SetUp() override {
        StandinFixture::SetUp();
        StartAndCapture();
    }

    std::vector<std::string> Players() {
        m_table.Refresh(m_server->console, m_server->clock, *m_server->pump);
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

    PlayerTable m_table;
};

TEST_F(PlayerAdminTest, RefreshShowsThePlayersAndKickByNumberRemovesOne) {
    EXPECT_EQ(Players(), (std::vector<std::string>{"Kowalski", "^1RedBaron^7", "xX_Sn1per_Xx", "Lena"}));
    const PlayerRow* lena = RowOf("Lena");
    ASSERT_NE(lena, nullptr);
    EXPECT_EQ(lena->address, "198.51.100.7:1024 ");
    EXPECT_EQ(lena->rate, "8000");

    RunPlayerAction(PlayerAction::KickClient, lena, {"300", "camping", false}, m_server->console, m_dialogs);
    EXPECT_EQ(Players(), (std::vector<std::string>{"Kowalski", "^1RedBaron^7", "xX_Sn1per_Xx"}));
    EXPECT_THAT(m_server->console.MirrorText(), testing::HasSubstr("Lena^7 was kicked (camping)"));
}

TEST_F(PlayerAdminTest, BanByNumberLandsInTheBanListEditor) {
    ASSERT_EQ(Players().size(), 4U);
    RunPlayerAction(PlayerAction::BanClient, RowOf("xX_Sn1per_Xx"), {}, m_server->console, m_dialogs);
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
        SetStandinOptions(R"(--add-player "Evil\";quit")");
        PlayerAdminTest::SetUp();
    }
};

TEST_F(UnsafeNameTest, ByNameActionsAreRefusedAndTheServerKeepsRunning) {
    ASSERT_EQ(Players().size(), 5U);
    const PlayerRow* evil = RowOf("Evil\";quit");
    ASSERT_NE(evil, nullptr);
    for (const PlayerAction action : {PlayerAction::Kick, PlayerAction::Ban, PlayerAction::TempBan}) {
        EXPECT_TRUE(RunPlayerAction(action, evil, {}, m_server->console, m_dialogs).empty());
    }
    ASSERT_EQ(m_dialogs.messages.size(), 3U);
    EXPECT_THAT(m_dialogs.messages[0].text, testing::HasSubstr("KickClientbyID"));
    EXPECT_EQ(Players().size(), 5U);
    EXPECT_THAT(m_server->console.MirrorText(), testing::Not(testing::HasSubstr("]kick")));
    EXPECT_TRUE(m_server->supervisor.ServerResponds());

    // The number still reaches him.
    RunPlayerAction(PlayerAction::KickClient, RowOf("Evil\";quit"), {"300", "", true}, m_server->console,
                    m_dialogs);
    EXPECT_EQ(Players().size(), 4U);
}

}  // namespace
}  // namespace zembrock
