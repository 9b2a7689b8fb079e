#include "maps/map_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zembrock {
namespace {
namespace fs = std::filesystem;

const fs::path kGameFixture = fs::path(ZEMBROCK_FIXTURES_DIR) / "game";

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    test::WriteFile(file, "x");
}

struct NameCase {
    const char* name;
    std::string (*lookup)(std::string_view);
    const char* argument;
    const char* expected;
};

class NameTableTest : public testing::TestWithParam<NameCase> {};

TEST_P(NameTableTest, GivesTheReadableNameOrTheArgumentUnchanged) {
    EXPECT_EQ(GetParam().lookup(GetParam().argument), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, NameTableTest,
    testing::Values(NameCase{"MapCodeFirstRow", MapDisplayName, "plaza2", "Arkaden"},
                    NameCase{"MapCodeLastRow", MapDisplayName, "alpha", "Lockdown"},
                    NameCase{"MapCodeAnyCase", MapDisplayName, "PLAZA2", "Arkaden"},
                    NameCase{"UnknownMapKeepsItsCase", MapDisplayName, "Dome", "Dome"},
                    NameCase{"MapCodeIsNotAPrefixMatch", MapDisplayName, "plaza", "plaza"},
                    NameCase{"GameModeFile", GameModeFileDisplayName, "TDM_default", "Team Deathmatch"},
                    NameCase{"GameModeFileLastRow", GameModeFileDisplayName, "DEM_default", "Demolition"},
                    NameCase{"GameModeFileIsCaseSensitive", GameModeFileDisplayName, "tdm_default",
                             "tdm_default"},
                    NameCase{"GameTypeCode", GameTypeDisplayName, "tjugg", "Team Juggernaut"},
                    NameCase{"GameTypeCodeOfFirstRow", GameTypeDisplayName, "war", "Team Deathmatch"},
                    NameCase{"UnknownGameTypeCode", GameTypeDisplayName, "gtnw", "gtnw"},
                    NameCase{"GameTypeCodeIsCaseSensitive", GameTypeDisplayName, "WAR", "WAR"},
                    NameCase{"FileNameIsNoGameTypeCode", GameTypeDisplayName, "SD_default", "SD_default"}),
    [](const testing::TestParamInfo<NameCase>& tested) { return std::string(tested.param.name); });

TEST(BuildMapCatalogue, KeepsOnlyMapFilesAndEndsWithTheWildcard) {
    test::TempFolder folder;
    const fs::path english = folder / "zone/english";
    for (const char* name : {"common_mp.ff", "mp_dome.ff", "mp_plaza2.ff", "mp_plaza2_load.ff", "MP_dome.ff",
                             "mp_dome_load_x.ff", "mp_.ff", "mp_radar.txt"}) {
        Touch(english / name);
    }
    fs::create_directories(english / "mp_folder.ff");

    const MapCatalogue expected = {{"mp_dome", "Dome"}, {"mp_plaza2", "Arkaden"}, {"*", "*"}};
    EXPECT_EQ(BuildMapCatalogue(folder.Path()), expected);
}

TEST(BuildMapCatalogue, OrdersMapsByNameWithoutRegardToCase) {
    test::TempFolder folder;
    for (const char* name : {"mp_Zulu.ff", "mp_alpha.ff", "mp_Bravo.ff"}) {
        Touch(folder / "zone/english" / name);
    }
    const MapCatalogue expected = {
        {"mp_alpha", "Lockdown"}, {"mp_Bravo", "Mission"}, {"mp_Zulu", "Zulu"}, {"*", "*"}};
    EXPECT_EQ(BuildMapCatalogue(folder.Path()), expected);
}

// Each language folder holds a map of its own, so the catalogue tells which folder was used.
const std::map<std::string, CatalogueEntry> kMapOfLanguage = {
    {"english", {"mp_plaza2", "Arkaden"}},
    {"russian", {"mp_radar", "Outpost"}},
    {"spanish", {"mp_paris", "Resistance"}},
    {"german", {"mp_alpha", "Lockdown"}},
};

struct LanguageCase {
    const char* name;
    std::vector<std::string> foldersWithFiles;
    std::vector<std::string> emptyFolders;  // they hold a subfolder, but no file
    const char* expectedLanguage;           // nullptr: only the wildcard
};

class MapFolderTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(MapFolderTest, TakesTheLastLanguageFolderThatHoldsFiles) {
    test::TempFolder folder;
    for (const std::string& language : GetParam().foldersWithFiles) {
        Touch(folder / "zone" / language / (kMapOfLanguage.at(language).key + ".ff"));
    }
    for (const std::string& language : GetParam().emptyFolders) {
        fs::create_directories(folder / "zone" / language / "subfolder");
    }
    MapCatalogue expected;
    if (GetParam().expectedLanguage != nullptr) {
        expected.push_back(kMapOfLanguage.at(GetParam().expectedLanguage));
    }
    expected.push_back({"*", "*"});
    EXPECT_EQ(BuildMapCatalogue(folder.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, MapFolderTest,
    testing::Values(LanguageCase{"EnglishAlone", {"english"}, {}, "english"},
                    LanguageCase{"GermanWinsOverEnglish", {"english", "german"}, {}, "german"},
                    LanguageCase{"EmptyGermanDoesNotCount", {"english"}, {"german"}, "english"},
                    LanguageCase{"SpanishWinsOverRussian", {"russian", "spanish"}, {"german"}, "spanish"},
                    LanguageCase{"RussianWinsOverEnglish", {"english", "russian"}, {}, "russian"},
                    LanguageCase{"NoFolderHoldsFiles", {}, {"english", "german"}, nullptr}),
    [](const testing::TestParamInfo<LanguageCase>& tested) { return std::string(tested.param.name); });

TEST(BuildMapCatalogue, FindsEveryMapOfTheGameFixtureWithItsPicture) {
    const MapCatalogue catalogue = BuildMapCatalogue(kGameFixture);
    const std::vector<std::string> expected = {"Lockdown", "Mission", "Dome",    "Downturn",
                                               "Hardhat",  "Fallen",  "Bakaara", "Resistance",
                                               "Arkaden",  "Outpost", "*"};
    EXPECT_EQ(DisplayNames(catalogue), expected);
    for (const CatalogueEntry& entry : catalogue) {
        EXPECT_TRUE(MapPreviewFile(kGameFixture, entry.displayName).has_value()) << entry.displayName;
    }
}

TEST(BuildGameTypeList, ListsGameModeFilesByNameWithTheirGameTypeNames) {
    test::TempFolder folder;
    for (const char* name :
         {"TDM_default.dsr", "my_mode.dsr", "CTF_default.dsr", "rotation.dspl", "notes.txt"}) {
        Touch(folder / "players2" / name);
    }
    const GameTypeList expected = {
        {"CTF_default", "Capture The Flag"}, {"my_mode", "my_mode"}, {"TDM_default", "Team Deathmatch"}};
    EXPECT_EQ(BuildGameTypeList(folder.Path()), expected);
}

TEST(BuildGameTypeList, IsEmptyWithoutPlayers2Folder) {
    test::TempFolder folder;
    EXPECT_TRUE(BuildGameTypeList(folder.Path()).empty());
}

TEST(CatalogueLookups, ConvertBetweenPositionsAndKeys) {
    const MapCatalogue catalogue = {{"mp_dome", "Dome"}, {"mp_plaza2", "Arkaden"}, {"*", "*"}};
    EXPECT_EQ(KeyAt(catalogue, 1), "mp_plaza2");
    EXPECT_EQ(KeyAt(catalogue, 3), "");
    EXPECT_EQ(PositionOfKey(catalogue, "MP_PLAZA2"), 1U);
    EXPECT_EQ(PositionOfKey(catalogue, "*"), 2U);
    EXPECT_EQ(PositionOfKey(catalogue, "mp_plaza"), std::nullopt);
    EXPECT_EQ(PositionOfKey(catalogue, ""), std::nullopt);
}

TEST(MapPreviewFile, FindsThePictureOfAMapName) {
    test::TempFolder folder;
    Touch(folder / "mapimages/random.gif");
    Touch(folder / "mapimages/Arkaden.gif");
    Touch(folder / "mapimages/dome.gif");
    Touch(folder / "outside.gif");

    EXPECT_EQ(MapPreviewFile(folder.Path(), "*"), folder / "mapimages/random.gif");
    EXPECT_EQ(MapPreviewFile(folder.Path(), "Arkaden"), folder / "mapimages/Arkaden.gif");
    // On a file system that ignores case the name may come back as asked: the same file.
    const auto dome = MapPreviewFile(folder.Path(), "Dome");
    ASSERT_TRUE(dome.has_value());
    EXPECT_TRUE(fs::equivalent(*dome, folder / "mapimages/dome.gif"));
    EXPECT_EQ(MapPreviewFile(folder.Path(), "Bakaara"), std::nullopt);
    EXPECT_EQ(MapPreviewFile(folder.Path(), ""), std::nullopt);
    // A name reported by a server on the network must not reach outside the pictures folder.
    EXPECT_EQ(MapPreviewFile(folder.Path(), "../outside"), std::nullopt);
}

}  // namespace
}  // namespace zembrock
