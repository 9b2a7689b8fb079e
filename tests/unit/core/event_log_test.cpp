#include "core/event_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/log_size_rule.h"
#include "support/fake_clock.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::FakeClock;
using test::FakeEventPump;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using ::testing::HasSubstr;

constexpr const char* kStamp = "2024-05-06 07:08:09";
constexpr const char* kPrefix = "> 2024-05-06 07:08:09: ";

std::string Line(const std::string& text) {
    return kPrefix + text + "\r\n";
}

std::uint32_t TotalSleptMs(const FakeClock& clock) {
    return std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), std::uint32_t{0});
}

void MakeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

class RecordingObserver final : public EventLogObserver {
public:
    explicit RecordingObserver(const EventLog& log) : m_log(log) {}
    void EntryAppended(const LogEntry& entry) override { entries.push_back(entry); }
    void FileLoggingChanged() override { busyWhenChanged.push_back(m_log.Busy()); }

    std::vector<LogEntry> entries;
    std::vector<bool> busyWhenChanged;

private:
    const EventLog& m_log;
};

class EventLogTest : public ::testing::Test {
protected:
    EventLogTest() { m_log.SetObserver(&m_observer); }

    // File logging switched on with an empty file, the waits that took reset.
    void SwitchOnWithEmptyFile() {
        m_log.SetFileLogging(true);
        WriteFile(m_file, "");
        m_clock.sleeps.clear();
    }

    TempFolder m_folder;
    fs::path m_file = m_folder / kSystemLogFileName;
    FakeClock m_clock;
    FakeEventPump m_pump;
    EventLog m_log{m_file, m_clock, m_pump, [] { return std::string(kStamp); }};
    RecordingObserver m_observer{m_log};
};

// --- On screen -------------------------------------------------------------------------------

TEST_F(EventLogTest, WithoutFileLoggingEntriesStayOnScreen) {
    m_log.LogSystemMessage("Program Started.", kLogInformation);
    m_log.LogSystemMessage("Profile saved.", kLogProfile);

    ASSERT_EQ(m_log.Entries().size(), 2U);
    EXPECT_EQ(m_log.Entries()[1].text, "Profile saved.");
    EXPECT_EQ(m_log.Entries()[1].colour, kLogProfile);
    ASSERT_EQ(m_observer.entries.size(), 2U);
    EXPECT_EQ(m_observer.entries[0].text, "Program Started.");
    EXPECT_EQ(m_observer.entries[0].colour, kLogInformation);
    EXPECT_EQ(m_observer.entries[0].timestamp, kStamp);
    EXPECT_FALSE(fs::exists(m_file));
    EXPECT_TRUE(m_clock.sleeps.empty());
}

TEST_F(EventLogTest, ScreenTextIsPrefixAndTextOfEveryEntry) {
    m_log.LogSystemMessage("one", kLogInformation);
    m_log.LogSystemMessage("two", kLogFailure);

    EXPECT_EQ(m_log.Entries()[0].Prefix(), kPrefix);
    EXPECT_EQ(m_log.ScreenText(), Line("one") + Line("two"));
}

// --- In the file -----------------------------------------------------------------------------

TEST_F(EventLogTest, WithFileLoggingEachEntryIsAppended) {
    SwitchOnWithEmptyFile();
    m_log.LogSystemMessage("one", kLogInformation);
    m_log.LogSystemMessage("two", kLogDetail);

    EXPECT_EQ(ReadFile(m_file), Line("one") + Line("two"));
    ASSERT_EQ(m_log.Entries().size(), 2U);
    // The size rule waits before each entry, since the file exists.
    EXPECT_EQ(TotalSleptMs(m_clock), 2U * 200U);
}

TEST_F(EventLogTest, OversizedFileIsReplacedByTheNextEntry) {
    SwitchOnWithEmptyFile();
    WriteFile(m_file, std::string(600 * 1024, 'x'));

    m_log.LogSystemMessage("fresh start", kLogInformation);

    EXPECT_EQ(ReadFile(m_file), Line("fresh start"));
}

