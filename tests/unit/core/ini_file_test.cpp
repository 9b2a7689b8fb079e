#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/program_folder.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

constexpr const char* kDefault = "DEF";

// Every name in the folder, to see that no temporary file was left beside a target.
std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Tests that change the program folder put the old one back.
class IniFileTest : public ::testing::Test {
protected:
    void TearDown() override { SetProgramFolder(m_savedProgramFolder); }

    TempFolder m_folder;
    fs::path m_file = m_folder / "profile.ini";

private:
    fs::path m_savedProgramFolder = ProgramFolder();
};

// --- Reading ---------------------------------------------------------------------------------

struct ReadCase {
    std::string name;
    std::string bytes;
    std::string section;
    std::string key;
    std::string expected;
};

class IniReadTest : public IniFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, ReadsValueOrDefault) {
    const ReadCase& row = GetParam();
    WriteFile(m_file, row.bytes);
    EXPECT_EQ(ReadIniKey(row.section, row.key, m_file, kDefault), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    ::testing::Values(
        ReadCase{"SectionAndKeyIgnoreCase", "[Server]\r\nMapList=dm\r\n", "SERVER", "maplist", "dm"},
        ReadCase{"FirstMatchingSectionWins", "[a]\r\nk=1\r\n[A]\r\nk=2\r\n", "a", "k", "1"},
        ReadCase{"LaterDuplicateSectionIsNotSearched", "[a]\r\nx=1\r\n[A]\r\nk=2\r\n", "a", "k", kDefault},
        ReadCase{"FirstMatchingKeyWins", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        ReadCase{"KeyOfAnotherSectionNotFound", "[a]\r\nx=1\r\n[b]\r\nk=2\r\n", "a", "k", kDefault},
        ReadCase{"ValueIsTextAfterFirstEquals", "[a]\r\nk = x=y \r\n", "a", "k", "x=y"},
        ReadCase{"BlanksAroundKeyAndValueTrimmed", "[a]\r\n\t k \t=\t v w \t\r\n", "a", "k", "v w"},
        ReadCase{"DoubleQuotesRemoved", "[a]\r\nk=\" v \"\r\n", "a", "k", " v "},
        ReadCase{"SingleQuotesRemoved", "[a]\r\nk='v'\r\n", "a", "k", "v"},
        ReadCase{"OnlyOnePairOfQuotesRemoved", "[a]\r\nk=\"\"v\"\"\r\n", "a", "k", "\"v\""},
        ReadCase{"MismatchedQuotesKept", "[a]\r\nk=\"v'\r\n", "a", "k", "\"v'"},
        ReadCase{"LoneQuoteKept", "[a]\r\nk=\"\r\n", "a", "k", "\""},
        ReadCase{"LfOnlyLineEnds", "[a]\nk=v\nz=w\n", "a", "k", "v"},
        ReadCase{"LastLineWithoutLineEnd", "[a]\r\nk=v", "a", "k", "v"},
        ReadCase{"EightBitBytesKept", "[a]\r\nk=\xAE \xE9t\xE9\r\n", "a", "k", "\xAE \xE9t\xE9"},
        ReadCase{"LowerCaseAppLeftAlone", "[a]\r\nk=%app%/x\r\n", "a", "k", "%app%/x"},
        ReadCase{"LongestValueKept", "[a]\r\nk=" + std::string(1499, 'x') + "\r\n", "a", "k",
                 std::string(1499, 'x')},
        ReadCase{"LongerValueCut", "[a]\r\nk=" + std::string(1499, 'x') + "y\r\n", "a", "k",
                 std::string(1499, 'x')},
        ReadCase{"MissingSectionGivesDefault", "[a]\r\nk=v\r\n", "b", "k", kDefault},
        ReadCase{"MissingKeyGivesDefault", "[a]\r\nk=v\r\n", "a", "j", kDefault},
        ReadCase{"EmptyValueGivesDefault", "[a]\r\nk=\r\n", "a", "k", kDefault},
        ReadCase{"BlankValueGivesDefault", "[a]\r\nk= \t \r\n", "a", "k", kDefault},
        ReadCase{"EmptyQuotesGiveDefault", "[a]\r\nk=\"\"\r\n", "a", "k", kDefault}),
    [](const ::testing::TestParamInfo<ReadCase>& tested) { return tested.param.name; });

TEST_F(IniFileTest, MissingFileGivesDefault) {
    EXPECT_EQ(ReadIniKey("a", "k", m_folder / "missing.ini", kDefault), kDefault);
}

TEST_F(IniFileTest, AppInValueBecomesProgramFolder) {
    SetProgramFolder("/opt/zembrock/");
    WriteFile(m_file, "[a]\r\nk=%APP%/maps/%APP%\r\nlower=%App%/x\r\n");

    EXPECT_EQ(ReadIniKey("a", "k", m_file, kDefault), "/opt/zembrock/maps//opt/zembrock");
    EXPECT_EQ(ReadIniKey("a", "lower", m_file, kDefault), "%App%/x");
    // A default is the caller's own text: it is not expanded.
    EXPECT_EQ(ReadIniKey("a", "missing", m_file, "%APP%/default"), "%APP%/default");
}

TEST_F(IniFileTest, ProgramFolderTextHasNoTrailingSeparatorExceptAtRoot) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"/opt/zembrock", "/opt/zembrock"},
        {"/opt/zembrock/", "/opt/zembrock"},
        {"/opt/zembrock//", "/opt/zembrock"},
        {"/", "/"},
    };
    for (const auto& [folder, expected] : rows) {
        SetProgramFolder(folder);
        EXPECT_EQ(ProgramFolderText(), expected) << "folder " << folder;
    }
}

