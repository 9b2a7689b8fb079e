#include "console/status_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/console_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_window_system.h"

namespace zembrock {
namespace {

using test::FakeWindowSystem;

// A field left-padded or cut to its width, the way the server lays out its table.
std::string Fit(const std::string& text, std::size_t width) {
    return text.size() >= width ? text.substr(0, width) : text + std::string(width - text.size(), ' ');
}

// A player line with every column at its position and `tail` after the address.
std::string StatusLine(const std::string& id, const std::string& name, const std::string& address,
                       const std::string& tail) {
    return Fit(id, 3) + " " + Fit("  120", 5) + " " + Fit("  45", 4) + " " +
           Fit("0123456789abcdef0123456789ABCDEF", 32) + " " + Fit(name, 15) + " " + Fit("     50", 7) + " " +
           Fit(address, 21) + tail;
}

struct LineCase {
    const char* name;
    std::string line;
    PlayerRow row;
};

class PlayerLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(PlayerLineTest, ColumnsAreCutByTheirRules) {
    EXPECT_EQ(ParsePlayerLine(GetParam().line), GetParam().row);
}

const std::string kGuid = "0123456789abcdef0123456789ABCDEF";

INSTANTIATE_TEST_SUITE_P(
    Lines, PlayerLineTest,
    testing::Values(
        LineCase{"Ordinary",
                 StatusLine("  3", "Kowalski", "198.51.100.23:28960", " (active) 31244 25000"),
                 {"3", "120", "45", kGuid, "Kowalski", "50", "198.51.100.23:28960 ", "31244 ", "25000"}},
        LineCase{"NameWithBlanksArrivesAsOneWord",
                 StatusLine(" 12", "^1Red Baron^7", "1.2.3.4:1", " (active) 7 8"),
                 {"12", "120", "45", kGuid, "^1RedBaron^7", "50", "1.2.3.4:1 ", "7 ", "8"}},
        // A long name pushes the rest of the line right; only positions 49 to 63 are the name.
        LineCase{"LongNameIsCutToFifteen",
                 Fit("  1", 3) + " " + Fit("  0", 5) + " " + Fit("  9", 4) + " " + kGuid +
                     " AbcdefghijklmnopQRS      50 1.2.3.4:5             (active) 9 10",
                 {"1", "0", "9", kGuid, "Abcdefghijklmno", "QRS", " ", "9 ", "10"}},
        LineCase{"AddressFillingAllTwentyOneIsEmpty",
                 StatusLine("  4", "Lena", "[2001:db8::7]:28960ab", " (active) 812 8000"),
                 {"4", "120", "45", kGuid, "Lena", "50", "", "812 ", "8000"}},
        // Without ")" the tail starts at the line's second character; short lines give what exists.
        LineCase{"NoParenthesisShortLine", "12 345", {"12", "45", "", "", "", "", "", "2 ", "345"}},
        LineCase{"TailWithoutBlankIsAllRate",
                 StatusLine("  5", "x", "1.2.3.4:5", " (zombie) 25000"),
                 {"5", "120", "45", kGuid, "x", "50", "1.2.3.4:5 ", "", "25000"}},
        LineCase{"LastParenthesisCounts",
                 StatusLine("  6", "a)b(c)", "1.2.3.4:5", " (active) 11 22"),
                 {"6", "120", "45", kGuid, "a)b(c)", "50", "1.2.3.4:5 ", "11 ", "22"}},
        LineCase{"ParenthesisEndingTheLine", "  7 (x)", {"7", "(x)", "", "", "", "", "", "", ""}}),
    [](const testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

const std::string kHeader = "map: mp_dome\r\nnum score ping guid name\r\n--- ----- ----\r\n";

TEST(StatusAnswerTest, AnswerIsTheTextAfterTheLastEchoWithoutTheFinalCharacter) {
    EXPECT_EQ(FindStatusAnswer("clear\r\nnothing here\r\n"), std::nullopt);
    EXPECT_EQ(FindStatusAnswer("]status\r\nA\r\n]say hi\r\n]status\r\nB\r\nx"), "\r\nB\r\n");
    EXPECT_EQ(FindStatusAnswer("abc]status"), "");
    EXPECT_EQ(FindStatusAnswer("]statusX"), "");
}

TEST(StatusAnswerTest, OnlyTheLastAnswerIsParsed) {
    const std::string older = StatusLine("  0", "Old", "1.1.1.1:1", " (active) 1 2");
    const std::string newer = StatusLine("  1", "New", "2.2.2.2:2", " (active) 3 4");
    const std::string mirror =
        "]status\r\n" + kHeader + older + "\r\n\r\n]status\r\n" + kHeader + newer + "\r\n\r\n";
    const std::vector<PlayerRow> rows = ParseStatusMirror(mirror);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].player, "New");
}

TEST(StatusAnswerTest, EmptyPiecesAreSkippedAndTheLastPieceIsNeverRead) {
    const std::string a = StatusLine("  0", "Alpha", "1.1.1.1:1", " (active) 1 2");
    const std::string b = StatusLine("  1", "Bravo", "2.2.2.2:2", " (active) 3 4");
    const std::string c = StatusLine("  2", "Charlie", "3.3.3.3:3", " (active) 5 6");
    // The mirror's final character is dropped first, so "c" + "!" leaves c as the last piece.
    const std::vector<PlayerRow> rows =
        ParseStatusMirror("]status\r\n" + kHeader + a + "\r\n\r\n" + b + "\r\n" + c + "!");
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].player, "Alpha");
    EXPECT_EQ(rows[1].player, "Bravo");
    EXPECT_TRUE(ParseStatusMirror("]status\r\nmap: x\r\n").empty());
}

// The table refreshed against a fake console that answers "status" as the server does.
class PlayerTableTest : public test::ConsoleFixture {
protected:
    PlayerTableTest() {
        m_windows.onEnter = [this](WindowHandle, const std::string& line) {
            m_windows.Find(m_console.output)->text +=
                "]" + line + "\r\n" + (line == "status" ? m_answer : "");
        };
    }

    test::FakeEventPump m_pump;
    PlayerTable m_table;
    std::string m_answer;
};

TEST_F(PlayerTableTest, RefreshSendsStatusWaitsAndShowsTheRows) {
    m_answer = kHeader + StatusLine("  2", "Lena", "198.51.100.7:1024", " (active) 812 8000") + "\r\n\r\n";
    m_table.Refresh(m_bridge, m_clock, m_pump);
    ASSERT_EQ(m_table.Rows().size(), 1U);
    EXPECT_EQ(m_table.Rows()[0].id, "2");
    EXPECT_EQ(m_clock.NowMs(), 300U);
    EXPECT_GT(m_pump.passes, 0);
    EXPECT_EQ(m_table.Row(0), m_table.Rows().data());
    EXPECT_EQ(m_table.Row(1), nullptr);
    EXPECT_EQ(m_table.Row(std::nullopt), nullptr);
}

TEST_F(PlayerTableTest, AClearedConsoleEmptiesTheTable) {
    m_answer = kHeader + StatusLine("  2", "Lena", "1.2.3.4:5", " (active) 1 2") + "\r\n\r\n";
    m_table.Refresh(m_bridge, m_clock, m_pump);
    ASSERT_EQ(m_table.Rows().size(), 1U);
    // The console stops echoing: the mirror now holds no "]status".
    m_bridge.Clear();
    m_windows.onEnter = [](WindowHandle, const std::string&) {};
    m_table.Refresh(m_bridge, m_clock, m_pump);
    EXPECT_TRUE(m_table.Rows().empty());
}

}  // namespace
}  // namespace zembrock
