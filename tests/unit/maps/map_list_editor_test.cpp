#include "maps/map_list_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/folder_listing.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {
namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

const fs::path kGameFixture = fs::path(ZEMBROCK_FIXTURES_DIR) / "game";
// The lines of default_rotation.dspl, the first list of the test game folder.
const Lines kRotation = {"mp_dome,TDM_default,1", "mp_plaza2,DOM_default,100", "mp_mogadishu,SD_default,1000",
                         "*,CTF_default,500"};

std::size_t IndexOf(const Chooser& chooser, const std::string& text) {
    const auto found = std::find(chooser.entries.begin(), chooser.entries.end(), text);
    EXPECT_NE(found, chooser.entries.end()) << text;
    return static_cast<std::size_t>(found - chooser.entries.begin());
}

void MakeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// The editor as start-up leaves it, on a copy of the test game folder.
class MapListEditorTest : public testing::Test {
protected:
    MapListEditorTest() {
        fs::copy(kGameFixture, m_folder.Path(), fs::copy_options::recursive);
        m_editor.SetCatalogue(BuildMapCatalogue(m_folder.Path()));
        m_editor.SetGameTypes(BuildGameTypeList(m_folder.Path()));
        m_editor.RefreshMapListFiles();
    }

    fs::path ListFile(const std::string& name) const { return m_folder / "players2" / name; }

    // Puts a list file into players2 and makes it the current one.
    void OpenList(const std::string& name, const std::string& bytes) {
        test::WriteFile(ListFile(name), bytes);
        m_editor.RefreshMapListFiles();
        ASSERT_TRUE(m_editor.SelectMapList(std::string_view(name)));
    }

    void Choose(const std::string& map, const std::string& gameType, const std::string& priority) {
        m_editor.SelectMap(IndexOf(m_editor.AllMaps(), map));
        m_editor.SelectGameType(IndexOf(m_editor.GameTypes(), gameType));
        m_editor.SetPriorityText(priority);
    }

    test::TempFolder m_folder;
    MapListEditor m_editor{m_folder.Path()};
    test::FakeDialogs m_dialogs;
};

TEST_F(MapListEditorTest, StartsWithTheFirstListLoadedAndTheFirstEntriesChosen) {
    EXPECT_EQ(m_editor.MapListFiles().entries,
              Lines({"default_rotation.dspl", "sd_only.dspl", "tdm_night.dspl"}));
    EXPECT_EQ(m_editor.SelectedFileName(), "default_rotation.dspl");
    EXPECT_EQ(m_editor.FileCount(), 3U);
    EXPECT_EQ(m_editor.Lines(), kRotation);
    EXPECT_EQ(m_editor.SelectedLine(), std::nullopt);
    EXPECT_EQ(m_editor.AllMaps().Text(), "Lockdown");
    EXPECT_EQ(m_editor.GameTypes().Text(), "Capture The Flag");
    EXPECT_EQ(m_editor.Priorities().entries,
              Lines({"1", "100", "200", "300", "400", "500", "600", "700", "800", "900", "1000"}));
    EXPECT_EQ(m_editor.PriorityText(), "1");
    EXPECT_EQ(m_editor.PreviewFile(), m_folder / "mapimages/Lockdown.gif");
}

