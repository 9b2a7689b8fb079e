#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zembrock::standin {

// The console window the control panel looks for: its class and its ANSI title (0xAE is the
// registered sign in Windows-1252).
inline constexpr const char* kConsoleClass = "IW5 WinConsole";
inline constexpr const char* kConsoleTitle = "Call of Duty\xAE: Modern Warfare\xAE 3 Dedicated Server";
// How long the server waits for its window's messages before it looks at the clock again.
inline constexpr int kLoopSliceMs = 50;
inline constexpr int kCrashExitCode = 3;
inline constexpr int kDefaultPlayers = 4;
inline constexpr int kDefaultWindowDelayMs = 300;
inline constexpr const char* kHangingLine = "Hanging: the console window is no longer handled";

// What the command line asks of the server.
struct Options {
    std::vector<std::pair<std::string, std::string>> variables;  // +set NAME VALUE
    int windowDelayMs = kDefaultWindowDelayMs;
    std::optional<int> hangAfterMs;
    std::optional<int> crashAfterMs;
    std::optional<int> quitAfterMs;
    int players = kDefaultPlayers;
    std::vector<std::string> extraPlayers;
    std::string publicIp = "203.0.113.7";
};

// The options of a command line whose first argument is the program; nullopt when an argument
// is unknown, lacks its value or has a count that is not a number of 0 or more.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments);

// The options of the command line followed by those of the environment variable
// ZEMBROCK_STANDIN_OPTIONS (for a stand-in started by the control panel, whose command line is
// fixed); nullopt, with the usage printed to stderr, when they are wrong.
std::optional<Options> ReadOptions(std::vector<std::string> arguments);

// Writes one line and flushes it at once, so that a reader of a pipe sees every line as it is
// printed. A closed output is no reason to stop: the console window is the server's real output.
void WriteLine(std::FILE* stream, const std::string& line);

// Says so on stdout, then ends the process at once with kCrashExitCode, cleaning nothing up.
[[noreturn]] void Crash();

}  // namespace zembrock::standin
