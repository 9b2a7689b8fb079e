#include "console/ban_list_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;

// The editor on a program folder with a `main` folder and, when written, a ban file.
class BanListEditorTest : public testing::Test {
protected:
    BanListEditorTest() { fs::create_directories(m_folder / "main"); }

    void WriteBans(const std::string& text) { test::WriteFile(m_editor.File(), text); }

    test::TempFolder m_folder;
    BanListEditor m_editor{BanFilePath(m_folder.Path())};
    test::FakeDialogs m_dialogs;
};

TEST_F(BanListEditorTest, LoadShowsTheFileOrSaysItIsMissing) {
    EXPECT_EQ(m_editor.StatusText(), "Status");
    m_editor.Load();
    EXPECT_EQ(m_editor.StatusText(), kBanListMissing);
    EXPECT_TRUE(m_editor.Text().empty());

    WriteBans("abc=1.2.3.4 (Lena)\r\nlast");
    m_editor.Load();
    EXPECT_EQ(m_editor.StatusText(), kBanListFound);
    EXPECT_EQ(m_editor.Text(), "abc=1.2.3.4 (Lena)\r\nlast");
}

TEST_F(BanListEditorTest, SaveAsksFirstAndWritesTheTextWithOneLineBreak) {
    WriteBans("old\r\n");
    m_editor.Load();
    m_editor.SetText("new");
    EXPECT_FALSE(m_editor.Save(m_dialogs));
    EXPECT_EQ(test::ReadFile(m_editor.File()), "old\r\n");
    ASSERT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(m_dialogs.questions[0].title, "Save banlist.");
    EXPECT_EQ(m_dialogs.questions[0].text,
              "Are you sure you wana save changes in \"permanent_ex.ban\" file ?");
    EXPECT_EQ(m_dialogs.questions[0].icon, DialogIcon::Information);

    m_dialogs.answerYes = true;
    EXPECT_TRUE(m_editor.Save(m_dialogs));
    EXPECT_EQ(test::ReadFile(m_editor.File()), "new\r\n");
}

TEST_F(BanListEditorTest, SaveReloadAddRemovesTheEmptyLineInOnePass) {
    m_dialogs.answerYes = true;
    WriteBans("a=1 (A)\r\n");
    m_editor.Load();
    ASSERT_TRUE(m_editor.Save(m_dialogs));
    m_editor.Reload();
    EXPECT_EQ(m_editor.Text(), "a=1 (A)\r\n\r\n");
    ASSERT_TRUE(m_editor.AddNew("B", "b", "2", m_dialogs));
    EXPECT_EQ(m_editor.Text(), "a=1 (A)\r\nb=2 (B)\r\n");

    // Three line breaks become two, not one.
    m_editor.SetText("x\r\n\r\n\r\ny");
    ASSERT_TRUE(m_editor.AddNew("N", "H", "I", m_dialogs));
    EXPECT_EQ(m_editor.Text(), "x\r\n\r\nyH=I (N)\r\n");
    EXPECT_EQ(m_editor.Selection(), (TextRange{m_editor.Text().size(), 0}));
}

TEST_F(BanListEditorTest, AddNewWritesFieldsUnchangedAndRefusesEmptyOnes) {
    ASSERT_TRUE(m_editor.AddNew("a)b", "h=w", "1.2.3.4", m_dialogs));
    EXPECT_EQ(m_editor.Text(), "h=w=1.2.3.4 (a)b)\r\n");

    for (const auto& [name, hwid, ip] :
         {std::tuple{"", "h", "i"}, std::tuple{"n", "", "i"}, std::tuple{"n", "h", ""}}) {
        EXPECT_FALSE(m_editor.AddNew(name, hwid, ip, m_dialogs));
    }
    EXPECT_EQ(m_editor.Text(), "h=w=1.2.3.4 (a)b)\r\n");
    ASSERT_EQ(m_dialogs.messages.size(), 3U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Wrong input.");
    EXPECT_EQ(m_dialogs.messages[0].text, "Check all fields and try again.");
}

TEST_F(BanListEditorTest, FindWalksTheMatchesIgnoringCase) {
    WriteBans("lena=1 (x)\r\nLENA=2 (y)\r\nlEnA=3 (z)\r\nend lena");
    m_editor.Load();
    // The match at the very first character is skipped, the one ending the text never found.
    EXPECT_EQ(m_editor.Find("LeNa"), (TextRange{12, 4}));
    EXPECT_EQ(m_editor.Find("LeNa"), (TextRange{24, 4}));
    EXPECT_EQ(m_editor.Find("LeNa"), std::nullopt);
    EXPECT_EQ(m_editor.Selection(), (TextRange{24, 4}));
    EXPECT_EQ(m_editor.Underlines(), (std::vector<TextRange>{{12, 4}, {24, 4}}));
    EXPECT_EQ(m_editor.Find(""), std::nullopt);

    m_editor.Reload();
    EXPECT_TRUE(m_editor.Underlines().empty());
    m_editor.SetSelection({30, 0});
    EXPECT_EQ(m_editor.Find("lena"), std::nullopt);
    EXPECT_EQ(m_editor.Find("len"), (TextRange{40, 3}));
}

TEST_F(BanListEditorTest, FailedSaveIsReportedAndKeepsTheOldFile) {
    m_dialogs.answerYes = true;
    WriteBans("kept\r\n");
    fs::permissions(m_editor.File(), fs::perms::owner_read, fs::perm_options::replace);
    m_editor.SetText("lost");
    EXPECT_FALSE(m_editor.Save(m_dialogs));
    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_THAT(m_dialogs.messages[0].text, testing::HasSubstr("permanent_ex.ban"));
    EXPECT_EQ(test::ReadFile(m_editor.File()), "kept\r\n");
    fs::permissions(m_editor.File(), fs::perms::owner_all, fs::perm_options::replace);

    BanListEditor noFolder{BanFilePath(m_folder / "elsewhere")};
    noFolder.SetText("x");
    EXPECT_FALSE(noFolder.Save(m_dialogs));
    EXPECT_EQ(m_dialogs.messages.size(), 2U);
}

}  // namespace
}  // namespace zembrock