TEST_F(IniFileTest, ReadFromFolderPathGivesDefault) {
    // A profile name can make the path name a folder; reading it is a missing file, not a crash.
    fs::create_directory(m_file);
    std::string value;
    EXPECT_NO_THROW(value = ReadIniKey("a", "k", m_file, kDefault));
    EXPECT_EQ(value, kDefault);
}

// --- Writing ---------------------------------------------------------------------------------

TEST_F(IniFileTest, WriteToMissingFileCreatesSectionAndUpperCaseKey) {
    ASSERT_TRUE(WriteIniKey("Server", "LastSelectedMapList", "dm", m_file));

    EXPECT_EQ(ReadFile(m_file), "[Server]\r\nLASTSELECTEDMAPLIST=dm\r\n");
    EXPECT_EQ(ReadIniKey("server", "lastSelectedMapList", m_file, kDefault), "dm");
}

TEST_F(IniFileTest, EightBitValueRoundTrips) {
    const std::string value = "Caf\xE9 \xAE\xFF\x80";
    ASSERT_TRUE(WriteIniKey("a", "name", value, m_file));
    EXPECT_EQ(ReadIniKey("a", "name", m_file, kDefault), value);
}

struct EditCase {
    std::string name;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

class IniWriteTest : public IniFileTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(IniWriteTest, EditsOnlyWhatItMust) {
    const EditCase& row = GetParam();
    WriteFile(m_file, row.before);
    ASSERT_TRUE(WriteIniKey(row.section, row.key, row.value, m_file));
    EXPECT_EQ(ReadFile(m_file), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniWriteTest,
    ::testing::Values(
        EditCase{"ReplaceKeepsEveryOtherByte", "; note\n[a]\n  other  =  1 \r\nkey = old\n\n[b]\r\nkey=x",
                 "A", "Key", "new", "; note\n[a]\n  other  =  1 \r\nKEY=new\n\n[b]\r\nkey=x"},
        EditCase{"ReplaceKeepsCrLfOfItsLine", "[a]\r\nk = old \r\nz=1\n", "a", "k", "new",
                 "[a]\r\nK=new\r\nz=1\n"},
        EditCase{"ReplaceLastLineWithoutLineEnd", "[a]\r\nk=old", "a", "k", "new", "[a]\r\nK=new"},
        EditCase{"ReplaceFirstMatchOnly", "[a]\r\nk=1\r\nK=2\r\n[A]\r\nk=3\r\n", "A", "K", "9",
                 "[a]\r\nK=9\r\nK=2\r\n[A]\r\nk=3\r\n"},
        EditCase{"AppendAfterLastNonBlankLineOfSection", "[a]\r\nx=1\r\n\r\n  \r\n[b]\r\ny=2\r\n", "a", "k",
                 "v", "[a]\r\nx=1\r\nK=v\r\n\r\n  \r\n[b]\r\ny=2\r\n"},
        EditCase{"AppendToLastSectionBeforeTrailingBlankLines", "[a]\nx=1\n\n", "a", "k", "v",
                 "[a]\nx=1\nK=v\r\n\n"},
        EditCase{"AppendToEmptySection", "[a]\n[b]\n", "a", "k", "v", "[a]\nK=v\r\n[b]\n"},
        EditCase{"AppendAfterLastLineWithoutLineEnd", "[a]\r\nx=1", "a", "k", "v", "[a]\r\nx=1\r\nK=v\r\n"},
        EditCase{"NewSectionAtEndOfFile", "[a]\r\nx=1\r\n", "Maps", "k", "v",
                 "[a]\r\nx=1\r\n[Maps]\r\nK=v\r\n"},
        EditCase{"NewSectionAfterFileWithoutFinalLineEnd", "[a]\nx=1", "b", "k", "v",
                 "[a]\nx=1\r\n[b]\r\nK=v\r\n"},
        EditCase{"NewSectionInEmptyFile", "", "b", "k", "v", "[b]\r\nK=v\r\n"},
        EditCase{"ValueCutAtCrLf", "[a]\r\n", "a", "k", "one\r\n[evil]\r\nX=1", "[a]\r\nK=one\r\n"},
        EditCase{"ValueCutAtLf", "[a]\r\n", "a", "k", "one\nX=1", "[a]\r\nK=one\r\n"},
        EditCase{"ValueCutAtCr", "[a]\r\nk=old\r\n", "a", "k", "one\rX=1", "[a]\r\nK=one\r\n"},
        EditCase{"EightBitBytesElsewhereKept", "[a]\r\nname=\xE9t\xE9\r\n", "a", "title", "\xAE",
                 "[a]\r\nname=\xE9t\xE9\r\nTITLE=\xAE\r\n"}),
    [](const ::testing::TestParamInfo<EditCase>& tested) { return tested.param.name; });

TEST_F(IniFileTest, ValueWithLineBreakAddsNoKeys) {
    ASSERT_TRUE(WriteIniKey("a", "k", "one\r\n[evil]\r\nX=1", m_file));
    EXPECT_EQ(ReadIniKey("a", "k", m_file, kDefault), "one");
    EXPECT_EQ(ReadIniKey("evil", "x", m_file, kDefault), kDefault);
    EXPECT_EQ(ReadIniKey("a", "x", m_file, kDefault), kDefault);
}

// --- Deleting a section ----------------------------------------------------------------------

struct DeleteCase {
    std::string name;
    std::string before;
    std::string section;
    std::string after;
};

class IniDeleteTest : public IniFileTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(IniDeleteTest, RemovesSectionAndNothingElse) {
    const DeleteCase& row = GetParam();
    WriteFile(m_file, row.before);
    ASSERT_TRUE(DeleteIniSection(row.section, m_file));
    EXPECT_EQ(ReadFile(m_file), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniDeleteTest,
    ::testing::Values(
        DeleteCase{"MiddleSection", "[a]\r\nx=1\r\n[b]\nk=v\n; note\n\n[c]\r\ny=2", "B",
                   "[a]\r\nx=1\r\n[c]\r\ny=2"},
        DeleteCase{"LastSection", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "b", "[a]\r\nx=1\r\n\r\n"},
        DeleteCase{"FirstMatchOnly", "[a]\nx\n[A]\ny\n", "a", "[A]\ny\n"},
        DeleteCase{"MissingSectionKeepsEveryByte", "[a]\nx = 1 \r\n\n[b]", "c", "[a]\nx = 1 \r\n\n[b]"}),
    [](const ::testing::TestParamInfo<DeleteCase>& tested) { return tested.param.name; });

TEST_F(IniFileTest, DeleteFromMissingFileCreatesNothing) {
    DeleteIniSection("a", m_file);
    EXPECT_FALSE(fs::exists(m_file));
}

// --- Failures --------------------------------------------------------------------------------

TEST_F(IniFileTest, ReadOnlyFileIsNeverChanged) {
    const std::string before = "[a]\r\nk=old\r\n[b]\r\n";
    WriteFile(m_file, before);
    // The permission bits, not the user's rights, decide: tests may run as root.
    fs::permissions(m_file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_FALSE(WriteIniKey("a", "k", "new", m_file));
    EXPECT_FALSE(WriteIniKey("c", "k", "new", m_file));
    EXPECT_FALSE(DeleteIniSection("b", m_file));
    EXPECT_EQ(ReadFile(m_file), before);
    EXPECT_EQ(NamesIn(m_folder.Path()), std::set<std::string>{"profile.ini"});
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails) {
    const fs::path file = m_folder / "missing" / "profile.ini";
    EXPECT_FALSE(WriteIniKey("a", "k", "v", file));
    EXPECT_FALSE(fs::exists(file.parent_path()));
    EXPECT_TRUE(NamesIn(m_folder.Path()).empty());
}

TEST_F(IniFileTest, SuccessfulWritesLeaveNoTemporaryFiles) {
    ASSERT_TRUE(WriteIniKey("a", "k", "1", m_file));
    ASSERT_TRUE(WriteIniKey("a", "k", "2", m_file));
    ASSERT_TRUE(WriteIniKey("b", "k", "3", m_file));
    ASSERT_TRUE(DeleteIniSection("a", m_file));
    EXPECT_EQ(NamesIn(m_folder.Path()), std::set<std::string>{"profile.ini"});
}

TEST_F(IniFileTest, WriteOntoFolderPathFailsWithoutLeftovers) {
    fs::create_directory(m_file);
    bool written = true;
    EXPECT_NO_THROW(written = WriteIniKey("a", "k", "v", m_file));
    EXPECT_FALSE(written);
    EXPECT_TRUE(fs::is_directory(m_file));
    EXPECT_EQ(NamesIn(m_folder.Path()), std::set<std::string>{"profile.ini"});
}

TEST_F(IniFileTest, ReplacedFileKeepsItsPermissions) {
    WriteFile(m_file, "[a]\r\nk=1\r\n");
    fs::permissions(m_file, fs::perms::owner_read | fs::perms::owner_write);
    // What the system made of them (Windows keeps only whether the file is read-only).
    const fs::perms before = fs::status(m_file).permissions();
    ASSERT_TRUE(WriteIniKey("a", "k", "2", m_file));
    EXPECT_EQ(fs::status(m_file).permissions(), before);
}

// --- The document in memory ------------------------------------------------------------------

TEST(IniDocumentTest, UnchangedDocumentKeepsEveryByte) {
    const std::vector<std::string> files = {
        "",
        "\r\n",
        "[a]\r\nk=v\r\n",
        "[a]\nk=v\n\n\n",
        "no section\r\n[a]\r\nk=v",
        "[a]\r\nmixed\rcr\nlf\r\n\xAE\xE9\n",
        "\n\r\n\n",
    };
    for (const std::string& bytes : files) {
        EXPECT_EQ(IniDocument(bytes).Bytes(), bytes);
    }
}

TEST(IniDocumentTest, ValueTellsMissingFromEmpty) {
    const IniDocument document("[a]\r\nempty=\r\nbare\r\n");
    EXPECT_EQ(document.Value("a", "empty"), std::optional<std::string>(""));
    EXPECT_EQ(document.Value("a", "missing"), std::nullopt);
    EXPECT_EQ(document.Value("b", "empty"), std::nullopt);
}

}  // namespace
}  // namespace zembrock
