#pragma once

#include <QTimer>
#include <functional>

#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/timer.h"

namespace zembrock {

// One pass over the pending Qt events.
class QtEventPump final : public EventPump {
public:
    void PumpOnce() override;
};

// A timer of the main window on a QTimer; each tick runs the handler given at construction.
class QtTimer final : public Timer {
public:
    explicit QtTimer(std::function<void()> onTick);
    void Start(std::uint32_t intervalMs) override;
    void Stop() override;
    bool Active() const override { return m_timer.isActive(); }
    std::uint32_t IntervalMs() const override { return static_cast<std::uint32_t>(m_timer.interval()); }

private:
    QTimer m_timer;
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
