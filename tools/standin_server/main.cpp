// The stand-in dedicated server: a console program that behaves, as far as the control panel
// can tell, like the game's dedicated server. It opens the server's console window through the
// platform's window host, executes the lines typed into it, and can be told to hang or crash.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/posix/console_window_host.h"
#include "platform/posix/split_command_line.h"
#include "platform/posix/window_protocol.h"
#include "standin_server/standin_console.h"

namespace {

// Set by SIGTERM, SIGINT and SIGHUP: the server closes its window and ends cleanly.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): a signal handler can only set a flag
volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void RequestStop(int /*signal*/) {
    g_stopRequested = 1;
}

}  // namespace

namespace zembrock::standin {
namespace {

constexpr const char* kConsoleClass = "IW5 WinConsole";
constexpr const char* kConsoleTitle = "Call of Duty\xAE: Modern Warfare\xAE 3 Dedicated Server";
constexpr int kLoopSliceMs = 50;
constexpr int kCrashExitCode = 3;
constexpr int kDefaultPlayers = 4;
constexpr int kDefaultWindowDelayMs = 300;

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

struct Options {
    std::vector<std::pair<std::string, std::string>> variables;
    int windowDelayMs = kDefaultWindowDelayMs;
    std::optional<int> hangAfterMs;
    std::optional<int> crashAfterMs;
    std::optional<int> quitAfterMs;
    int players = kDefaultPlayers;
    std::vector<std::string> extraPlayers;
    std::string publicIp = "203.0.113.7";
};

std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

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

// Output is line-buffered, so that a reader of a pipe sees every line as it is printed. A
// closed output is no reason to stop: the console window is the server's real output.
void WriteLine(std::FILE* stream, const std::string& line) {
    const std::string text = line + "\n";
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
}

[[noreturn]] void Crash() {
    WriteLine(stdout, "Crashing (exit status 3, nothing cleaned up)");
    _exit(kCrashExitCode);
}

int Run(std::vector<std::string> arguments) {
    // Options for a stand-in started by the control panel, whose command line is fixed.
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before anything else runs
    if (const char* extra = std::getenv("ZEMBROCK_STANDIN_OPTIONS"); extra != nullptr) {
        for (std::string& option : SplitCommandLine(extra)) {
            arguments.push_back(std::move(option));
        }
    }
    const auto options = ParseOptions(arguments);
    if (!options) {
        static_cast<void>(std::fputs(kUsage, stderr));
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }

    std::unique_ptr<ConsoleWindowHost> host;
    WindowHandle input = 0;
    WindowHandle output = 0;
    std::vector<std::string> pending;  // what the server printed before its window opened
    const auto print = [&](const std::string& line) {
        WriteLine(stdout, line);
        if (output != 0) {
            host->AppendControlText(output, line + "\r\n");
        } else {
            pending.push_back(line);
        }
    };
    std::error_code error;
    StandinConsole server(MakePlayers(options->players, options->extraPlayers), options->publicIp,
                          std::filesystem::current_path(error), print);
    for (const auto& [name, value] : options->variables) {
        server.SetVariable(name, value);
    }
    server.Start();

    bool hung = false;
    bool quit = false;
    const auto start = std::chrono::steady_clock::now();
    while (g_stopRequested == 0 && !quit) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        if (options->crashAfterMs && elapsed >= *options->crashAfterMs) {
            Crash();
        }
        if (options->quitAfterMs && elapsed >= *options->quitAfterMs) {
            break;
        }
        if (!hung && options->hangAfterMs && elapsed >= *options->hangAfterMs) {
            WriteLine(stdout, "Hanging: the console window is no longer handled");
            hung = true;
        }
        if (!host && elapsed >= options->windowDelayMs) {
            host = ConsoleWindowHost::Create();
            if (!host) {
                WriteLine(stderr, "cannot open the console window in " + WindowsFolder().string());
                return 1;
            }
            const WindowHandle console = host->CreateWindow(kConsoleClass, kConsoleTitle);
            input = host->CreateControl(console, "Edit", "");
            output = host->CreateControl(console, "Edit", "");
            for (const std::string& line : pending) {
                host->AppendControlText(output, line + "\r\n");
            }
            pending.clear();
            host->onEnter = [&](WindowHandle control) {
                if (control != input) {
                    return;
                }
                const std::string line = host->ControlText(input);
                host->SetControlText(input, {});
                server.Execute(line);
                switch (server.TakeRequest()) {
                    case ConsoleRequest::Hang:
                        hung = true;
                        host->Freeze();
                        break;
                    case ConsoleRequest::Crash:
                        Crash();
                    case ConsoleRequest::Quit:
                        quit = true;
                        break;
                    case ConsoleRequest::None:
                        break;
                }
            };
            host->onTitle = [](WindowHandle /*window*/, const std::string& title) {
                WriteLine(stdout, "Console title set to: " + title);
            };
            host->onShow = [](WindowHandle /*window*/, bool visible) {
                WriteLine(stdout, visible ? "Console window shown" : "Console window hidden");
            };
            host->Publish();
            WriteLine(stdout, "Console window opened (handle " + std::to_string(console) + ")");
        }
        if (host && !hung) {
            host->ServeOnce(kLoopSliceMs);
        } else {
            // Hung, or the window is not open yet: the process lives on but handles nothing.
            poll(nullptr, 0, kLoopSliceMs);
        }
    }
    WriteLine(stdout, "Server stopped");
    return 0;
}

}  // namespace
}  // namespace zembrock::standin

int main(int argc, char** argv) {
    static_cast<void>(std::setvbuf(stdout, nullptr, _IOLBF, 0));
    // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic): argv is the C entry point's array
    const std::vector<std::string> arguments(argv, argv + argc);
    return zembrock::standin::Run(arguments);
}