TEST_F(MapListEditorTest, SkipsCommentsAndEmptyLinesAndSavesEachLineWithCrLf) {
    OpenList("mixed.dspl",
             "// two slashes and a text\r\n\r\nmp_dome,TDM_default,1\r\nmp_plaza2,DOM_default,100");
    EXPECT_EQ(m_editor.Lines(), Lines({"mp_dome,TDM_default,1", "mp_plaza2,DOM_default,100"}));

    m_dialogs.answerYes = true;
    m_editor.Save(m_dialogs);

    ASSERT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(m_dialogs.questions[0].title, "Save maplist file.");
    EXPECT_EQ(m_dialogs.questions[0].text, "Are you sure you wana save changes in \"mixed.dspl\" file ?");
    EXPECT_EQ(m_dialogs.questions[0].icon, DialogIcon::Information);
    EXPECT_EQ(test::ReadFile(ListFile("mixed.dspl")),
              "mp_dome,TDM_default,1\r\nmp_plaza2,DOM_default,100\r\n");
    EXPECT_EQ(m_editor.SelectedFileName(), "mixed.dspl");
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(MapListEditorTest, KeepsUnknownLinesAndOtherLineEndsAsTheyAre) {
    OpenList("odd.dspl", "mp_a,X,1\nnot a map line at all\r  /not a comment\r\n");
    EXPECT_EQ(m_editor.Lines(), Lines({"mp_a,X,1", "not a map line at all", "  /not a comment"}));
}

TEST_F(MapListEditorTest, LoadsAFileThatVanishedAsAnEmptyList) {
    fs::remove(ListFile("sd_only.dspl"));
    ASSERT_TRUE(m_editor.SelectMapList(std::size_t{1}));
    EXPECT_EQ(m_editor.SelectedFileName(), "sd_only.dspl");
    EXPECT_TRUE(m_editor.Lines().empty());
}

TEST_F(MapListEditorTest, RefreshDiscardsEdits) {
    m_editor.Clear();
    m_editor.LoadMapList();
    EXPECT_EQ(m_editor.Lines().size(), 4U);
}

TEST_F(MapListEditorTest, RotationNameIsTheFileNameWithoutExtension) {
    ASSERT_TRUE(m_editor.SelectMapList(std::string_view("sd_only.dspl")));
    EXPECT_EQ(m_editor.RotationName(), "sd_only");
    EXPECT_FALSE(m_editor.SelectMapList(std::string_view("missing.dspl")));
    EXPECT_EQ(m_editor.RotationName(), "sd_only");
}

struct LineCase {
    const char* name;
    const char* line;
    const char* map;  // the choosers before the selection: Mission, Domination, 300
    const char* gameType;
    const char* priority;
};

class SelectLineTest : public MapListEditorTest, public testing::WithParamInterface<LineCase> {};

TEST_P(SelectLineTest, SetsEachChooserFromItsOwnField) {
    OpenList("case.dspl", std::string(GetParam().line) + "\r\n");
    Choose("Mission", "Domination", "300");

    m_editor.SelectLine(0);

    EXPECT_EQ(m_editor.SelectedLine(), 0U);
    EXPECT_EQ(m_editor.AllMaps().Text(), GetParam().map);
    EXPECT_EQ(m_editor.GameTypes().Text(), GetParam().gameType);
    EXPECT_EQ(m_editor.PriorityText(), GetParam().priority);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SelectLineTest,
    testing::Values(
        LineCase{"Wildcard", "*,SD_default,1000", "*", "Search and Destroy", "1000"},
        LineCase{"MapNotInCatalogue", "mp_oldmap,TDM_default,5", "Mission", "Team Deathmatch", "5"},
        LineCase{"KeysInOtherCase", "MP_PLAZA2,tdm_default,1", "Arkaden", "Team Deathmatch", "1"},
        LineCase{"UnknownGameType", "mp_dome,XYZ_default,7", "Dome", "Domination", "7"},
        LineCase{"OnlyTheMap", "mp_dome", "Dome", "Domination", "300"},
        LineCase{"EmptyGameTypeField", "mp_dome,,50", "Dome", "Domination", "50"},
        LineCase{"EmptyPriorityField", "mp_radar,SD_default,", "Outpost", "Search and Destroy", ""},
        LineCase{"ExtraFields", "mp_radar,my_mode,1,2", "Outpost", "my_mode", "1"},
        LineCase{"NothingKnown", "text without commas", "Mission", "Domination", "300"}),
    [](const testing::TestParamInfo<LineCase>& tested) { return std::string(tested.param.name); });

TEST_F(MapListEditorTest, WildcardLineShowsTheRandomPicture) {
    m_editor.SelectLine(3);
    EXPECT_EQ(m_editor.PreviewFile(), m_folder / "mapimages/random.gif");
    m_editor.SelectLine(0);
    EXPECT_EQ(m_editor.PreviewFile(), m_folder / "mapimages/Dome.gif");
}

TEST_F(MapListEditorTest, AddNewAppendsTheBuiltLineAndKeepsTheSelection) {
    m_editor.SelectLine(1);
    Choose("Arkaden", "Team Deathmatch", "100");
    EXPECT_EQ(m_editor.BuildMapListLine(), "mp_plaza2,TDM_default,100");

    m_editor.AddNew();
    Choose("*", "my_mode", "50");
    m_editor.AddNew();

    EXPECT_EQ(m_editor.Lines().size(), 6U);
    EXPECT_EQ(m_editor.Lines()[4], "mp_plaza2,TDM_default,100");
    EXPECT_EQ(m_editor.Lines()[5], "*,my_mode,50");
    EXPECT_EQ(m_editor.SelectedLine(), 1U);
}

TEST_F(MapListEditorTest, PriorityWithACommaIsWrittenAsTypedAndSplitsWhenRead) {
    Choose("Dome", "Search and Destroy", "5,0");
    m_editor.Clear();
    m_editor.AddNew();
    EXPECT_EQ(m_editor.Lines(), Lines({"mp_dome,SD_default,5,0"}));
    m_editor.SelectLine(0);
    EXPECT_EQ(m_editor.PriorityText(), "5");
}

TEST_F(MapListEditorTest, PickingAnOfferedPriorityReplacesTheTypedText) {
    m_editor.SetPriorityText("75");
    EXPECT_EQ(m_editor.Priorities().selected, std::nullopt);
    m_editor.SelectPriority(10);
    EXPECT_EQ(m_editor.PriorityText(), "1000");
    m_editor.SetPriorityText("200");
    EXPECT_EQ(m_editor.Priorities().Text(), "200");
}

TEST_F(MapListEditorTest, UpdateSelectedLineReplacesOnlyTheSelectedLine) {
    const Lines before = m_editor.Lines();
    Choose("Outpost", "Search and Destroy", "700");
    m_editor.UpdateSelectedLine();
    EXPECT_EQ(m_editor.Lines(), before);

    m_editor.SelectLine(2);
    Choose("Outpost", "Search and Destroy", "700");
    m_editor.UpdateSelectedLine();
    Lines expected = before;
    expected[2] = "mp_radar,SD_default,700";
    EXPECT_EQ(m_editor.Lines(), expected);
    EXPECT_EQ(m_editor.SelectedLine(), 2U);
}

TEST_F(MapListEditorTest, WithoutGameTypesNoLineIsBuilt) {
    m_editor.SetGameTypes({});
    EXPECT_EQ(m_editor.GameTypes().selected, std::nullopt);
    m_editor.SelectLine(0);
    const Lines before = m_editor.Lines();
    m_editor.AddNew();
    m_editor.UpdateSelectedLine();
    EXPECT_EQ(m_editor.Lines(), before);
}

struct MoveCase {
    const char* name;
    std::optional<std::size_t> selected;
    bool up;
    Lines expected;
    std::optional<std::size_t> expectedSelection;
    const char* expectedMap;  // the map chooser shows the moved line's map
};

class MoveLineTest : public MapListEditorTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(MoveLineTest, SwapsWithTheNeighbourAndSelectsTheMovedLine) {
    if (GetParam().selected) {
        m_editor.SelectLine(*GetParam().selected);
    }
    m_editor.SelectMap(IndexOf(m_editor.AllMaps(), "Hardhat"));

    if (GetParam().up) {
        m_editor.MoveUp();
    } else {
        m_editor.MoveDown();
    }

    EXPECT_EQ(m_editor.Lines(), GetParam().expected);
    EXPECT_EQ(m_editor.SelectedLine(), GetParam().expectedSelection);
    EXPECT_EQ(m_editor.AllMaps().Text(), GetParam().expectedMap);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveLineTest,
    testing::Values(
        MoveCase{
            "UpFromSecond", 1, true, {kRotation[1], kRotation[0], kRotation[2], kRotation[3]}, 0, "Arkaden"},
        MoveCase{"DownFromSecond",
                 1,
                 false,
                 {kRotation[0], kRotation[2], kRotation[1], kRotation[3]},
                 2,
                 "Arkaden"},
        MoveCase{"UpOnFirst", 0, true, kRotation, 0, "Hardhat"},
        MoveCase{"DownOnLast", 3, false, kRotation, 3, "Hardhat"},
        MoveCase{"UpWithoutSelection", std::nullopt, true, kRotation, std::nullopt, "Hardhat"},
        MoveCase{"DownWithoutSelection", std::nullopt, false, kRotation, std::nullopt, "Hardhat"}),
    [](const testing::TestParamInfo<MoveCase>& tested) { return std::string(tested.param.name); });

TEST_F(MapListEditorTest, RemoveTakesOutTheSelectedLineAndClearEmptiesTheList) {
    m_editor.RemoveSelected();
    EXPECT_EQ(m_editor.Lines(), kRotation);

    m_editor.SelectLine(1);
    m_editor.RemoveSelected();
    EXPECT_EQ(m_editor.Lines(), Lines({kRotation[0], kRotation[2], kRotation[3]}));
    EXPECT_EQ(m_editor.SelectedLine(), std::nullopt);

    m_editor.SelectLine(0);
    m_editor.Clear();
    EXPECT_TRUE(m_editor.Lines().empty());
    EXPECT_EQ(m_editor.SelectedLine(), std::nullopt);
    EXPECT_TRUE(m_dialogs.questions.empty());
}

TEST_F(MapListEditorTest, SaveAnsweredNoLeavesTheFile) {
    const std::string before = test::ReadFile(ListFile("default_rotation.dspl"));
    m_editor.Clear();
    m_editor.Save(m_dialogs);
    EXPECT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(test::ReadFile(ListFile("default_rotation.dspl")), before);
}

TEST_F(MapListEditorTest, SaveOfAnEmptyListWritesAnEmptyFile) {
    m_editor.Clear();
    m_dialogs.answerYes = true;
    m_editor.Save(m_dialogs);
    EXPECT_EQ(test::ReadFile(ListFile("default_rotation.dspl")), "");
}

TEST_F(MapListEditorTest, FailedSaveIsReportedAndKeepsFileAndList) {
    const std::string before = test::ReadFile(ListFile("default_rotation.dspl"));
    MakeReadOnly(ListFile("default_rotation.dspl"));
    m_editor.SelectLine(0);
    m_editor.RemoveSelected();
    const Lines edited = m_editor.Lines();
    m_dialogs.answerYes = true;

    m_editor.Save(m_dialogs);

    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Save maplist file.");
    EXPECT_NE(m_dialogs.messages[0].text.find("\"default_rotation.dspl\""), std::string::npos);
    EXPECT_NE(m_dialogs.messages[0].text.find("The old file is unchanged."), std::string::npos);
    EXPECT_EQ(m_dialogs.messages[0].icon, DialogIcon::Critical);
    EXPECT_EQ(test::ReadFile(ListFile("default_rotation.dspl")), before);
    EXPECT_EQ(m_editor.Lines(), edited);
}

TEST_F(MapListEditorTest, SaveWithoutAnyListFileAsksForAName) {
    for (const std::string& name : ListFiles(m_folder / "players2", ".dspl")) {
        fs::remove(ListFile(name));
    }
    m_editor.RefreshMapListFiles();
    ASSERT_EQ(m_editor.FileCount(), 0U);
    EXPECT_EQ(m_editor.SelectedFileName(), "");
    m_dialogs.textAnswer = "first";

    m_editor.Save(m_dialogs);

    EXPECT_TRUE(m_dialogs.questions.empty());
    EXPECT_EQ(m_dialogs.textPrompts.size(), 1U);
    EXPECT_EQ(test::ReadFile(ListFile("first.dspl")),
              "mp_dome,TDM_default,1\r\nmp_plaza2,DOM_default,100\r\nmp_mogadishu,SD_default,1000\r\n"
              "*,CTF_default,500\r\n");
    EXPECT_EQ(m_editor.SelectedFileName(), "first.dspl");
}

TEST_F(MapListEditorTest, SaveAsWritesTheNewFileAndSelectsTheFirstList) {
    m_editor.SelectMapList(std::string_view("tdm_night.dspl"));
    m_dialogs.textAnswer = "  night mix  ";

    m_editor.SaveAs(m_dialogs);

    ASSERT_EQ(m_dialogs.textPrompts.size(), 1U);
    EXPECT_EQ(m_dialogs.textPrompts[0].title, "Creating new map rotation");
    EXPECT_EQ(m_dialogs.textPrompts[0].text, "Enter the name of new map list:");
    EXPECT_TRUE(m_dialogs.questions.empty());
    EXPECT_EQ(test::ReadFile(ListFile("night mix.dspl")),
              "mp_lambeth,TDM_default,300\r\nmp_oldmap,TDM_default,5\r\nmp_alpha,my_mode,100\r\n");
    EXPECT_EQ(m_editor.MapListFiles().entries,
              Lines({"default_rotation.dspl", "night mix.dspl", "sd_only.dspl", "tdm_night.dspl"}));
    EXPECT_EQ(m_editor.SelectedFileName(), "default_rotation.dspl");
    EXPECT_EQ(m_editor.Lines(), kRotation);
}

TEST_F(MapListEditorTest, SaveAsOverAnExistingListAsksFirst) {
    const std::string before = test::ReadFile(ListFile("sd_only.dspl"));
    m_dialogs.textAnswer = "sd_only";

    m_editor.SaveAs(m_dialogs);

    ASSERT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(m_dialogs.questions[0].title, "File already existes!");
    EXPECT_EQ(m_dialogs.questions[0].text, "Are you sure you wana replace sd_only.dspl file?");
    EXPECT_EQ(m_dialogs.questions[0].icon, DialogIcon::Information);
    EXPECT_EQ(test::ReadFile(ListFile("sd_only.dspl")), before);

    m_dialogs.answerYes = true;
    m_editor.SaveAs(m_dialogs);
    EXPECT_EQ(test::ReadFile(ListFile("sd_only.dspl")),
              "mp_dome,TDM_default,1\r\nmp_plaza2,DOM_default,100\r\nmp_mogadishu,SD_default,1000\r\n"
              "*,CTF_default,500\r\n");
    EXPECT_EQ(m_editor.SelectedFileName(), "default_rotation.dspl");
}

TEST_F(MapListEditorTest, SaveAsWithoutANameDoesNothing) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(), std::optional<std::string>(" \t ")}) {
        m_dialogs.textAnswer = answer;
        m_editor.Clear();
        m_editor.SaveAs(m_dialogs);
        EXPECT_EQ(m_editor.FileCount(), 3U);
        EXPECT_TRUE(m_editor.Lines().empty());
    }
    EXPECT_TRUE(m_dialogs.questions.empty());
    EXPECT_TRUE(m_dialogs.messages.empty());
}

