#include "core/startup.h"

#include "core/command_line.h"
#include "core/folder_listing.h"
#include "core/program_folder.h"
#include "core/pumped_wait.h"
#include "core/window_title.h"

namespace zembrock {

StartupOutcome RunStartup(const StartupContext& context, std::string_view argumentText) {
    StartupSteps& steps = context.steps;
    if (!argumentText.empty() && steps.AnotherInstanceRunning() &&
        !context.dialogs.AskYesNo("Multi-instaces detected.",
                                  "Application already running. Are you sure you wanna continue?",
                                  DialogIcon::Information)) {
        constexpr std::int32_t kQuitWaitMs = 100;
        PumpedWait(context.clock, context.pump, kQuitWaitMs);
        return StartupOutcome::Declined;
    }
    context.session.consoleTitle = kServerConsoleTitle;
    context.log.LogSystemMessage("Program Started.", kLogInformation);
    steps.SetWindowTitle(WindowTitle());
    steps.SetUpTray();
    steps.SetTabCaptions();
    context.session.captured = false;
    steps.SetCompactHeight();
    steps.FillServerVisibility();
    if (HoldsFiles(ProgramFolder() / "players2")) {
        steps.FillGameFolderLists();
    } else {
        context.dialogs.ShowMessage(
            "Path not found",
            ".\\players2 folder doesn't exist.\r\n"
            "DSR Editor, MapList Editor, Game types, Server config files will not work\r\n"
            "you maybe have to copy your \"admin\" folder and rename it to players2.",
            DialogIcon::Information);
    }
    steps.BuildMapCatalogue();
    steps.FillInterfaceChoice();
    steps.FillCoreLists();
    // After every list above: the profile selects entries in them.
    steps.RefreshProfileList();
    steps.LoadMessageProfiles();

    if (argumentText.empty()) {
        return StartupOutcome::Running;
    }
    const CommandLineRequest request = ParseCommandLine(argumentText);
    for (const std::string& name : request.profiles) {
        context.log.LogSystemMessage("Loading \"" + name + "\" profile from commandline.", kLogInformation);
        steps.SelectCommandLineProfile(name);
    }
    if (request.autostart) {
        context.log.LogSystemMessage("Autostart command executed.", kLogInformation);
        steps.StartServer();
        steps.MinimiseToTray();
    }
    return StartupOutcome::Running;
}

}  // namespace zembrock
