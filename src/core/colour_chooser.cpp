#include "core/colour_chooser.h"

#include <string>

#include "core/ini_file.h"
#include "core/text.h"

namespace zembrock {

std::int64_t ColourChooser::ChooseColour(Colour initial, bool fullOpen, bool loadStored) {
    if (loadStored) {
        for (std::size_t i = 0; i < m_custom.size(); ++i) {
            const std::string stored =
                m_settings.Read(kCustomColourApplication, kCustomColourSection, std::to_string(i));
            // The stored text's leading number, as the settings store holds it; nothing stored is white.
            m_custom.at(i) =
                stored.empty() ? kColourWhite : static_cast<Colour>(LeadingInteger(stored).value_or(0));
        }
    }
    const std::optional<Colour> chosen = m_dialogs.ChooseColour(initial, m_custom, fullOpen);
    return chosen ? static_cast<std::int64_t>(*chosen) : -1;
}

bool PickConsoleColour(ColourChooser& chooser, ConsoleColours& colours, ConsoleSwatch swatch,
                       const std::filesystem::path& profileFile) {
    Colour& target = swatch == ConsoleSwatch::Background ? colours.background : colours.font;
    const std::int64_t chosen = chooser.ChooseColour(target, true, true);
    if (chosen < 0) {
        return false;
    }
    target = static_cast<Colour>(chosen);
    WriteIniKey("console", swatch == ConsoleSwatch::Background ? "backcolor" : "fontcolor",
                std::to_string(target), profileFile);
    return true;
}

}  // namespace zembrock
