#include "messages/message_profiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_file.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using testing::ElementsAre;

// A program folder with a DravikMassages.ini written by the test.
class MessageProfilesTest : public testing::Test {
protected:
    void WriteProfiles(const std::string& bytes) { test::WriteFile(File(), bytes); }
    std::filesystem::path File() const { return m_folder / kMessageProfileFileName; }

    void Add(const std::string& message, const std::string& delay) {
        m_profiles.SetEditMessage(message);
        m_profiles.SetEditDelay(delay);
        m_profiles.AddNew();
    }

    test::TempFolder m_folder;
    test::FakeDialogs m_dialogs;
    MessageProfiles m_profiles{m_folder.Path()};
};

TEST_F(MessageProfilesTest, SaveNewAndStartUpRoundTripRowsInOrder) {
    Add("^1Welcome", "30");
    Add("Rules: no camping", "120");
    m_dialogs.textAnswer = "  Welcome  ";
    m_profiles.SaveNew(m_dialogs);
    ASSERT_EQ(m_dialogs.textPrompts.size(), 1U);
    EXPECT_EQ(m_dialogs.textPrompts[0].title, "Massages profile creation.");
    EXPECT_EQ(m_dialogs.textPrompts[0].text, "Enter new profile name:");
    EXPECT_THAT(m_profiles.Profiles().entries, ElementsAre("Welcome"));
    EXPECT_FALSE(m_profiles.Profiles().selected);  // added, not selected

    MessageProfiles reloaded(m_folder.Path());
    reloaded.StartUp();
    EXPECT_THAT(reloaded.Profiles().entries, ElementsAre("Welcome"));
    EXPECT_EQ(reloaded.Profiles().Text(), "Welcome");
    EXPECT_THAT(reloaded.Rows(),
                ElementsAre(MessageRow{"^1Welcome", "30"}, MessageRow{"Rules: no camping", "120"}));
}

TEST_F(MessageProfilesTest, ProfileListIsEveryBracketLineInFileOrder) {
    WriteProfiles("[Zeta]\r\n1=a|5\r\n; note\r\n[Alpha]\n1=b|6\n[\r\n[]\r\n");
    m_profiles.StartUp();
    EXPECT_THAT(m_profiles.Profiles().entries, ElementsAre("Zeta", "Alpha"));
    EXPECT_THAT(m_profiles.Rows(), ElementsAre(MessageRow{"a", "5"}));

    MessageProfiles missing(m_folder / "nowhere");
    missing.StartUp();
    EXPECT_TRUE(missing.Profiles().entries.empty());
    EXPECT_TRUE(missing.Rows().empty());
}

struct LoadCase {
    const char* name;
    std::string section;
    std::vector<MessageRow> rows;
};

class LoadTest : public MessageProfilesTest, public testing::WithParamInterface<LoadCase> {};

std::string ManyRows(int count) {
    std::string section;
    for (int i = 1; i <= count; ++i) {
        section += std::to_string(i) + "=m" + std::to_string(i) + "|" + std::to_string(i) + "\r\n";
    }
    return section;
}

std::vector<MessageRow> FirstRows(int count) {
    std::vector<MessageRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back({"m" + std::to_string(i), std::to_string(i)});
    }
    return rows;
}