class InvalidNameTest : public MapListEditorTest, public testing::WithParamInterface<const char*> {};

TEST_P(InvalidNameTest, IsRefusedBeforeAnythingIsWritten) {
    fs::create_directories(m_folder / "players2/sub");
    m_dialogs.textAnswer = GetParam();
    m_dialogs.answerYes = true;

    m_editor.SaveAs(m_dialogs);

    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Creating new map rotation");
    EXPECT_NE(m_dialogs.messages[0].text.find(GetParam()), std::string::npos);
    EXPECT_EQ(ListFiles(m_folder / "players2", ".dspl").size(), 3U);
    EXPECT_TRUE(ListFiles(m_folder.Path(), ".dspl").empty());
    EXPECT_TRUE(ListFiles(m_folder / "players2/sub", ".dspl").empty());
}

INSTANTIATE_TEST_SUITE_P(Names, InvalidNameTest,
                         testing::Values("../escape", "sub/inner", "sub\\inner", "CON", "what?", "a:b",
                                         "tab\there"));

TEST_F(MapListEditorTest, SaveAsIntoAMissingPlayers2FolderIsReported) {
    fs::remove_all(m_folder / "players2");
    m_dialogs.textAnswer = "new";

    m_editor.SaveAs(m_dialogs);

    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, "Creating new map rotation");
    EXPECT_EQ(m_dialogs.messages[0].icon, DialogIcon::Critical);
    EXPECT_EQ(m_editor.FileCount(), 3U);
    EXPECT_EQ(m_editor.Lines(), kRotation);
}

