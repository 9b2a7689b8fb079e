#include "profiles/game_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using Labels = std::vector<std::string>;

constexpr const char* kLocal = "10.1.2.3";

// --- The interface list ----------------------------------------------------------------------

struct ListCase {
    const char* name;
    const char* text;
    Labels labels;
};

class ParseInterfaceListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ParseInterfaceListTest, GivesTheLabelsInOrder) {
    EXPECT_EQ(ParseInterfaceList(GetParam().text), GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ParseInterfaceListTest,
    ::testing::Values(
        ListCase{"BracketedWithDefaultMark", "[0 = A (default)];[1 = B];[255 = ANY];", {"A", "B", "ANY"}},
        ListCase{"OtherNumbersBeforeTheEquals",
                 "[4 = 192.168.0.9];[17 = 10.0.0.5];[255 = ANY IP]",
                 {"192.168.0.9", "10.0.0.5", "ANY IP"}},
        ListCase{"EntryWithoutEqualsSkipped", "[0 = A];garbage;[1=B];[2 = C]", {"A", "C"}},
        ListCase{"TrailingSemicolonGivesNoEmptyEntry", "0 = A;1 = B;", {"A", "B"}},
        ListCase{"LabelCutAtASecondEquals", "[0 = A = extra];[1 = B]", {"A", "B"}},
        ListCase{"DefaultMarkRemovedAnywhere", "[0 = 10.0.0.5 (default) eth0]", {"10.0.0.5 eth0"}},
        ListCase{"EmptyLabelKept", "[0 = ];[1 = B]", {"", "B"}}, ListCase{"Empty", "", {}},
        ListCase{"OnlySeparators", ";;;", {}}),
    [](const ::testing::TestParamInfo<ListCase>& row) { return std::string(row.param.name); });

// --- Filling the choice at start-up ------------------------------------------------------------

struct FillCase {
    const char* name;
    std::optional<std::string> fileText;  // nullopt: no pellagrix.ini at all
    Labels entries;
    std::optional<std::size_t> selected;
};

const char* const kThreeEntries =
    "[Network]\r\nNetworkInterfaceList=[0 = A (default)];[1 = B];[255 = ANY];\r\n";

class FillInterfaceChoiceTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillInterfaceChoiceTest, FillsAndSelectsTheStoredInterface) {
    const FillCase& row = GetParam();
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;
    if (row.fileText) {
        WriteFile(file, *row.fileText);
    }
    // A choice left with entries and a selection from before: both must be replaced.
    Chooser choice{{"old 1", "old 2", "old 3", "old 4"}, std::size_t{1}};

    FillInterfaceChoice(choice, file, kLocal);

