#include "core/colour_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using Customs = std::array<Colour, kCustomColourCount>;

Customs AllWhite() {
    Customs colours{};
    colours.fill(kColourWhite);
    return colours;
}

// The user's settings store as a map from key to text; records every read.
class FakeUserSettings final : public UserSettings {
public:
    struct ReadRequest {
        std::string application;
        std::string section;
        std::string key;
    };

    std::string Read(const std::string& application, const std::string& section,
                     const std::string& key) override {
        reads.push_back({application, section, key});
        if (application != kCustomColourApplication || section != kCustomColourSection) {
            return {};
        }
        const auto stored = values.find(key);
        return stored == values.end() ? std::string() : stored->second;
    }

    std::map<std::string, std::string> values;  // of the custom colour section
    std::vector<ReadRequest> reads;
};

class ColourChooserTest : public ::testing::Test {
protected:
    FakeDialogs m_dialogs;
    FakeUserSettings m_settings;
    ColourChooser m_chooser{m_dialogs, m_settings};
};

TEST_F(ColourChooserTest, NothingStoredGivesWhiteEveryTimeItIsLoaded) {
    m_dialogs.editCustomColours = [](Customs& custom) { custom.fill(0x123456); };

    m_chooser.ChooseColour(0, false, true);
    m_chooser.ChooseColour(0, false, true);

    ASSERT_EQ(m_dialogs.colourRequests.size(), 2U);
    EXPECT_EQ(m_dialogs.colourRequests[0].custom, AllWhite());
    EXPECT_EQ(m_dialogs.colourRequests[1].custom, AllWhite());
}

TEST_F(ColourChooserTest, StoredTextGivesItsLeadingNumber) {
    struct Row {
        std::string key;
        std::string stored;
        Colour expected;
    };
    const std::vector<Row> rows = {
        {"0", "255", 255},           {"1", "65280abc", 65280},   {"2", " 42", 42},
        {"3", "16777215", 0xFFFFFF}, {"4", "abc", kColourBlack}, {"15", "0", kColourBlack},
    };
    for (const Row& row : rows) {
        m_settings.values[row.key] = row.stored;
    }

    m_chooser.ChooseColour(0, false, true);

    ASSERT_EQ(m_dialogs.colourRequests.size(), 1U);
    Customs expected = AllWhite();
    for (const Row& row : rows) {
        expected.at(std::stoul(row.key)) = row.expected;
    }
    EXPECT_EQ(m_dialogs.colourRequests[0].custom, expected);
    ASSERT_EQ(m_settings.reads.size(), kCustomColourCount);
    for (std::size_t i = 0; i < kCustomColourCount; ++i) {
        EXPECT_EQ(m_settings.reads[i].application, "Tolvane Non-ADL User Settings");
        EXPECT_EQ(m_settings.reads[i].section, "CustomColours");
        EXPECT_EQ(m_settings.reads[i].key, std::to_string(i));
    }
}

TEST_F(ColourChooserTest, ColoursDefinedInTheDialogLastUntilTheNextLoad) {
    m_settings.values["3"] = "255";
    m_dialogs.editCustomColours = [](Customs& custom) { custom[0] = 0xABCDEF; };
    m_chooser.ChooseColour(0, false, true);
    m_dialogs.editCustomColours = nullptr;

    m_chooser.ChooseColour(0, false, false);
    m_settings.reads.clear();
    const Customs kept = m_chooser.CustomColours();
    m_chooser.ChooseColour(0, false, true);

    ASSERT_EQ(m_dialogs.colourRequests.size(), 3U);
    Customs defined = AllWhite();
    defined[0] = 0xABCDEF;
    defined[3] = 255;
    EXPECT_EQ(m_dialogs.colourRequests[1].custom, defined);
    EXPECT_EQ(kept, defined);
    Customs reloaded = AllWhite();
    reloaded[3] = 255;
    EXPECT_EQ(m_dialogs.colourRequests[2].custom, reloaded);
    EXPECT_EQ(m_chooser.CustomColours(), reloaded);
    EXPECT_EQ(m_settings.reads.size(), kCustomColourCount);
}

