// zembrock-console: the control panel's supervision without its window. It starts the dedicated
// server of the program folder, supervises it (capture, settings push, probes, restarts) and
// prints the event log as it grows; after the given time it stops the server as the "Stop
// Dedicated Server" button does.

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "console_harness/supervision_harness.h"
#include "core/program_folder.h"
#include "platform/program_location.h"

namespace zembrock::harness {
namespace {

constexpr int kDefaultSeconds = 30;
// Ticks allowed for the server's window to close after the stop.
constexpr int kStopTicks = 10;

constexpr const char* kUsage =
    "usage: zembrock-console [--seconds N]\n"
    "Starts Zembrock_dedicated.exe in the program folder, supervises it for N seconds (default 30)\n"
    "while printing the event log, then stops it. The program folder is the executable's folder,\n"
    "or the folder named by ZEMBROCK_PROGRAM_DIR.";

class PrintedLog final : public EventLogObserver {
public:
    void EntryAppended(const LogEntry& entry) override { PrintLine(stdout, entry.Prefix() + entry.text); }
    void FileLoggingChanged() override {}
};

int Run(int seconds) {
    SetProgramFolder(ResolveProgramFolder(ExecutableFolder()));
    SupervisionHarness harness;
    PrintedLog printed;
    harness.log.SetObserver(&printed);

    harness.supervisor.StartStopAction();
    const std::uint32_t start = harness.clock.NowMs();
    const auto timeIsUp = [&] {
        return harness.clock.NowMs() - start >= static_cast<std::uint32_t>(seconds) * 1000U;
    };
    // The watchdog stops for good only when a start fails.
    harness.RunWatchdog(timeIsUp, seconds + 1);
    if (!harness.session.captured) {
        PrintLine(stdout, "The server's console was not captured.");
        return 1;
    }
    harness.supervisor.StartStopAction();
    harness.RunWatchdog([&] { return !harness.session.captured; }, kStopTicks);
    return harness.session.captured ? 1 : 0;
}

}  // namespace
}  // namespace zembrock::harness

namespace {

// The number of seconds of "--seconds N", or nullopt when the arguments are anything else.
std::optional<int> ParseSeconds(int argc, char** argv) {
    if (argc == 1) {
        return zembrock::harness::kDefaultSeconds;
    }
    if (argc != 3 || std::string_view(argv[1]) != "--seconds") {
        return std::nullopt;
    }
    const std::string_view text = argv[2];
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc{} || end != text.data() + text.size() || seconds <= 0) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<int> seconds = ParseSeconds(argc, argv);
    if (!seconds) {
        zembrock::harness::PrintLine(stderr, zembrock::harness::kUsage);
        return 2;
    }
    return zembrock::harness::Run(*seconds);
}
