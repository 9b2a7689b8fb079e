#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/console_bridge.h"
#include "core/event_log.h"
#include "maps/map_list_editor.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/timer.h"
#include "platform/window_system.h"
#include "profiles/profile_fields.h"
#include "server/server_session.h"
#include "server/server_supervisor.h"

namespace zembrock::harness {

// The watchdog's timer without an event loop: it only records what the supervision asked of
// it; RunWatchdog waits out the interval and calls the tick.
class LoopTimer final : public Timer {
public:
    void Start(std::uint32_t intervalMs) override {
        m_active = true;
        m_intervalMs = intervalMs;
    }
    void Stop() override { m_active = false; }
    bool Active() const override { return m_active; }
    std::uint32_t IntervalMs() const override { return m_intervalMs; }

private:
    bool m_active = false;
    std::uint32_t m_intervalMs = 0;
};

// One line to a terminal or pipe, at once (a reader of a pipe sees every line as it is printed).
void PrintLine(std::FILE* stream, const std::string& line);

// Nobody to ask at a terminal: a message is printed to the error output, a question is
// answered No, an input box and the colour dialog are cancelled.
class PrintedDialogs final : public Dialogs {
public:
    bool AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) override;
    void ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
    std::optional<Colour> ChooseColour(Colour initial, std::array<Colour, kCustomColourCount>& custom,
                                       bool fullOpen) override;
};

// The server's supervision in the program folder (ProgramFolder()), wired to this system's
// window and process backends: the start/stop action, the watchdog with its capture, probes
// and restarts, the settings push, the processor affinity and the console bridge. The fields
// start as a new profile's, with the folder's first configuration file and map list chosen,
// the network interface as the game's settings file stores it, and every processor for the
// server's console.
class SupervisionHarness {
public:
    explicit SupervisionHarness(std::string windowCaption = "Zembrock console");
    SupervisionHarness(const SupervisionHarness&) = delete;
    SupervisionHarness& operator=(const SupervisionHarness&) = delete;
    SupervisionHarness(SupervisionHarness&&) = delete;
    SupervisionHarness& operator=(SupervisionHarness&&) = delete;
    ~SupervisionHarness() = default;

    // Waits out the watchdog's interval (serving this thread's events) and ticks it, until
    // done() or maxTicks ticks or the watchdog is stopped. Returns done().
    bool RunWatchdog(const std::function<bool()>& done, int maxTicks);
    // True when the event log holds an entry with exactly this text.
    bool Logged(const std::string& text) const;

    SystemClock clock;
    std::unique_ptr<EventPump> pump = ThreadEventPump();
    PrintedDialogs dialogs;
    LoopTimer watchdogTimer;
    std::unique_ptr<WindowSystem> windows = SystemWindowSystem();
    std::unique_ptr<Processes> processes = SystemProcesses();
    ServerSession session;
    ProfileFields fields;
    MapListEditor mapLists;
    EventLog log;
    ConsoleBridge console;
    SupervisionDisplay display;
    ServerSupervisor supervisor;
};

}  // namespace zembrock::harness
