#pragma once

#include <cstdint>
#include <string>

namespace zembrock {

// The console title of the dedicated server, as its console window carries it until the
// program gives it a tag title. "®" is the single byte 0xAE.
inline constexpr const char* kServerConsoleTitle = "Call of Duty\xAE: Modern Warfare\xAE 3 Dedicated Server";

// The supervision state of the one dedicated server: one instance for the life of the program.
struct ServerSession {
    std::string consoleTitle = kServerConsoleTitle;  // the title the watchdog searches for
    bool captured = false;                           // the console window is under supervision
    bool stoppedByUser = false;                      // a stop was asked for: no restart follows
    std::int16_t respondTries = 8;                   // failed probes in a row that restart the server
};

}  // namespace zembrock
