#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chooser.h"

namespace zembrock {

// The game modification's own settings file in the program's folder. The program reads and
// writes a few of its keys and keeps every other byte of it.
inline constexpr const char* kGameSettingsFileName = "pellagrix.ini";
inline constexpr const char* kAnyInterfaceLabel = "ANY IP";

// The labels of the modification's interface list ("[0 = 10.0.0.5 (default)];[255 = ANY IP];"
// gives "10.0.0.5", "ANY IP"), in order.
std::vector<std::string> ParseInterfaceList(std::string_view listText);

// Fills the "Network Interface:" choice from the file's list (or the local address and "ANY IP"
// when it has none) and selects the stored interface: "255" is the last entry, another number
// the entry at that position; any other value leaves nothing selected.
void FillInterfaceChoice(Chooser& choice, const std::filesystem::path& settingsFile,
                         const std::string& localAddress);

// The value that stands for the chosen interface: "255" for the last entry (or an empty choice),
// otherwise the chosen position ("-1" when nothing is chosen).
std::string InterfaceChoiceValue(const Chooser& choice);

// Writes the chosen interface into the file. False when the file could not be written.
bool StoreInterfaceChoice(const Chooser& choice, const std::filesystem::path& settingsFile);

}  // namespace zembrock