TEST_P(LoadTest, LoadStopsAtTheFirstGapAndCutsAtTheSeparator) {
    WriteProfiles("[P]\r\n" + GetParam().section + "[Other]\r\n1=x|1\r\n");
    m_profiles.StartUp();
    EXPECT_EQ(m_profiles.Rows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, LoadTest,
    testing::Values(LoadCase{"GapAfterTwo", "1=a|1\r\n2=b|2\r\n4=d|4\r\n", {{"a", "1"}, {"b", "2"}}},
                    LoadCase{"EmptyValueEnds", "1=a|1\r\n2=\r\n3=c|3\r\n", {{"a", "1"}}},
                    LoadCase{"ThirtyOfThirtyFive", ManyRows(35), FirstRows(30)},
                    LoadCase{"NoSeparatorGivesEmptyDelay", "1=hello\r\n", {{"hello", ""}}},
                    LoadCase{"SecondSeparatorEndsDelay", "1=a|5|junk\r\n", {{"a", "5"}}},
                    LoadCase{"EmptyMessage", "1=|7\r\n", {{"", "7"}}}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST_F(MessageProfilesTest, SaveRewritesTheSectionWithoutStaleRows) {
    WriteProfiles("[P]\r\n1=a|1\r\n2=b|2\r\n3=c|3\r\n[Q]\r\n1=q|9\r\n");
    m_profiles.StartUp();
    m_profiles.SetSelection({0});
    m_profiles.RemoveSelected();
    m_profiles.Save(m_dialogs);

    EXPECT_TRUE(m_dialogs.textPrompts.empty());
    EXPECT_THAT(ReadMessageProfile(File(), "P"), ElementsAre(MessageRow{"b", "2"}, MessageRow{"c", "3"}));
    EXPECT_FALSE(IniDocument::Load(File()).Value("P", "3"));
    EXPECT_THAT(ReadMessageProfile(File(), "Q"), ElementsAre(MessageRow{"q", "9"}));
}

TEST_F(MessageProfilesTest, SaveWritesRowsPastTheLoadLimit) {
    m_dialogs.textAnswer = "Long";
    for (int i = 1; i <= 35; ++i) {
        Add("m" + std::to_string(i), std::to_string(i));
    }
    m_profiles.Save(m_dialogs);  // nothing selected: asks for a name
    EXPECT_EQ(IniDocument::Load(File()).Value("Long", "35"), "m35|35");
    EXPECT_EQ(ReadMessageProfile(File(), "Long").size(), kMessageLoadLimit);
}

struct RefusedNameCase {
    const char* name;
    std::optional<std::string> answer;
    const char* message;  // nullptr: ends silently
};

class RefusedNameTest : public MessageProfilesTest, public testing::WithParamInterface<RefusedNameCase> {};

TEST_P(RefusedNameTest, NothingIsWritten) {
    WriteProfiles("[Welcome]\r\n1=w|5\r\n");
    m_profiles.StartUp();
    Add("new", "5");
    m_dialogs.textAnswer = GetParam().answer;
    m_profiles.SaveNew(m_dialogs);

    EXPECT_EQ(test::ReadFile(File()), "[Welcome]\r\n1=w|5\r\n");
    EXPECT_THAT(m_profiles.Profiles().entries, ElementsAre("Welcome"));
    if (GetParam().message == nullptr) {
        EXPECT_TRUE(m_dialogs.messages.empty());
    } else {
        ASSERT_EQ(m_dialogs.messages.size(), 1U);
        EXPECT_EQ(m_dialogs.messages[0].title, "Error");
        EXPECT_EQ(m_dialogs.messages[0].text, GetParam().message);
        EXPECT_EQ(m_dialogs.messages[0].icon, DialogIcon::Information);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedNameTest,
    testing::Values(RefusedNameCase{"Cancelled", std::nullopt, nullptr},
                    RefusedNameCase{"Empty", "", nullptr},
                    RefusedNameCase{"OtherCase", "welcome", kMessageProfileExistsText},
                    RefusedNameCase{"OtherCaseWithBlanks", " WELCOME ", kMessageProfileExistsText},
                    RefusedNameCase{"Bracket", "a]b", kMessageProfileBadNameText},
                    RefusedNameCase{"LineBreak", "a\nb", kMessageProfileBadNameText},
                    RefusedNameCase{"CarriageReturn", "a\rb", kMessageProfileBadNameText},
                    RefusedNameCase{"BlanksOnly", "  \t ", kMessageProfileBadNameText}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST_F(MessageProfilesTest, DeleteSelectsAndLoadsTheFirstRemaining) {
    WriteProfiles("[A]\r\n1=a|1\r\n[B]\r\n1=b|2\r\n");
    m_profiles.StartUp();
    ASSERT_TRUE(m_profiles.SelectProfile(1));
    m_profiles.Delete();
    EXPECT_THAT(m_profiles.Profiles().entries, ElementsAre("A"));
    EXPECT_EQ(m_profiles.Profiles().Text(), "A");
    EXPECT_THAT(m_profiles.Rows(), ElementsAre(MessageRow{"a", "1"}));
    EXPECT_THAT(ReadMessageProfileNames(File()), ElementsAre("A"));
}

TEST_F(MessageProfilesTest, DeletingTheLastKeepsRowsAndSaveThenAsksForAName) {
    WriteProfiles("[Only]\r\n1=o|3\r\n");
    m_profiles.StartUp();
    m_profiles.Delete();
    EXPECT_TRUE(m_profiles.Profiles().entries.empty());
    EXPECT_THAT(m_profiles.Rows(), ElementsAre(MessageRow{"o", "3"}));

    m_dialogs.textAnswer = "Again";
    m_profiles.Save(m_dialogs);
    EXPECT_EQ(m_dialogs.textPrompts.size(), 1U);
    EXPECT_THAT(ReadMessageProfileNames(File()), ElementsAre("Again"));
}

TEST_F(MessageProfilesTest, LockRefusesEveryListAndProfileCommand) {
    WriteProfiles("[A]\r\n1=a|1\r\n2=b|2\r\n[B]\r\n1=z|9\r\n");
    m_profiles.StartUp();
    m_profiles.SetSelection({1});
    m_profiles.SetEditMessage("new");
    m_profiles.SetEditDelay("4");
    m_dialogs.textAnswer = "C";
    const std::string fileBefore = test::ReadFile(File());
    const std::vector<MessageRow> rowsBefore = m_profiles.Rows();

    m_profiles.SetLocked(true);
    m_profiles.AddNew();
    m_profiles.UpdateSelected();
    m_profiles.RemoveSelected();
    m_profiles.MoveUp();
    m_profiles.MoveDown();
    m_profiles.Clear();
    m_profiles.Save(m_dialogs);
    m_profiles.SaveNew(m_dialogs);
    m_profiles.Delete();
    EXPECT_FALSE(m_profiles.SelectProfile(1));

    EXPECT_EQ(m_profiles.Rows(), rowsBefore);
    EXPECT_EQ(test::ReadFile(File()), fileBefore);
    EXPECT_THAT(m_profiles.Profiles().entries, ElementsAre("A", "B"));
    EXPECT_TRUE(m_dialogs.textPrompts.empty());

    // The colour buttons and the double-click still work.
    m_profiles.CopyCurrentRowToEditor();
    EXPECT_EQ(m_profiles.EditMessage(), "b");
    EXPECT_EQ(m_profiles.InsertColour('3', 0), 2U);
    EXPECT_EQ(m_profiles.EditMessage(), "^3b");
}

TEST_F(MessageProfilesTest, EditorCommandsNeedBothFieldsAndASelectedRow) {
    Add("only text", "");
    Add("", "5");
    EXPECT_TRUE(m_profiles.Rows().empty());

    Add("a", "12345");  // the field holds four characters
    Add("b", "2");
    EXPECT_THAT(m_profiles.Rows(), ElementsAre(MessageRow{"a", "1234"}, MessageRow{"b", "2"}));

    m_profiles.SetEditMessage("changed");
    m_profiles.SetEditDelay("9");
    m_profiles.UpdateSelected();  // nothing selected
    m_profiles.RemoveSelected();
    EXPECT_EQ(m_profiles.Rows().size(), 2U);

    m_profiles.SetSelection({1});
    m_profiles.UpdateSelected();
    EXPECT_EQ(m_profiles.Rows()[1], (MessageRow{"changed", "9"}));
    m_profiles.RemoveSelected();
    EXPECT_THAT(m_profiles.Rows(), ElementsAre(MessageRow{"a", "1234"}));
    m_profiles.Clear();
    EXPECT_TRUE(m_profiles.Rows().empty());
}

TEST(ColourCodeTest, InsertsAtTheCaretAndMovesItPastTheCode) {
    const TextEdit afterWord = InsertColourCode("Hello ", 6, '4');
    EXPECT_EQ(afterWord.text, "Hello ^4");
    EXPECT_EQ(afterWord.caret, 8U);

    const TextEdit inside = InsertColourCode("Hello world", 5, '0');
    EXPECT_EQ(inside.text, "Hello^0 world");
    EXPECT_EQ(inside.caret, 7U);

    const TextEdit pastEnd = InsertColourCode("ab", 99, '9');
    EXPECT_EQ(pastEnd.text, "ab^9");
    EXPECT_EQ(pastEnd.caret, 4U);
}

TEST(DelayTest, OnlyWholeSecondsTheRotationCanCountTo) {
    EXPECT_EQ(UsableDelay("5"), 5);
    EXPECT_EQ(UsableDelay(" 60 "), 60);
    EXPECT_EQ(UsableDelay("9999"), 9999);
    EXPECT_EQ(UsableDelay("0007"), 7);
    for (const char* bad : {"", "0", "0000", "-5", "5s", "1.5", "10000", "abc"}) {
        EXPECT_FALSE(UsableDelay(bad)) << bad;
    }
    EXPECT_TRUE(DelayKeyAccepted('0'));
    EXPECT_TRUE(DelayKeyAccepted('9'));
    EXPECT_TRUE(DelayKeyAccepted('\b'));
    EXPECT_TRUE(DelayKeyAccepted(22));  // paste
    EXPECT_FALSE(DelayKeyAccepted('a'));
    EXPECT_FALSE(DelayKeyAccepted('-'));
    EXPECT_FALSE(DelayKeyAccepted('\r'));
}

struct MoveCase {
    const char* name;
    bool up;
    std::vector<std::size_t> selected;
    std::vector<int> order;                  // rows 1..5 afterwards
    std::vector<std::size_t> selectedAfter;  // positions
};

class MoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveTest, SelectedRowsMoveOnePlaceAsAGroup) {
    std::vector<int> rows{1, 2, 3, 4, 5};
    std::vector<bool> selected(rows.size(), false);
    for (const std::size_t row : GetParam().selected) {
        selected[row] = true;
    }
    if (GetParam().up) {
        MoveSelectedUp(rows, selected);
    } else {
        MoveSelectedDown(rows, selected);
    }
    EXPECT_EQ(rows, GetParam().order);
    std::vector<std::size_t> selectedAfter;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            selectedAfter.push_back(i);
        }
    }
    EXPECT_EQ(selectedAfter, GetParam().selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveTest,
    testing::Values(MoveCase{"UpTwoAndThree", true, {1, 2}, {2, 3, 1, 4, 5}, {0, 1}},
                    MoveCase{"UpFirstStays", true, {0}, {1, 2, 3, 4, 5}, {0}},
                    MoveCase{"UpTopBlockStaysOthersMove", true, {0, 1, 3}, {1, 2, 4, 3, 5}, {0, 1, 2}},
                    MoveCase{"UpSpreadRows", true, {1, 4}, {2, 1, 3, 5, 4}, {0, 3}},
                    MoveCase{"UpNothingSelected", true, {}, {1, 2, 3, 4, 5}, {}},
                    MoveCase{"DownLastStays", false, {4}, {1, 2, 3, 4, 5}, {4}},
                    MoveCase{"DownThreeAndFour", false, {2, 3}, {1, 2, 5, 3, 4}, {3, 4}},
                    MoveCase{"DownBottomBlockStaysOthersMove", false, {0, 3, 4}, {2, 1, 3, 4, 5}, {1, 3, 4}},
                    MoveCase{"DownAll", false, {0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}, {0, 1, 2, 3, 4}}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST_F(MessageProfilesTest, MoveUpOnThePageCarriesRowsAndSelection) {
    for (const char* text : {"1", "2", "3"}) {
        Add(text, "5");
    }
    m_profiles.SetSelection({2});
    m_profiles.MoveUp();
    m_profiles.MoveUp();
    m_profiles.MoveUp();
    EXPECT_EQ(m_profiles.Rows()[0].message, "3");
    EXPECT_EQ(m_profiles.CurrentRow(), 0U);
    m_profiles.MoveDown();
    EXPECT_EQ(m_profiles.Rows()[1].message, "3");
    EXPECT_EQ(m_profiles.CurrentRow(), 1U);
}

}  // namespace
}  // namespace zembrock