TEST_F(MapListEditorTest, DeleteAsksAndSelectsTheFirstRemainingList) {
    m_editor.DeleteMapListFile(m_dialogs);
    ASSERT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(m_dialogs.questions[0].title, "Deleting default_rotation.dspl file...");
    EXPECT_EQ(m_dialogs.questions[0].text, "Are you sure?");
    EXPECT_EQ(m_dialogs.questions[0].icon, DialogIcon::Information);
    EXPECT_TRUE(fs::exists(ListFile("default_rotation.dspl")));

    m_dialogs.answerYes = true;
    m_editor.DeleteMapListFile(m_dialogs);
    EXPECT_FALSE(fs::exists(ListFile("default_rotation.dspl")));
    EXPECT_EQ(m_editor.MapListFiles().entries, Lines({"sd_only.dspl", "tdm_night.dspl"}));
    EXPECT_EQ(m_editor.SelectedFileName(), "sd_only.dspl");
    EXPECT_EQ(m_editor.Lines().front(), "mp_exchange,SD_default,100");
}

TEST_F(MapListEditorTest, DeletingTheLastListLeavesTheLinesShown) {
    m_dialogs.answerYes = true;
    m_editor.DeleteMapListFile(m_dialogs);
    m_editor.DeleteMapListFile(m_dialogs);
    const Lines shown = m_editor.Lines();
    m_editor.DeleteMapListFile(m_dialogs);

    EXPECT_EQ(m_editor.FileCount(), 0U);
    EXPECT_EQ(m_editor.MapListFiles().selected, std::nullopt);
    EXPECT_EQ(m_editor.Lines(), shown);
    EXPECT_EQ(m_editor.RotationName(), "");

    m_editor.DeleteMapListFile(m_dialogs);
    EXPECT_EQ(m_dialogs.questions.size(), 3U);
}

