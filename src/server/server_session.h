#pragma once

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace zembrock {

// The console title of the dedicated server, as its console window carries it until the
// program gives it a tag title. "®" is the single byte 0xAE.
inline constexpr const char* kServerConsoleTitle = "Call of Duty\xAE: Modern Warfare\xAE 3 Dedicated Server";
inline constexpr const char* kServerConsoleClass = "IW5 WinConsole";
inline constexpr const char* kServerExecutable = "Zembrock_dedicated.exe";

// The supervision state of the one dedicated server: one instance for the life of the program,
// reached from the user-interface thread only. The server is known only through its console
// window; its handles are looked up again on every watchdog tick.
struct ServerSession {
    WindowHandle consoleWindow = 0;
    std::uint32_t consoleProcessId = 0;
    std::string consoleTitle = kServerConsoleTitle;  // the title the watchdog searches for
    bool responded = false;                          // the last probe's result
    WindowHandle inputLine = 0;                      // the console's command line
    WindowHandle outputArea = 0;                     // the console's output
    std::string lastConsoleText;                     // the text last put into the mirror
    bool captured = false;                           // the console window is under supervision
    bool stoppedByUser = false;                      // a stop was asked for: no restart follows
    std::int16_t noResponseCount = 0;                // failed probes in a row
    std::int16_t respondTries = 8;                   // failed probes in a row that restart the server
    std::string publicIp;                            // as the console reported it
    // The remote-info text: title|process id|profile|master port|, then the public address.
    std::string remoteInfo;
};

}  // namespace zembrock
