#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/colour.h"

namespace zembrock {

enum class DialogIcon { Information, Warning, Critical };

// The program's modal questions to the administrator. Texts are 8-bit (Windows-1252).
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // True only when the administrator answers Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) = 0;
    virtual void ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;
    // The colour dialog with the given custom colours, which it may change while it is open.
    // nullopt when cancelled.
    virtual std::optional<Colour> ChooseColour(Colour initial, std::array<Colour, kCustomColourCount>& custom,
                                               bool fullOpen) = 0;
};

}  // namespace zembrock