TEST_F(MapListEditorTest, FailedDeleteShowsThePlatformsErrorAndKeepsTheLists) {
    MakeReadOnly(ListFile("default_rotation.dspl"));
    m_editor.SelectLine(2);
    m_editor.Clear();
    m_dialogs.answerYes = true;

    m_editor.DeleteMapListFile(m_dialogs);

    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].title, std::to_string(denied.value()));
    EXPECT_EQ(m_dialogs.messages[0].text, denied.message());
    EXPECT_EQ(m_dialogs.messages[0].icon, DialogIcon::Critical);
    EXPECT_TRUE(fs::exists(ListFile("default_rotation.dspl")));
    EXPECT_EQ(m_editor.FileCount(), 3U);
    EXPECT_TRUE(m_editor.Lines().empty());
}

TEST_F(MapListEditorTest, DeletingAFileThatVanishedIsReported) {
    fs::remove(ListFile("default_rotation.dspl"));
    m_dialogs.answerYes = true;

    m_editor.DeleteMapListFile(m_dialogs);

    ASSERT_EQ(m_dialogs.messages.size(), 1U);
    EXPECT_EQ(m_dialogs.messages[0].text,
              std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_EQ(m_editor.SelectedFileName(), "default_rotation.dspl");
}

}  // namespace
}  // namespace zembrock
