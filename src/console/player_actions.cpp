#include "console/player_actions.h"

#include <algorithm>
#include <array>

namespace zembrock {
namespace {

// How one action builds its commands: the optional kick-ban time first, then the verb with its
// target, and the reason where the action carries one.
struct ActionShape {
    PlayerAction action;
    bool setsBanTime;
    const char* verb;  // followed by a blank and the target
    bool byName;       // the target is the quoted name, else the client number
    bool carriesReason;
    const char* byNumberCaption;  // what to use instead when the name cannot be quoted
};

inline constexpr std::array<ActionShape, 7> kShapes{{
    {PlayerAction::Kick, true, "kick", true, true, "KickClientbyID"},
    {PlayerAction::KickClient, true, "kickclient", false, true, nullptr},
    {PlayerAction::Ban, false, "ban", true, false, "BanClientbyID"},
    {PlayerAction::BanClient, false, "banclient", false, false, nullptr},
    {PlayerAction::DumpUser, false, "dumpuser", true, false, nullptr},
    {PlayerAction::TempBan, true, "tempBan", true, true, "TempBanClientbyID"},
    {PlayerAction::TempBanClient, true, "tempbanclient", false, true, nullptr},
}};

const ActionShape* ShapeOf(PlayerAction action) {
    const auto* found = std::find_if(kShapes.begin(), kShapes.end(),
                                     [action](const ActionShape& shape) { return shape.action == action; });
    return found == kShapes.end() ? nullptr : found;
}

std::string UnsafeNameText(const PlayerRow& row, const ActionShape& shape) {
    std::string text =
        "The name of this player holds a double quote, a semicolon or a control character; "
        "sent by name it would end the command early and run the rest as another command. "
        "Nothing was sent.";
    if (shape.byNumberCaption != nullptr) {
        text += " Use \"(" + row.id + ") " + shape.byNumberCaption + "\" instead.";
    } else {
        text += " This action has no by-number form; use the player's client number " + row.id +
                " with the other actions.";
    }
    return text;
}

}  // namespace

bool ShouldOpenPlayerMenu(bool rightButton, std::size_t rowCount) {
    return rightButton && rowCount > 0;
}

PlayerMenuCaptions MenuCaptionsFor(const PlayerRow& row) {
    const std::string prefix = "(" + row.id + ") ";
    return {row.player, prefix + "KickClientbyID", prefix + "BanClientbyID", prefix + "TempBanClientbyID"};
}

std::string ReasonSuffix(const PlayerActionOptions& options) {
    return options.noReason ? std::string() : " " + options.reason;
}

bool ActionUsesName(PlayerAction action) {
    const ActionShape* shape = ShapeOf(action);
    return shape != nullptr && shape->byName;
}

bool IsSafeQuotedName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return c == '"' || c == ';' || code < 0x20 || code == 0x7F;
    });
}

std::vector<std::string> PlayerActionCommands(PlayerAction action, const PlayerRow& row,
                                              const PlayerActionOptions& options) {
    const ActionShape* shape = ShapeOf(action);
    if (shape == nullptr) {
        return {"kick all"};
    }
    std::vector<std::string> commands;
    if (shape->setsBanTime) {
        commands.push_back("sv_kickBanTime " + options.tempBanTime);
    }
    std::string command = std::string(shape->verb) + " ";
    command += shape->byName ? "\"" + row.player + "\"" : row.id;
    if (shape->carriesReason) {
        command += ReasonSuffix(options);
    }
    commands.push_back(std::move(command));
    return commands;
}

std::vector<std::string> RunPlayerAction(PlayerAction action, const PlayerRow* row,
                                         const PlayerActionOptions& options, ConsoleBridge& console,
                                         Dialogs& dialogs) {
    const ActionShape* shape = ShapeOf(action);
    if (shape != nullptr && row == nullptr) {
        return {};
    }
    const PlayerRow noRow;
    const PlayerRow& target = row != nullptr ? *row : noRow;
    // A player picks his own name: a quote, semicolon or line break in it would let him inject
    // console commands through a by-name action, so none of its commands goes out.
    if (shape != nullptr && shape->byName && !IsSafeQuotedName(target.player)) {
        dialogs.ShowMessage(kUnsafeNameTitle, UnsafeNameText(target, *shape), DialogIcon::Warning);
        return {};
    }
    std::vector<std::string> commands = PlayerActionCommands(action, target, options);
    for (const std::string& command : commands) {
        console.SendConsoleCommand(command);
    }
    return commands;
}

}  // namespace zembrock
