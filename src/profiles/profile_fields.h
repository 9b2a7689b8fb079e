#pragma once

#include <string>
#include <vector>

#include "core/chooser.h"
#include "server/processor_affinity.h"

namespace zembrock {

// The fields of the main window that a profile fills and a save reads back: what they show is
// the profile's value, typed-in changes included. Pages render these and write edits into them.
// (The map-list selection, the log options, the console colours and the respond-tries limit live
// in the models that own them.)
struct ProfileFields {
    static constexpr std::size_t kHistoryLimit = 10;

    Chooser networkInterface;  // "Network Interface:"
    std::string hostName = "My Server Name";
    std::string serverPort = "27016";         // "Secure Game Port:"
    std::string gamePort = "27014";           // "Open Game Port:"
    std::string masterPort = "27017";         // "Master Port:"
    std::string authenticationPort = "8766";  // "Auth Port:"
    Chooser serverVisibility;                 // "LAN", "Internet"
    std::string privateClients = "0";
    std::string maxClients = "18";
    std::string rconPassword;
    std::string privatePassword = "lumbert";
    std::string maxPing = "700";
    Chooser configFiles;  // "Config file:", the .cfg files of players2
    std::string voiceChat = "0";
    std::string voting = "1";
    std::string deadChat = "0";
    std::string inactivity = "90";
    std::string kickTime = "300";
    bool autostartMessages = true;   // "Autostart messages with server."
    bool startHidden = true;         // "Start window hidden."
    std::string logMins = "10";      // minutes after "Player table every"
    bool logStatus = false;          // "Player table every"
    std::string respondTries = "8";  // "Respond retry's before restart in seconds:"
    CoreList consoleCores;           // frame "Console:"
    CoreList programCores;           // frame "Program:"
    std::string tempBanTime = "300";
    std::vector<std::string> commandHistory;  // oldest first, at most kHistoryLimit
};

}  // namespace zembrock