TEST_F(ColourChooserTest, ReturnsTheConfirmedColourOrMinusOne) {
    const std::vector<std::pair<std::optional<Colour>, std::int64_t>> rows = {
        {std::nullopt, -1},
        {kColourBlack, 0},
        {kColourWhite, 16777215},
        {MakeColour(1, 2, 3), 0x030201},
    };
    for (const auto& [answer, expected] : rows) {
        m_dialogs.colourAnswer = answer;
        EXPECT_EQ(m_chooser.ChooseColour(0x112233, true, false), expected);
    }
    ASSERT_FALSE(m_dialogs.colourRequests.empty());
    EXPECT_EQ(m_dialogs.colourRequests[0].initial, 0x112233U);
    EXPECT_TRUE(m_dialogs.colourRequests[0].fullOpen);
}

// --- The console page's swatches -------------------------------------------------------------

class ConsoleColourTest : public ColourChooserTest {
protected:
    ConsoleColourTest() {
        m_colours.background = 111;
        m_colours.font = 222;
    }

    TempFolder m_folder;
    fs::path m_profile = m_folder / "profile.ini";
    ConsoleColours m_colours;
};

TEST_F(ConsoleColourTest, CancelChangesNothing) {
    m_settings.values["0"] = "255";
    m_dialogs.colourAnswer = std::nullopt;

    EXPECT_FALSE(PickConsoleColour(m_chooser, m_colours, ConsoleSwatch::Background, m_profile));
    EXPECT_FALSE(PickConsoleColour(m_chooser, m_colours, ConsoleSwatch::Font, m_profile));

    EXPECT_EQ(m_colours.background, 111U);
    EXPECT_EQ(m_colours.font, 222U);
    EXPECT_FALSE(fs::exists(m_profile));
}

TEST_F(ConsoleColourTest, CancelKeepsAnExistingProfileAsItIs) {
    const std::string before = "[console]\nbackcolor = 111\n";
    WriteFile(m_profile, before);
    m_dialogs.colourAnswer = std::nullopt;

    PickConsoleColour(m_chooser, m_colours, ConsoleSwatch::Background, m_profile);

    EXPECT_EQ(ReadFile(m_profile), before);
}

struct SwatchCase {
    std::string name;
    ConsoleSwatch swatch;
    std::string key;
    Colour initial;  // the swatch's colour before the click (see the fixture)
    Colour ConsoleColours::*changed;
    Colour ConsoleColours::*unchanged;
    Colour unchangedValue;
};

class ConsoleSwatchTest : public ConsoleColourTest, public ::testing::WithParamInterface<SwatchCase> {};

TEST_P(ConsoleSwatchTest, ConfirmedColourIsSetAndWritten) {
    const SwatchCase& row = GetParam();
    m_settings.values["5"] = "4242";
    m_dialogs.colourAnswer = 0x00ABCDEF;

    EXPECT_TRUE(PickConsoleColour(m_chooser, m_colours, row.swatch, m_profile));

    ASSERT_EQ(m_dialogs.colourRequests.size(), 1U);
    EXPECT_EQ(m_dialogs.colourRequests[0].initial, row.initial);
    EXPECT_TRUE(m_dialogs.colourRequests[0].fullOpen);
    EXPECT_EQ(m_dialogs.colourRequests[0].custom[5], 4242U);
    EXPECT_EQ(m_colours.*row.changed, 0x00ABCDEFU);
    EXPECT_EQ(m_colours.*row.unchanged, row.unchangedValue);
    EXPECT_EQ(ReadFile(m_profile), "[console]\r\n" + row.key + "=11259375\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Swatches, ConsoleSwatchTest,
    ::testing::Values(SwatchCase{"Background", ConsoleSwatch::Background, "BACKCOLOR", 111,
                                 &ConsoleColours::background, &ConsoleColours::font, 222},
                      SwatchCase{"Font", ConsoleSwatch::Font, "FONTCOLOR", 222, &ConsoleColours::font,
                                 &ConsoleColours::background, 111}),
    [](const ::testing::TestParamInfo<SwatchCase>& tested) { return tested.param.name; });

TEST_F(ConsoleColourTest, ConfirmedColourReplacesTheStoredOne) {
    WriteFile(m_profile, "[Console]\r\nBackColor=111\r\nfontcolor=222\r\n");
    m_dialogs.colourAnswer = 65280;

    PickConsoleColour(m_chooser, m_colours, ConsoleSwatch::Font, m_profile);

    EXPECT_EQ(ReadFile(m_profile), "[Console]\r\nBackColor=111\r\nFONTCOLOR=65280\r\n");
}

}  // namespace
}  // namespace zembrock
