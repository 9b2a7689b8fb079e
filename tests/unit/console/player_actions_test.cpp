#include "console/player_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/console_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_window_system.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;
using Commands = std::vector<std::string>;

// A table row with only the texts the actions read.
PlayerRow Selected(const std::string& id, const std::string& player) {
    PlayerRow row;
    row.id = id;
    row.player = player;
    return row;
}

struct CommandCase {
    const char* name;
    PlayerAction action;
    Commands withReason;  // time "300", reason "camping"
    Commands noReason;    // time "" (the field emptied), "No Reason" ticked
};

class PlayerActionCommandsTest : public testing::TestWithParam<CommandCase> {};

TEST_P(PlayerActionCommandsTest, EachActionSendsItsCommandPair) {
    const PlayerRow row = Selected("3", "^1RedBaron^7");
    EXPECT_EQ(PlayerActionCommands(GetParam().action, row, {"300", "camping", false}), GetParam().withReason);
    EXPECT_EQ(PlayerActionCommands(GetParam().action, row, {"", "camping", true}), GetParam().noReason);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, PlayerActionCommandsTest,
    testing::Values(CommandCase{"Kick",
                                PlayerAction::Kick,
                                {"sv_kickBanTime 300", "kick \"^1RedBaron^7\" camping"},
                                {"sv_kickBanTime ", "kick \"^1RedBaron^7\""}},
                    CommandCase{"KickClient",
                                PlayerAction::KickClient,
                                {"sv_kickBanTime 300", "kickclient 3 camping"},
                                {"sv_kickBanTime ", "kickclient 3"}},
                    CommandCase{"Ban", PlayerAction::Ban, {"ban \"^1RedBaron^7\""}, {"ban \"^1RedBaron^7\""}},
                    CommandCase{"BanClient", PlayerAction::BanClient, {"banclient 3"}, {"banclient 3"}},
                    CommandCase{"DumpUser",
                                PlayerAction::DumpUser,
                                {"dumpuser \"^1RedBaron^7\""},
                                {"dumpuser \"^1RedBaron^7\""}},
                    CommandCase{"TempBan",
                                PlayerAction::TempBan,
                                {"sv_kickBanTime 300", "tempBan \"^1RedBaron^7\" camping"},
                                {"sv_kickBanTime ", "tempBan \"^1RedBaron^7\""}},
                    CommandCase{"TempBanClient",
                                PlayerAction::TempBanClient,
                                {"sv_kickBanTime 300", "tempbanclient 3 camping"},
                                {"sv_kickBanTime ", "tempbanclient 3"}},
                    CommandCase{"KickAll", PlayerAction::KickAll, {"kick all"}, {"kick all"}}),
    [](const testing::TestParamInfo<CommandCase>& row) { return std::string(row.param.name); });

TEST(PlayerActionReasonTest, EmptyReasonLeavesOneBlank) {
    const PlayerRow row = Selected("12", "Lena");
    EXPECT_EQ(PlayerActionCommands(PlayerAction::KickClient, row, {"60", "", false}).back(),
              "kickclient 12 ");
    EXPECT_EQ(ReasonSuffix({"60", "team killing", false}), " team killing");
}

TEST(PlayerMenuTest, OpensOnlyOnRightClickOverRowsWithTheRowsCaptions) {
    EXPECT_TRUE(ShouldOpenPlayerMenu(true, 1));
    EXPECT_FALSE(ShouldOpenPlayerMenu(true, 0));
    EXPECT_FALSE(ShouldOpenPlayerMenu(false, 4));
    const PlayerMenuCaptions captions = MenuCaptionsFor(Selected("3", "Kowalski"));
    EXPECT_EQ(captions.title, "Kowalski");
    EXPECT_EQ(captions.kickClient, "(3) KickClientbyID");
    EXPECT_EQ(captions.banClient, "(3) BanClientbyID");
    EXPECT_EQ(captions.tempBanClient, "(3) TempBanClientbyID");
}

// Actions run against a fake console that records every line typed into it.
class RunPlayerActionTest : public test::ConsoleFixture {
protected:
    RunPlayerActionTest() {
        m_windows.onEnter = [this](WindowHandle, const std::string& line) { m_typed.push_back(line); };
    }

    test::FakeDialogs m_dialogs;
    Commands m_typed;
};

TEST_F(RunPlayerActionTest, SendsAndReturnsTheCommandsInOrder) {
    const PlayerRow row = Selected("1", "Lena");
    const Commands sent =
        RunPlayerAction(PlayerAction::TempBan, &row, {"300", "", true}, m_bridge, m_dialogs);
    EXPECT_EQ(sent, (Commands{"sv_kickBanTime 300", "tempBan \"Lena\""}));
    EXPECT_EQ(m_typed, sent);
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(RunPlayerActionTest, WithoutASelectedRowOnlyKickAllRuns) {
    EXPECT_TRUE(RunPlayerAction(PlayerAction::KickClient, nullptr, {}, m_bridge, m_dialogs).empty());
    EXPECT_EQ(RunPlayerAction(PlayerAction::KickAll, nullptr, {}, m_bridge, m_dialogs), Commands{"kick all"});
    EXPECT_EQ(m_typed, Commands{"kick all"});
}

struct UnsafeCase {
    const char* name;
    std::string player;
};

class UnsafeNameTest : public RunPlayerActionTest, public testing::WithParamInterface<UnsafeCase> {};

TEST_P(UnsafeNameTest, ByNameActionsAreRefusedAndByNumberStillWorks) {
    const PlayerRow row = Selected("7", GetParam().player);
    EXPECT_FALSE(IsSafeQuotedName(row.player));
    for (const PlayerAction action :
         {PlayerAction::Kick, PlayerAction::Ban, PlayerAction::TempBan, PlayerAction::DumpUser}) {
        EXPECT_TRUE(RunPlayerAction(action, &row, {"300", "x", false}, m_bridge, m_dialogs).empty());
    }
    EXPECT_TRUE(m_typed.empty());
    ASSERT_EQ(m_dialogs.messages.size(), 4U);
    EXPECT_EQ(m_dialogs.messages[0].title, kUnsafeNameTitle);
    EXPECT_THAT(m_dialogs.messages[0].text, testing::HasSubstr("\"(7) KickClientbyID\""));
    EXPECT_THAT(m_dialogs.messages[1].text, testing::HasSubstr("\"(7) BanClientbyID\""));
    EXPECT_THAT(m_dialogs.messages[2].text, testing::HasSubstr("\"(7) TempBanClientbyID\""));

    EXPECT_EQ(RunPlayerAction(PlayerAction::KickClient, &row, {"300", "", true}, m_bridge, m_dialogs),
              (Commands{"sv_kickBanTime 300", "kickclient 7"}));
}

INSTANTIATE_TEST_SUITE_P(Names, UnsafeNameTest,
                         testing::Values(UnsafeCase{"Quote", "a\";quit"}, UnsafeCase{"Semicolon", "x;rcon"},
                                         UnsafeCase{"LineBreak", "x\nquit"},
                                         UnsafeCase{"CarriageReturn", "x\r"}, UnsafeCase{"Escape", "\x1b[2J"},
                                         UnsafeCase{"Delete", "x\x7f"}),
                         [](const testing::TestParamInfo<UnsafeCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(SafeNameTest, ColourCodesBracketsAndHighCharactersAreSafe) {
    for (const char* name : {"^1RedBaron^7", "a)b(c)", "[TAG]x", "J\xF6rg", "", "all"}) {
        EXPECT_TRUE(IsSafeQuotedName(name)) << name;
    }
}

}  // namespace
}  // namespace zembrock
