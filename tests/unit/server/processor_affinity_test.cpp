#include "server/processor_affinity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_processes.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

using test::FakeClock;
using test::FakeEventPump;
using test::FakeProcesses;
using test::TempFolder;
using Texts = std::vector<std::string>;

constexpr std::uint32_t kServerId = 200;

std::vector<bool> Ticks(std::initializer_list<std::size_t> positions, std::size_t count) {
    std::vector<bool> ticks(count, false);
    for (const std::size_t p : positions) {
        ticks.at(p) = true;
    }
    return ticks;
}

Texts Cpus(std::initializer_list<int> numbers) {
    Texts names;
    for (const int n : numbers) {
        names.push_back("CPU " + std::to_string(n));
    }
    return names;
}

// --- The entries -------------------------------------------------------------------------------

struct EntriesCase {
    const char* name;
    std::uint64_t systemMask;
    Texts entries;
};

class CoreEntriesTest : public ::testing::TestWithParam<EntriesCase> {};

TEST_P(CoreEntriesTest, ListsTheFirstEightProcessorsOfTheMask) {
    EXPECT_EQ(CoreEntries(GetParam().systemMask), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, CoreEntriesTest,
    ::testing::Values(EntriesCase{"NoMask", 0, {}}, EntriesCase{"SingleProcessor", 1, {}},
                      EntriesCase{"TwoProcessors", 0x3, Cpus({0, 1})},
                      EntriesCase{"EightProcessors", 0xFF, Cpus({0, 1, 2, 3, 4, 5, 6, 7})},
                      EntriesCase{"SixteenProcessorsListOnlyEight", 0xFFFF, Cpus({0, 1, 2, 3, 4, 5, 6, 7})},
                      EntriesCase{"GapsKeepProcessorNumbers", 0xA6, Cpus({1, 2, 5, 7})},
                      EntriesCase{"OnlyProcessorsAboveEight", 0xF00, {}}),
    [](const ::testing::TestParamInfo<EntriesCase>& row) { return std::string(row.param.name); });

// --- The profile's text form -------------------------------------------------------------------

struct TextCase {
    const char* name;
    const char* text;
    std::vector<bool> selected;  // on an eight-entry list
    const char* written;         // SelectionText afterwards
    std::uint64_t mask;
};

class CoreListTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CoreListTextTest, SelectsThePositionsOfTheText) {
    CoreList list;
    list.Fill(CoreEntries(0xFF));

    list.SelectFromText(GetParam().text);

    EXPECT_EQ(list.selected, GetParam().selected);
    EXPECT_EQ(list.SelectionText(), GetParam().written);
    EXPECT_EQ(list.Mask(), GetParam().mask);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CoreListTextTest,
    ::testing::Values(TextCase{"OneAndThree", "1,3,", Ticks({1, 3}, 8), "1,3,", 0xA},
                      TextCase{"Empty", "", Ticks({}, 8), "", 0},
                      TextCase{"OnlyWholeNumbersCount", "x,1x,-1,2", Ticks({2}, 8), "2,", 0x4},
                      TextCase{"UnorderedWithoutTrailingComma", "7,0", Ticks({0, 7}, 8), "0,7,", 0x81},
                      TextCase{"BeyondTheListSkipped", "8,3,99,", Ticks({3}, 8), "3,", 0x8},
                      TextCase{"RepeatedOnce", "5,5,,", Ticks({5}, 8), "5,", 0x20},
                      TextCase{"AllEight", "0,1,2,3,4,5,6,7,", Ticks({0, 1, 2, 3, 4, 5, 6, 7}, 8),
                               "0,1,2,3,4,5,6,7,", 0xFF}),
    [](const ::testing::TestParamInfo<TextCase>& row) { return std::string(row.param.name); });

TEST(CoreListTest, SelectFromTextAddsToTheSelection) {
    CoreList list;
    list.Fill(CoreEntries(0xF));
    list.SelectFromText("0,");

    list.SelectFromText("2,");

    EXPECT_EQ(list.selected, Ticks({0, 2}, 4));
}

TEST(CoreListTest, FillReplacesEntriesAndClearsTheSelection) {
    CoreList list;
    list.Fill(CoreEntries(0xFF));
    list.SelectAll();

    list.Fill(CoreEntries(0x3));

    EXPECT_EQ(list.entries, Cpus({0, 1}));
    EXPECT_EQ(list.selected, Ticks({}, 2));
}

// --- Filling and setting -----------------------------------------------------------------------

// Both lists of an eight-processor machine; the server runs as process kServerId.
class ProcessorAffinityTest : public ::testing::Test {
protected:
    ProcessorAffinityTest() {
        m_processes.affinities[kServerId] = 0xFF;
        FillCoreLists(m_console, m_program, m_processes);
    }

    Texts LogTexts() const {
        Texts texts;
        for (const LogEntry& entry : m_log.Entries()) {
            texts.push_back(entry.text);
        }
        return texts;
    }

    TempFolder m_folder;
    FakeClock m_clock;
    FakeEventPump m_pump;
    EventLog m_log{m_folder / kSystemLogFileName, m_clock, m_pump, [] { return std::string("now"); }};
    FakeProcesses m_processes{0xFF};
    CoreList m_console;
    CoreList m_program;
};

