#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_bridge.h"
#include "console/status_parser.h"
#include "platform/dialogs.h"

namespace zembrock {

// The player table's pop-up menu actions and the "Kick All" button.
enum class PlayerAction {
    Kick,
    KickClient,
    Ban,
    BanClient,
    DumpUser,
    TempBan,
    TempBanClient,
    KickAll,
};

inline constexpr const char* kUnsafeNameTitle = "Unsafe player name.";

// The administrator's fields that shape the commands.
struct PlayerActionOptions {
    std::string tempBanTime = "300";  // "TempBan Time:", sent exactly as typed
    std::string reason;               // the reason box's text
    bool noReason = false;            // "No Reason"
};

// The captions the pop-up menu takes from the selected row.
struct PlayerMenuCaptions {
    std::string title;          // the row's "Player" text (disabled entry)
    std::string kickClient;     // "(" ID ") KickClientbyID"
    std::string banClient;      // "(" ID ") BanClientbyID"
    std::string tempBanClient;  // "(" ID ") TempBanClientbyID"
};

// The menu opens only for the right button over a table that holds rows.
bool ShouldOpenPlayerMenu(bool rightButton, std::size_t rowCount);
PlayerMenuCaptions MenuCaptionsFor(const PlayerRow& row);

// One blank and the reason (one blank alone for an empty reason); empty with "No Reason".
std::string ReasonSuffix(const PlayerActionOptions& options);

// True for the actions that put the player's name, quoted, into a command.
bool ActionUsesName(PlayerAction action);

// True when the name can sit between double quotes without ending them or the command line:
// no double quote, no semicolon, no control character.
bool IsSafeQuotedName(std::string_view name);

// The console commands of the action for the row, in the order they are sent.
std::vector<std::string> PlayerActionCommands(PlayerAction action, const PlayerRow& row,
                                              const PlayerActionOptions& options);

// Runs the action: sends its commands and returns them. A by-name action on a name that is not
// safe to quote sends nothing and tells the administrator which by-number action to use. With
// no row (nothing selected) only "Kick All" does anything.
std::vector<std::string> RunPlayerAction(PlayerAction action, const PlayerRow* row,
                                         const PlayerActionOptions& options, ConsoleBridge& console,
                                         Dialogs& dialogs);

}  // namespace zembrock
