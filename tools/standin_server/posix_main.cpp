// The stand-in dedicated server on Linux: a console program that behaves, as far as the control
// panel can tell, like the game's dedicated server. It opens the server's console window through
// the platform's window host, executes the lines typed into it, and can be told to hang or crash.

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/posix/console_window_host.h"
#include "platform/posix/window_protocol.h"
#include "standin_server/standin_console.h"
#include "standin_server/standin_options.h"

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

int Run(const Options& options) {
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
    StandinConsole server(MakePlayers(options.players, options.extraPlayers), options.publicIp,
                          std::filesystem::current_path(error), print);
    for (const auto& [name, value] : options.variables) {
        server.SetVariable(name, value);
    }
    server.Start(static_cast<std::uint32_t>(getpid()));

    bool hung = false;
    bool quit = false;
    const auto start = std::chrono::steady_clock::now();
    while (g_stopRequested == 0 && !quit) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        if (options.crashAfterMs && elapsed >= *options.crashAfterMs) {
            Crash();
        }
        if (options.quitAfterMs && elapsed >= *options.quitAfterMs) {
            break;
        }
        if (!hung && options.hangAfterMs && elapsed >= *options.hangAfterMs) {
            WriteLine(stdout, kHangingLine);
            hung = true;
        }
        if (!host && elapsed >= options.windowDelayMs) {
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
    // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic): argv is the C entry point's array
    const auto options = zembrock::standin::ReadOptions(std::vector<std::string>(argv, argv + argc));
    if (!options) {
        return 2;
    }
    return zembrock::standin::Run(*options);
}
