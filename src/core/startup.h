#pragma once

#include <string>
#include <string_view>

#include "core/event_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "server/server_session.h"

namespace zembrock {

// What the main window does for the start-up sequence. RunStartup calls these in the order
// of the sequence; each fills one view.
class StartupSteps {
public:
    virtual ~StartupSteps() = default;
    virtual bool AnotherInstanceRunning() = 0;
    virtual void SetWindowTitle(const std::string& title) = 0;
    // The tray icon with its tooltip and balloon; not shown yet.
    virtual void SetUpTray() = 0;
    // The captions of both tab sets, each set opened on its first page.
    virtual void SetTabCaptions() = 0;
    virtual void SetCompactHeight() = 0;
    // "LAN" and "Internet".
    virtual void FillServerVisibility() = 0;
    // From players2: the map lists (the first is loaded), the configuration files and the game
    // types. Only called when players2 holds files.
    virtual void FillGameFolderLists() = 0;
    virtual void BuildMapCatalogue() = 0;
    virtual void FillInterfaceChoice() = 0;
    virtual void FillCoreLists() = 0;
    // The profile list; its first profile is loaded.
    virtual void RefreshProfileList() = 0;
    // The message profiles; the first one is loaded.
    virtual void LoadMessageProfiles() = 0;
    // The profile that the command line names becomes current (and is loaded when listed).
    virtual void SelectCommandLineProfile(const std::string& name) = 0;
    // As the "Start Dedicated Server" button does.
    virtual void StartServer() = 0;
    virtual void MinimiseToTray() = 0;
};

// The ports and models the sequence works on.
struct StartupContext {
    StartupSteps& steps;
    EventLog& log;
    ServerSession& session;
    Dialogs& dialogs;
    Clock& clock;
    EventPump& pump;
};

enum class StartupOutcome {
    Running,   // the window is set up and shown (or in the tray)
    Declined,  // the administrator declined a second instance: end at once, without shutdown
};

// The start-up sequence in its fixed order. The order matters: selecting the first entry of a
// list runs that list's handler at once, and the profile sets values in the lists before it.
StartupOutcome RunStartup(const StartupContext& context, std::string_view argumentText);

}  // namespace zembrock