    EXPECT_EQ(choice.entries, row.entries);
    EXPECT_EQ(choice.selected, row.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, FillInterfaceChoiceTest,
    ::testing::Values(FillCase{"NoFileSelectsTheLocalAddress", std::nullopt, {kLocal, kAnyInterfaceLabel}, 0},
                      FillCase{"EmptyListStored255SelectsAnyIp",
                               "[Network]\r\nNetworkInterfaceList=\r\nNetworkInterface=255\r\n",
                               {kLocal, kAnyInterfaceLabel},
                               1},
                      FillCase{"NoListStored0SelectsTheLocalAddress",
                               "[Network]\r\nNetworkInterface=0\r\n",
                               {kLocal, kAnyInterfaceLabel},
                               0},
                      FillCase{"Stored255SelectsTheLastOfThree",
                               std::string(kThreeEntries) + "NetworkInterface=255\r\n",
                               {"A", "B", "ANY"},
                               2},
                      FillCase{"Stored1SelectsTheSecond",
                               std::string(kThreeEntries) + "NetworkInterface=1\r\n",
                               {"A", "B", "ANY"},
                               1},
                      FillCase{"Stored7WithTwoEntriesSelectsNothing",
                               "[Network]\r\nNetworkInterface=7\r\n",
                               {kLocal, kAnyInterfaceLabel},
                               std::nullopt},
                      FillCase{"Stored2WithTwoEntriesSelectsNothing",
                               "[Network]\r\nNetworkInterface=2\r\n",
                               {kLocal, kAnyInterfaceLabel},
                               std::nullopt},
                      FillCase{"StoredNegativeSelectsNothing",
                               "[Network]\r\nNetworkInterface=-1\r\n",
                               {kLocal, kAnyInterfaceLabel},
                               std::nullopt},
                      FillCase{"StoredTextSelectsNothing",
                               std::string(kThreeEntries) + "NetworkInterface=abc\r\n",
                               {"A", "B", "ANY"},
                               std::nullopt},
                      FillCase{
                          "KeysInOtherSectionsIgnored",
                          "[Settings]\r\nNetworkInterfaceList=[0 = X];[1 = Y]\r\nNetworkInterface=255\r\n",
                          {kLocal, kAnyInterfaceLabel},
                          0}),
    [](const ::testing::TestParamInfo<FillCase>& row) { return std::string(row.param.name); });

// --- Storing the choice ------------------------------------------------------------------------

struct ValueCase {
    const char* name;
    Chooser choice;
    const char* value;
};

class InterfaceChoiceValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(InterfaceChoiceValueTest, StoresPositionsAndTheLastAs255) {
    EXPECT_EQ(InterfaceChoiceValue(GetParam().choice), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, InterfaceChoiceValueTest,
    ::testing::Values(ValueCase{"LastOfThree", Chooser{{"A", "B", "ANY"}, std::size_t{2}}, "255"},
                      ValueCase{"SecondOfThree", Chooser{{"A", "B", "ANY"}, std::size_t{1}}, "1"},
                      ValueCase{"FirstOfThree", Chooser{{"A", "B", "ANY"}, std::size_t{0}}, "0"},
                      ValueCase{"SecondOfTwoIsTheLast", Chooser{{"A", "ANY"}, std::size_t{1}}, "255"},
                      ValueCase{"NoneSelected", Chooser{{"A", "B", "ANY"}, std::nullopt}, "-1"},
                      ValueCase{"EmptyChoice", Chooser{{}, std::nullopt}, "255"}),
    [](const ::testing::TestParamInfo<ValueCase>& row) { return std::string(row.param.name); });

// A settings file as the modification leaves it: comments, other sections, odd spacing, the
// key in lower case, LF line ends in the last section and no line end at the very end.
const std::string kPellagrix =
    "; Pellagrix client and server settings\r\n"
    "[Settings]\r\n"
    "Name = Soap\r\n"
    "ID=1A2B3C4D\r\n"
    "FOV =  80\r\n"
    "\r\n"
    "[Network]\r\n"
    "NetworkInterfaceList=[0 = 10.0.0.5 (default)];[1 = 192.168.1.2];[255 = ANY IP];\r\n"
    "  networkinterface =  0  \r\n"
    "Timeout=30\r\n"
    "\r\n"
    "[Extra]\n"
    "Key = \"quoted value\"\n"
    "last=line";

TEST(StoreInterfaceChoiceTest, ReplacesOnlyTheKeyLineOfARealisticFile) {
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;
    WriteFile(file, kPellagrix);

    ASSERT_TRUE(StoreInterfaceChoice(Chooser{{"10.0.0.5", "192.168.1.2", "ANY IP"}, std::size_t{2}}, file));

    EXPECT_EQ(ReadFile(file), ReplaceAll(kPellagrix, "  networkinterface =  0  ", "NETWORKINTERFACE=255"));
}

TEST(StoreInterfaceChoiceTest, AddsTheKeyUpperCaseInSectionNetwork) {
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;
    const std::string withoutKey =
        "[Settings]\r\nName=Soap\r\n\r\n[Network]\r\nTimeout=30\r\n\r\n[Extra]\r\nA=1\r\n";
    WriteFile(file, withoutKey);

    ASSERT_TRUE(StoreInterfaceChoice(Chooser{{"A", "B", "ANY"}, std::size_t{1}}, file));

    EXPECT_EQ(ReadFile(file),
              ReplaceAll(withoutKey, "Timeout=30\r\n", "Timeout=30\r\nNETWORKINTERFACE=1\r\n"));
}

TEST(StoreInterfaceChoiceTest, CreatesAMissingFileWithTheSectionAndKey) {
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;

    ASSERT_TRUE(StoreInterfaceChoice(Chooser{{"A", "B", "ANY"}, std::nullopt}, file));

    EXPECT_EQ(ReadFile(file), "[Network]\r\nNETWORKINTERFACE=-1\r\n");
}

TEST(StoreInterfaceChoiceTest, AReadOnlyFileStaysAsItWas) {
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;
    WriteFile(file, kPellagrix);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_FALSE(StoreInterfaceChoice(Chooser{{"A", "B", "ANY"}, std::size_t{0}}, file));
    EXPECT_EQ(ReadFile(file), kPellagrix);
}

// What start-up reads back is what a store wrote: the two agree on "255" and on positions.
TEST(StoreInterfaceChoiceTest, RoundTripsThroughFillInterfaceChoice) {
    TempFolder folder;
    const fs::path file = folder / kGameSettingsFileName;
    WriteFile(file, "[Network]\r\nNetworkInterfaceList=[3 = A];[9 = B];[255 = ANY];\r\n");
    for (std::size_t chosen = 0; chosen < 3; ++chosen) {
        Chooser stored;
        FillInterfaceChoice(stored, file, kLocal);
        stored.selected = chosen;
        ASSERT_TRUE(StoreInterfaceChoice(stored, file));

        Chooser reread;
        FillInterfaceChoice(reread, file, kLocal);
        EXPECT_EQ(reread.selected, chosen);
    }
}

}  // namespace
}  // namespace zembrock
