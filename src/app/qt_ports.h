#pragma once

#include "platform/dialogs.h"
#include "platform/event_pump.h"

namespace zembrock {

// One pass over the pending Qt events.
class QtEventPump final : public EventPump {
public:
    void PumpOnce() override;
};

// Message boxes, the input box and the colour dialog, owned by the active window.
class QtDialogs final : public Dialogs {
public:
    bool AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) override;
    void ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
    std::optional<Colour> ChooseColour(Colour initial, std::array<Colour, kCustomColourCount>& custom,
                                       bool fullOpen) override;
};

}  // namespace zembrock
