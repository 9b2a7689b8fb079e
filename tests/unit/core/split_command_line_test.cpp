#include "core/split_command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zembrock {
namespace {

struct SplitCase {
    const char* name;
    std::string line;
    std::vector<std::string> arguments;
};

// The cases follow what CommandLineToArgvW gives for the same line on Windows.
const std::vector<SplitCase> kCases = {
    {"EmptyLineHasNoArguments", "", {}},
    {"BlanksAndTabsSeparate", "prog a\tb   c", {"prog", "a", "b", "c"}},
    {"TrailingBlanksAddNothing", "prog a  \t", {"prog", "a"}},
    {"LeadingBlankGivesAnEmptyProgram", " prog a", {"", "prog", "a"}},
    {"QuotesGroupBlanks", "prog \"my server.cfg\" x", {"prog", "my server.cfg", "x"}},
    {"QuotesInsideAWord", "prog sv_config\"a b\"c", {"prog", "sv_configa bc"}},
    {"EmptyQuotesAreAnArgument", "prog \"\" b", {"prog", "", "b"}},
    {"BackslashQuoteIsAQuote", R"(prog a\"b)", {"prog", "a\"b"}},
    {"TwoBackslashesThenQuoteOpen", R"(prog a\\"b c")", {"prog", R"(a\b c)"}},
    {"ThreeBackslashesThenQuote", R"(prog \\\"x)", {"prog", R"(\"x)"}},
    {"BackslashesBeforeOtherCharactersStay",
     R"(prog C:\dir\\file a\\)",
     {"prog", R"(C:\dir\\file)", R"(a\\)"}},
    {"DoubledQuoteInsideQuotesIsLiteralAndCloses", R"(prog "a""b c")", {"prog", R"(a"b)", "c"}},
    {"QuotedProgramKeepsBlanksAndBackslashes",
     R"("C:\Program Files\x.exe" \"y)",
     {R"(C:\Program Files\x.exe)", "\"y"}},
    {"QuotedProgramEndsAtTheNextQuote", "\"prog\"next b", {"prog", "next", "b"}},
    {"ProgramIgnoresQuotesInside", "pro\"g a\" b", {"pro\"g", "a b"}},
    {"ServerCommandLine",
     "Zembrock_dedicated.exe +set dedicated 2 +set net_port  +set sv_config \"my server.cfg\"",
     {"Zembrock_dedicated.exe", "+set", "dedicated", "2", "+set", "net_port", "+set", "sv_config",
      "my server.cfg"}},
};

void PrintTo(const SplitCase& row, std::ostream* out) {
    *out << row.name;
}

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsAsWindowsDoes) {
    EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().arguments) << "line: " << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitCommandLineTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SplitCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace zembrock
