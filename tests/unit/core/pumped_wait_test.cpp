#include "core/pumped_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "support/fake_clock.h"

namespace zembrock {
namespace {

using test::FakeClock;
using test::FakeEventPump;

struct WaitCase {
    std::string name;
    std::uint32_t startMs;
    std::int32_t ms;
    std::uint32_t pumpAdvancesMs;  // time one pass of the pump takes
    std::uint32_t slice;           // the longest sleep allowed
    int passes;
    std::uint32_t elapsed;
};

class PumpedWaitTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(PumpedWaitTest, PumpsBetweenSlicesUntilTheWaitIsOver) {
    const WaitCase& row = GetParam();
    FakeClock clock(row.startMs);
    FakeEventPump pump;
    std::vector<std::size_t> sleepsBeforePass;
    pump.onPass = [&] {
        sleepsBeforePass.push_back(clock.sleeps.size());
        clock.Advance(row.pumpAdvancesMs);
    };

    PumpedWait(clock, pump, row.ms);

    EXPECT_EQ(clock.NowMs() - row.startMs, row.elapsed);
    EXPECT_EQ(pump.passes, row.passes);
    // The wait starts with a pass and never sleeps twice without a pass in between.
    ASSERT_FALSE(sleepsBeforePass.empty());
    EXPECT_EQ(sleepsBeforePass[0], 0U);
    for (std::size_t pass = 1; pass < sleepsBeforePass.size(); ++pass) {
        EXPECT_LE(sleepsBeforePass[pass] - sleepsBeforePass[pass - 1], 1U) << "pass " << pass;
    }
    EXPECT_LE(clock.sleeps.size(), static_cast<std::size_t>(pump.passes));
    for (const std::uint32_t sleep : clock.sleeps) {
        EXPECT_LE(sleep, row.slice);
    }
    const std::uint32_t slept = std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), std::uint32_t{0});
    EXPECT_EQ(slept, row.elapsed - static_cast<std::uint32_t>(row.passes) * row.pumpAdvancesMs);
}

constexpr std::uint32_t kNearWrap = std::numeric_limits<std::uint32_t>::max() - 150;

INSTANTIATE_TEST_SUITE_P(Slices, PumpedWaitTest,
                         ::testing::Values(
                             // A zero wait still serves pending events once.
                             WaitCase{"Zero", 0, 0, 0, 0, 1, 0},
                             // Under 10 ms the slice is 0: only passes of the pump let time go by.
                             WaitCase{"FiveMsPumpsWithoutSleeping", 0, 5, 1, 0, 5, 5},
                             WaitCase{"TwoHundredMsInSlicesOfTwenty", 1000, 200, 0, 20, 10, 200},
                             WaitCase{"LastSliceIsWhatRemains", 0, 999, 0, 99, 11, 999},
                             WaitCase{"LongWaitInSlicesOfAHundred", 0, 3000, 0, 100, 30, 3000},
                             WaitCase{"PassesThatTakeTimeShortenTheSleeps", 0, 200, 5, 20, 8, 200},
                             WaitCase{"ClockWrapsDuringTheWait", kNearWrap, 300, 0, 30, 10, 300},
                             WaitCase{"ClockWrapsWithLongWait", kNearWrap, 3000, 0, 100, 30, 3000},
                             WaitCase{"NegativeWaitPumpsOnce", 0, -5, 0, 0, 1, 0},
                             WaitCase{"MostNegativeWaitPumpsOnce", kNearWrap,
                                      std::numeric_limits<std::int32_t>::min(), 0, 0, 1, 0}),
                         [](const ::testing::TestParamInfo<WaitCase>& tested) { return tested.param.name; });

struct NestedCase {
    std::string name;
    std::int32_t outerMs;
    std::int32_t innerMs;
    int innerAtPass;
    std::uint32_t elapsed;
    std::size_t sleepsAfterInner;  // by the outer wait, once the inner one has returned
};

class NestedPumpedWaitTest : public ::testing::TestWithParam<NestedCase> {};

// An event handler run by the pump may wait itself; the outer wait still ends on time.
TEST_P(NestedPumpedWaitTest, HandlerThatWaitsInsideAWait) {
    const NestedCase& row = GetParam();
    FakeClock clock(100);
    FakeEventPump pump;
    int depth = 0;
    std::uint32_t innerElapsed = 0;
    std::size_t sleepsAtInnerEnd = 0;
    pump.onPass = [&] {
        if (depth == 0 && pump.passes == row.innerAtPass) {
            ++depth;
            const std::uint32_t innerStart = clock.NowMs();
            PumpedWait(clock, pump, row.innerMs);
            innerElapsed = clock.NowMs() - innerStart;
            sleepsAtInnerEnd = clock.sleeps.size();
            --depth;
        }
    };

    PumpedWait(clock, pump, row.outerMs);

    EXPECT_EQ(innerElapsed, static_cast<std::uint32_t>(row.innerMs));
    EXPECT_EQ(clock.NowMs() - 100U, row.elapsed);
    EXPECT_EQ(clock.sleeps.size() - sleepsAtInnerEnd, row.sleepsAfterInner);
}

INSTANTIATE_TEST_SUITE_P(
    Reentrancy, NestedPumpedWaitTest,
    ::testing::Values(
        // 1000 ms in slices of 100: two slices before, 250 ms inside, 550 ms after it.
        NestedCase{"InnerEndsFirst", 1000, 250, 3, 1000, 6},
        // The inner wait outlasts the outer one: the outer returns without sleeping again.
        NestedCase{"InnerOutlastsOuter", 300, 500, 1, 500, 0}),
    [](const ::testing::TestParamInfo<NestedCase>& tested) { return tested.param.name; });

}  // namespace
}  // namespace zembrock