TEST_F(ProcessorAffinityTest, FillGivesBothListsTheSameEntries) {
    EXPECT_EQ(m_console.entries, Cpus({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(m_program.entries, m_console.entries);
    EXPECT_EQ(m_console.selected, Ticks({}, 8));
}

TEST_F(ProcessorAffinityTest, AMachineWithManyProcessorsListsEight) {
    FakeProcesses many(0xFFFF);
    FillCoreLists(m_console, m_program, many);

    EXPECT_EQ(m_console.entries.size(), 8U);
    EXPECT_EQ(m_program.entries.size(), 8U);
}

TEST_F(ProcessorAffinityTest, AllThenSetAppliesMask255) {
    m_processes.affinities[FakeProcesses::kOwnId] = 0x1;
    m_program.SelectAll();

    SetAffinity(m_program, AffinityTarget::Program, FakeProcesses::kOwnId, m_processes, m_log);

    EXPECT_EQ(m_processes.setRequests, std::vector<std::uint64_t>{255});
    EXPECT_EQ(m_processes.affinities[FakeProcesses::kOwnId], 255U);
    EXPECT_EQ(LogTexts(), Texts{"New CPU affinity for Program window set it successfully."});
    EXPECT_EQ(m_log.Entries().back().colour, kLogInformation);
    EXPECT_EQ(m_program.selected, Ticks({0, 1, 2, 3, 4, 5, 6, 7}, 8));
}

TEST_F(ProcessorAffinityTest, SetOnTheConsoleActsOnTheServerProcess) {
    m_console.SelectFromText("1,2,");

    SetAffinity(m_console, AffinityTarget::Console, kServerId, m_processes, m_log);

    EXPECT_EQ(m_processes.affinities[kServerId], 0x6U);
    EXPECT_EQ(m_processes.affinities[FakeProcesses::kOwnId], 0xFFU);
    EXPECT_EQ(LogTexts(), Texts{"New CPU affinity for Console window set it successfully."});
    EXPECT_EQ(m_console.selected, Ticks({1, 2}, 8));
}

TEST_F(ProcessorAffinityTest, AnEmptySelectionFailsAndShowsWhatTheProcessUses) {
    m_processes.affinities[FakeProcesses::kOwnId] = 0xC;

    SetAffinity(m_program, AffinityTarget::Program, FakeProcesses::kOwnId, m_processes, m_log);

    EXPECT_EQ(m_processes.setRequests, std::vector<std::uint64_t>{0});
    EXPECT_EQ(LogTexts(), Texts{"Error set new CPU affinity for Program Window."});
    EXPECT_EQ(m_log.Entries().back().colour, kLogInformation);
    EXPECT_EQ(m_program.selected, Ticks({2, 3}, 8));
}

TEST_F(ProcessorAffinityTest, NoServerProcessLogsTheConsoleErrorAndLeavesTheList) {
    m_console.SelectFromText("0,5,");

    SetAffinity(m_console, AffinityTarget::Console, 0, m_processes, m_log);

    EXPECT_EQ(LogTexts(), Texts{"Error set new CPU affinity for Console Window."});
    EXPECT_EQ(m_console.selected, Ticks({0, 5}, 8));
}

// A system that accepts a mask but keeps the process on the processors it allows.
class ClampingProcesses final : public Processes {
public:
    bool CreateProcess(const ProcessLaunch& /*launch*/) override { return false; }
    TerminateResult Terminate(std::uint32_t /*processId*/) override { return TerminateResult::NotFound; }
    std::uint32_t OwnProcessId() override { return 1; }
    std::optional<AffinityMasks> ReadAffinity(std::uint32_t /*processId*/) override {
        return AffinityMasks{process, 0xFF};
    }
    bool SetAffinity(std::uint32_t /*processId*/, std::uint64_t mask) override {
        process = (mask & kAllowed) != 0 ? (mask & kAllowed) : process;
        return mask != 0;
    }

    static constexpr std::uint64_t kAllowed = 0x0F;
    std::uint64_t process = 0xFF;
};

TEST_F(ProcessorAffinityTest, AfterSetTheListShowsTheAffinityReadBack) {
    ClampingProcesses clamping;
    m_program.SelectFromText("0,5,6,");

    SetAffinity(m_program, AffinityTarget::Program, 1, clamping, m_log);

    EXPECT_EQ(LogTexts(), Texts{"New CPU affinity for Program window set it successfully."});
    EXPECT_EQ(m_program.selected, Ticks({0}, 8));
}

TEST_F(ProcessorAffinityTest, ASingleProcessorGivesEmptyListsAndSetFails) {
    FakeProcesses single(0x1);
    FillCoreLists(m_console, m_program, single);

    EXPECT_TRUE(m_console.entries.empty());
    EXPECT_TRUE(m_program.entries.empty());

    SetAffinity(m_program, AffinityTarget::Program, FakeProcesses::kOwnId, single, m_log);

    EXPECT_EQ(LogTexts(), Texts{"Error set new CPU affinity for Program Window."});
    EXPECT_TRUE(m_program.selected.empty());
}

TEST_F(ProcessorAffinityTest, AnUnreadableOwnProcessGivesEmptyLists) {
    FakeProcesses unreadable(0xFF);
    unreadable.affinities.clear();

    FillCoreLists(m_console, m_program, unreadable);

    EXPECT_TRUE(m_console.entries.empty());
    EXPECT_TRUE(m_program.entries.empty());
}

}  // namespace
}  // namespace zembrock
