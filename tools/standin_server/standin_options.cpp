#include "standin_server/standin_options.h"

#include <charconv>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "core/split_command_line.h"

namespace zembrock::standin {
namespace {

constexpr const char* kUsage =
    "usage: standin_server [+set NAME VALUE]... [options]\n"
    "  --window-delay-ms N   open the console window N ms after the start (default 300)\n"
    "  --hang-after-ms N     stop handling the console window N ms after the start\n"
    "  --crash-after-ms N    exit at once with status 3, without cleaning up, N ms after the start\n"
    "  --quit-after-ms N     close the window and exit cleanly N ms after the start\n"
    "  --players N           number of simulated players (default 4)\n"
    "  --add-player NAME     one more simulated player (repeatable)\n"
    "  --public-ip ADDRESS   the address the server reports (default 203.0.113.7)\n"
    "Console commands besides the server's own: hang, crash, quit.\n"
    "The environment variable ZEMBROCK_STANDIN_OPTIONS adds options to the command line.\n";

std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        const bool hasValue = k + 1 < arguments.size();
        if (argument == "+set") {
            // An empty value on the control panel's command line leaves the next "+set" right
            // behind the name: that is not the value.
            std::string name = hasValue ? arguments[++k] : std::string();
            std::string value;
            if (k + 1 < arguments.size() && arguments[k + 1] != "+set") {
                value = arguments[++k];
            }
            options.variables.emplace_back(std::move(name), std::move(value));
        } else if (argument == "--add-player" && hasValue) {
            options.extraPlayers.push_back(arguments[++k]);
        } else if (argument == "--public-ip" && hasValue) {
            options.publicIp = arguments[++k];
        } else if (argument.rfind("--", 0) == 0 && argument != "--help" && hasValue) {
            const auto count = ParseCount(arguments[++k]);
            if (!count) {
                return std::nullopt;
            }
            if (argument == "--window-delay-ms") {
                options.windowDelayMs = *count;
            } else if (argument == "--hang-after-ms") {
                options.hangAfterMs = count;
            } else if (argument == "--crash-after-ms") {
                options.crashAfterMs = count;
            } else if (argument == "--quit-after-ms") {
                options.quitAfterMs = count;
            } else if (argument == "--players") {
                options.players = *count;
            } else {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::optional<Options> ReadOptions(std::vector<std::string> arguments) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before anything else runs
    if (const char* extra = std::getenv("ZEMBROCK_STANDIN_OPTIONS"); extra != nullptr) {
        for (std::string& option : SplitCommandLine(extra)) {
            arguments.push_back(std::move(option));
        }
    }
    auto options = ParseOptions(arguments);
    if (!options) {
        static_cast<void>(std::fputs(kUsage, stderr));
    }
    return options;
}

void WriteLine(std::FILE* stream, const std::string& line) {
    const std::string text = line + "\n";
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
    static_cast<void>(std::fflush(stream));
}

void Crash() {
    WriteLine(stdout, "Crashing (exit status 3, nothing cleaned up)");
    std::_Exit(kCrashExitCode);
}

}  // namespace zembrock::standin
