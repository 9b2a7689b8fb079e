#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "core/colour.h"
#include "platform/dialogs.h"
#include "platform/user_settings.h"

namespace zembrock {

// Where the colour dialog's custom colours are stored for the current user.
inline constexpr const char* kCustomColourApplication = "Tolvane Non-ADL User Settings";
inline constexpr const char* kCustomColourSection = "CustomColours";

// The colour chooser: the colour dialog with the program's set of 16 custom colours, which
// lives for the whole run and can be reloaded from the user's settings store. Nothing ever
// writes the store; colours defined in the dialog stay in this set until the next reload.
class ColourChooser {
public:
    ColourChooser(Dialogs& dialogs, UserSettings& settings) : m_dialogs(dialogs), m_settings(settings) {}

    // The confirmed colour, or -1 when the dialog is cancelled. With loadStored the custom
    // colours are read from the store first (a missing or empty entry becomes white).
    std::int64_t ChooseColour(Colour initial, bool fullOpen, bool loadStored);

    const std::array<Colour, kCustomColourCount>& CustomColours() const { return m_custom; }

private:
    Dialogs& m_dialogs;
    UserSettings& m_settings;
    std::array<Colour, kCustomColourCount> m_custom{};
};

// The two colour swatches of the console page and the console mirror's colours they set.
struct ConsoleColours {
    static constexpr Colour kDefaultBackground = 2305572;  // 0x232E24
    static constexpr Colour kDefaultFont = 16777215;       // white

    Colour background = kDefaultBackground;  // swatch "Background:" (index 0)
    Colour font = kDefaultFont;              // swatch "Font color:" (index 1)
};

enum class ConsoleSwatch { Background = 0, Font = 1 };

// A click on a swatch: the colour dialog opens on the swatch's colour; a confirmed colour is set
// and written at once to the profile file (section "console", key backcolor or fontcolor).
// True when a colour was confirmed (and so set and written).
bool PickConsoleColour(ColourChooser& chooser, ConsoleColours& colours, ConsoleSwatch swatch,
                       const std::filesystem::path& profileFile);

}  // namespace zembrock