TEST_F(EventLogTest, SwitchingOnCatchesUpWithEverythingLoggedSoFar) {
    WriteFile(m_file, "older run\r\n");
    std::string expected = "older run\r\n";
    for (int i = 0; i < 10; ++i) {
        m_log.LogSystemMessage("entry " + std::to_string(i), kLogInformation);
        expected += Line("entry " + std::to_string(i));
    }
    expected += "\r\n";
    std::vector<bool> busyDuringWait;
    m_pump.onPass = [&] {
        busyDuringWait.push_back(m_log.Busy());
        // Nothing is written before the wait of the size rule is over.
        EXPECT_EQ(ReadFile(m_file), "older run\r\n");
    };

    m_log.SetFileLogging(true);

    EXPECT_TRUE(m_log.FileLogging());
    EXPECT_EQ(ReadFile(m_file), expected);
    ASSERT_FALSE(busyDuringWait.empty());
    EXPECT_TRUE(std::all_of(busyDuringWait.begin(), busyDuringWait.end(), [](bool busy) { return busy; }));
    EXPECT_FALSE(m_log.Busy());
    EXPECT_EQ(m_observer.busyWhenChanged, (std::vector<bool>{true, false}));
    EXPECT_EQ(TotalSleptMs(m_clock), 200U);
}

TEST_F(EventLogTest, SwitchingOnWhenOnDoesNothing) {
    m_log.LogSystemMessage("one", kLogInformation);
    m_log.SetFileLogging(true);
    const std::string before = ReadFile(m_file);
    m_observer.busyWhenChanged.clear();
    m_clock.sleeps.clear();

    m_log.SetFileLogging(true);

    EXPECT_EQ(ReadFile(m_file), before);
    EXPECT_TRUE(m_observer.busyWhenChanged.empty());
    EXPECT_TRUE(m_clock.sleeps.empty());
}

TEST_F(EventLogTest, SwitchingOffLeavesTheFileAlone) {
    SwitchOnWithEmptyFile();
    m_log.LogSystemMessage("one", kLogInformation);
    m_observer.busyWhenChanged.clear();

    m_log.SetFileLogging(false);
    m_log.LogSystemMessage("two", kLogInformation);

    EXPECT_FALSE(m_log.FileLogging());
    EXPECT_EQ(ReadFile(m_file), Line("one"));
    EXPECT_EQ(m_observer.busyWhenChanged, (std::vector<bool>{false}));
    EXPECT_EQ(m_log.Entries().size(), 2U);
}

// --- A file that cannot be appended to -------------------------------------------------------

struct FailureCase {
    std::string name;
    std::function<void(const fs::path&)> breakFile;
    bool breakAfterSwitchingOn;
};

class EventLogFailureTest : public EventLogTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(EventLogFailureTest, ReportedOnceAndLoggingGoesOnOnScreen) {
    const FailureCase& row = GetParam();
    m_log.LogSystemMessage("before", kLogInformation);
    if (!row.breakAfterSwitchingOn) {
        row.breakFile(m_file);
    }
    m_log.SetFileLogging(true);
    if (row.breakAfterSwitchingOn) {
        row.breakFile(m_file);
    }
    m_log.LogSystemMessage("one", kLogInformation);
    m_log.LogSystemMessage("two", kLogInformation);
    m_log.LogSystemMessage("three", kLogInformation);

    std::vector<std::string> texts;
    int failures = 0;
    for (const LogEntry& entry : m_log.Entries()) {
        if (entry.colour == kLogFailure) {
            ++failures;
            EXPECT_THAT(entry.text, HasSubstr(kSystemLogFileName));
        } else {
            texts.push_back(entry.text);
        }
    }
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(texts, (std::vector<std::string>{"before", "one", "two", "three"}));
    EXPECT_EQ(m_observer.entries.size(), m_log.Entries().size());
    EXPECT_TRUE(m_log.FileLogging());
}

