#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zembrock {
namespace {

struct ParseCase {
    std::string name;
    std::string text;
    bool autostart;
    std::vector<std::string> profiles;
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, FindsAutostartAndProfiles) {
    const ParseCase& row = GetParam();
    const CommandLineRequest request = ParseCommandLine(row.text);
    EXPECT_EQ(request.autostart, row.autostart);
    EXPECT_EQ(request.profiles, row.profiles);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, ParseCommandLineTest,
    ::testing::Values(ParseCase{"ProfileAndAutostart", "-profile \"B\" -autostart", true, {"B"}},
                      ParseCase{"AutostartWithoutDash", "autostart", true, {}},
                      ParseCase{"ShortenedAutostartIgnored", "-auto", false, {}},
                      ParseCase{"UpperCaseAutostart", "-AUTOSTART", true, {}},
                      ParseCase{"UpperCaseProfile", "-PROFILE \"x\"", false, {"x"}},
                      ParseCase{"ProfileWithoutQuotesIgnored", "-profile B -autostart", true, {}},
                      ParseCase{"ProfileWithOneQuoteIgnored", "-profile \"B -autostart", true, {}},
                      ParseCase{"NameIsBetweenFirstAndLastQuote",
                                "-profile x\"My \"Best\" Server\"y",
                                false,
                                {"My \"Best\" Server"}},
                      ParseCase{"EmptyQuotedName", "-profile \"\"", false, {""}},
                      ParseCase{"SeveralProfilesInOrder",
                                "-profile \"B\" -profile \"A\" -profile \"B\"",
                                false,
                                {"B", "A", "B"}},
                      // Every dash cuts, even inside quotes: the name's halves have one quote each.
                      ParseCase{"DashInsideNameCutsIt", "-profile \"my-server\"", false, {}},
                      ParseCase{"LeadingBlankIsNotTrimmed", " autostart", false, {}},
                      ParseCase{"BlankAfterDashIsNotTrimmed", "-profile \"B\" - autostart", false, {"B"}},
                      ParseCase{"TextBeforeFirstDashIsAPiece", "profile \"A\" -autostart", true, {"A"}},
                      ParseCase{"UnknownPiecesIgnored", "-console -noautostart -xprofile \"x\"", false, {}},
                      ParseCase{"OptionsMatchByTheirStart", "-autostartnow -profiles\"x\"", true, {"x"}},
                      ParseCase{"EmptyText", "", false, {}}),
    [](const ::testing::TestParamInfo<ParseCase>& tested) { return tested.param.name; });

struct ArgumentCase {
    std::string name;
    std::vector<std::string> arguments;
    std::string text;
};

class ArgumentTextTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentTextTest, JoinsArgumentsAndQuotesProfileName) {
    const ArgumentCase& row = GetParam();
    EXPECT_EQ(ArgumentText(row.arguments), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentTextTest,
    ::testing::Values(
        ArgumentCase{"NameWithBlankQuoted",
                     {"-profile", "My Server", "-autostart"},
                     "-profile \"My Server\" -autostart"},
        ArgumentCase{"QuotedNameKept", {"-profile", "\"My Server\""}, "-profile \"My Server\""},
        ArgumentCase{"UpperCaseProfileOption", {"-PROFILE", "x"}, "-PROFILE \"x\""},
        ArgumentCase{"OnlyTheArgumentAfterProfileQuoted", {"-profile", "a", "b"}, "-profile \"a\" b"},
        ArgumentCase{"OptionAfterProfileNotQuoted", {"-profile", "-autostart"}, "-profile -autostart"},
        ArgumentCase{"SingleArgument", {"autostart"}, "autostart"}, ArgumentCase{"NoArguments", {}, ""}),
    [](const ::testing::TestParamInfo<ArgumentCase>& tested) { return tested.param.name; });

TEST(CommandLineRoundTripTest, SeparateArgumentsMeanWhatTheyMeanOnWindows) {
    const CommandLineRequest request =
        ParseCommandLine(ArgumentText({"-profile", "My Server", "-profile", "\"Second\"", "-autostart"}));
    EXPECT_TRUE(request.autostart);
    EXPECT_EQ(request.profiles, (std::vector<std::string>{"My Server", "Second"}));
}

}  // namespace
}  // namespace zembrock
