#include "console_harness/supervision_harness.h"

#include <algorithm>

#include "core/folder_listing.h"
#include "core/program_folder.h"
#include "core/pumped_wait.h"
#include "platform/network.h"
#include "profiles/game_settings.h"
#include "server/processor_affinity.h"

namespace zembrock::harness {

void PrintLine(std::FILE* stream, const std::string& line) {
    const std::string text = line + "\n";
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
    static_cast<void>(std::fflush(stream));
}

bool PrintedDialogs::AskYesNo(const std::string& title, const std::string& text, DialogIcon /*icon*/) {
    PrintLine(stderr, title + ": " + text + " [answered No]");
    return false;
}

void PrintedDialogs::ShowMessage(const std::string& title, const std::string& text, DialogIcon /*icon*/) {
    PrintLine(stderr, title + ": " + text);
}

std::optional<std::string> PrintedDialogs::AskText(const std::string& /*title*/,
                                                   const std::string& /*prompt*/,
                                                   const std::string& /*initial*/) {
    return std::nullopt;
}

std::optional<Colour> PrintedDialogs::ChooseColour(Colour /*initial*/,
                                                   std::array<Colour, kCustomColourCount>& /*custom*/,
                                                   bool /*fullOpen*/) {
    return std::nullopt;
}

SupervisionHarness::SupervisionHarness(std::string windowCaption)
    : mapLists(ProgramFolder()),
      log(ProgramFolder() / "systemlog.txt", clock, *pump),
      console(session, *windows, clock, fields.commandHistory),
      supervisor(SupervisorModels{session, fields, mapLists, log, console, display},
                 SupervisorPorts{*windows, *processes, dialogs, clock, *pump, watchdogTimer},
                 std::move(windowCaption)) {
    fields.serverVisibility.Fill({"LAN", "Internet"});
    fields.serverVisibility.SelectIndex(0);
    fields.configFiles.Fill(ListFiles(ProgramFolder() / "players2", ".cfg"));
    fields.configFiles.SelectIndex(0);
    FillInterfaceChoice(fields.networkInterface, ProgramFolder() / kGameSettingsFileName, LocalIPv4Address());
    FillCoreLists(fields.consoleCores, fields.programCores, *processes);
    fields.consoleCores.SelectAll();
    mapLists.RefreshMapListFiles();
}

bool SupervisionHarness::RunWatchdog(const std::function<bool()>& done, int maxTicks) {
    for (int tick = 0; tick < maxTicks && !done() && watchdogTimer.Active(); ++tick) {
        PumpedWait(clock, *pump, static_cast<std::int32_t>(watchdogTimer.IntervalMs()));
        supervisor.Tick();
    }
    return done();
}

bool SupervisionHarness::Logged(const std::string& text) const {
    return std::ranges::any_of(log.Entries(), [&](const LogEntry& entry) { return entry.text == text; });
}

}  // namespace zembrock::harness