INSTANTIATE_TEST_SUITE_P(
    Unwritable, EventLogFailureTest,
    ::testing::Values(
        FailureCase{"FolderInItsPlace", [](const fs::path& file) { fs::create_directory(file); }, false},
        FailureCase{"ReadOnlyFile",
                    [](const fs::path& file) {
                        WriteFile(file, "kept\r\n");
                        MakeReadOnly(file);
                    },
                    false},
        FailureCase{"FolderAfterSwitchingOn",
                    [](const fs::path& file) {
                        fs::remove(file);
                        fs::create_directory(file);
                    },
                    true},
        FailureCase{"ReadOnlyAfterSwitchingOn", [](const fs::path& file) { MakeReadOnly(file); }, true}),
    [](const ::testing::TestParamInfo<FailureCase>& tested) { return tested.param.name; });

TEST_F(EventLogTest, ReadOnlyLogFileIsNotChanged) {
    WriteFile(m_file, "kept\r\n");
    MakeReadOnly(m_file);
    m_log.SetFileLogging(true);
    m_log.LogSystemMessage("one", kLogInformation);
    EXPECT_EQ(ReadFile(m_file), "kept\r\n");
}

// --- The size rule ---------------------------------------------------------------------------

TEST(RoundedKilobytesTest, HalvesRoundToEven) {
    const std::vector<std::pair<std::uintmax_t, std::uintmax_t>> rows = {
        {0, 0},    {511, 0},  {512, 0},  {513, 1},      {1023, 1},     {1024, 1},
        {1536, 2}, {2560, 2}, {2561, 3}, {512410, 500}, {512512, 500}, {513536, 502},
    };
    for (const auto& [bytes, kilobytes] : rows) {
        EXPECT_EQ(RoundedKilobytes(bytes), kilobytes) << bytes << " bytes";
    }
}

struct SizeCase {
    std::string name;
    std::size_t bytes;
    std::string limitText;
    bool kept;
};

class LogSizeRuleTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    fs::path m_file = m_folder / kSystemLogFileName;
    FakeClock m_clock;
    FakeEventPump m_pump;
};

class LogSizeLimitTest : public LogSizeRuleTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LogSizeLimitTest, DeletesFileAboveLimitAndWaits) {
    const SizeCase& row = GetParam();
    WriteFile(m_file, std::string(row.bytes, 'x'));

    ApplyLogSizeRule(m_file, row.limitText, m_clock, m_pump);

    EXPECT_EQ(fs::exists(m_file), row.kept);
    // The file existed: the rule waits whether it deleted it or not, serving events meanwhile.
    EXPECT_EQ(TotalSleptMs(m_clock), 200U);
    EXPECT_GT(m_pump.passes, 0);
}

INSTANTIATE_TEST_SUITE_P(Limits, LogSizeLimitTest,
                         ::testing::Values(SizeCase{"WellAboveLimit", 600 * 1024, "500", false},
                                           SizeCase{"JustAboveLimitRoundsDown", 512410, "500", true},
                                           SizeCase{"HalfAboveLimitRoundsToEvenAndIsKept", 512512, "500",
                                                    true},
                                           SizeCase{"HalfAboveOddRoundsUpAndIsDeleted", 513536, "500", false},
                                           SizeCase{"EmptyFileWithZeroLimitKept", 0, "0", true},
                                           SizeCase{"LetterLimitMeansNoLimit", 600 * 1024, "abc", true},
                                           SizeCase{"EmptyLimitMeansNoLimit", 600 * 1024, "", true},
                                           SizeCase{"LeadingNumberOfLimitAboveIt", 13 * 1024, "12abc", false},
                                           SizeCase{"LeadingNumberOfLimitAtIt", 12 * 1024, "12abc", true}),
                         [](const ::testing::TestParamInfo<SizeCase>& tested) { return tested.param.name; });

TEST_F(LogSizeRuleTest, MissingFileIsLeftAloneWithoutWaiting) {
    ApplyLogSizeRule(m_file, "0", m_clock, m_pump);
    EXPECT_FALSE(fs::exists(m_file));
    EXPECT_TRUE(m_clock.sleeps.empty());
    EXPECT_EQ(m_pump.passes, 0);
}

}  // namespace
}  // namespace zembrock
