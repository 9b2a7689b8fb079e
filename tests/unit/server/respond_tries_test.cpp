#include "server/respond_tries.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace zembrock {
namespace {

struct TriesCase {
    const char* name;
    std::string text;
    std::optional<std::int16_t> tries;
};

void PrintTo(const TriesCase& row, std::ostream* os) {
    *os << row.name;
}

class ParseRespondTriesTest : public ::testing::TestWithParam<TriesCase> {};

TEST_P(ParseRespondTriesTest, RoundsHalvesToEvenWithin16Bits) {
    EXPECT_EQ(ParseRespondTries(GetParam().text), GetParam().tries);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseRespondTriesTest,
    ::testing::Values(TriesCase{"Whole", "8", 8}, TriesCase{"HalfUpToEven", "7.5", 8},
                      TriesCase{"HalfDownToEven", "6.5", 6}, TriesCase{"AboveHalf", "6.51", 7},
                      TriesCase{"HalfOfZero", "0.5", 0}, TriesCase{"Zero", "0", 0},
                      TriesCase{"TrailingPoint", "12.", 12}, TriesCase{"LeadingPoint", ".6", 1},
                      TriesCase{"Largest", "32767", 32767}, TriesCase{"Empty", "", std::nullopt},
                      TriesCase{"Letters", "abc", std::nullopt},
                      TriesCase{"TwoPoints", "1.2.3", std::nullopt},
                      TriesCase{"OnlyAPoint", ".", std::nullopt}, TriesCase{"Negative", "-1", std::nullopt},
                      TriesCase{"Beyond16Bits", "40000", std::nullopt},
                      TriesCase{"RoundsBeyond16Bits", "32767.5", std::nullopt},
                      // More digits than a double can hold: still just too large.
                      TriesCase{"FarBeyondAnyNumber", std::string(400, '9'), std::nullopt}),
    [](const ::testing::TestParamInfo<TriesCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zembrock
