#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zembrock {

class ConsoleBridge;
class Dialogs;
class EventLog;
class MessageProfiles;
class Timer;
struct ServerSession;

inline constexpr std::uint32_t kRotationIntervalMs = 1000;
inline constexpr const char* kCountdownInitialText = "00";
inline constexpr const char* kRotationStartedText = "Messages rotate started with profile: ";
inline constexpr const char* kRotationStoppedText = "Messages rotate stoped.";
inline constexpr const char* kRotationTitle = "Massages";
inline constexpr const char* kNoUsableDelayText =
    "No message has a usable delay. Give at least one message a delay of 1 to 9999 seconds.";

// What the rotation shows on the page: the progress bar and the countdown label.
struct RotationDisplay {
    int progressMaximum = 0;
    int progressValue = 0;
    std::string countdown = kCountdownInitialText;
};

// The ports the rotation works through.
struct RotationPorts {
    ServerSession& session;
    ConsoleBridge& bridge;
    Timer& timer;  // Timer5
    EventLog& log;
    Dialogs& dialogs;
};

// The timed broadcast of the message list: while it runs, every tick of Timer5 counts one
// second, and when the current row's delay has passed its message goes to the server as
// "say <message>" and the next row becomes current, endlessly.
//
// A row whose delay is not a whole number from 1 to 9999 (a stored row without "|", a pasted
// text, a 0) could never come due; such rows are skipped, and when no row is usable the start
// is refused with a message instead of running a rotation that never sends anything.
class MessageRotation {
public:
    MessageRotation(MessageProfiles& profiles, RotationPorts ports);

    // "Start", and the watchdog's capture through OnServerCaptured. Does nothing without a
    // captured server or with an empty list.
    void StartRotation();
    // "Stop", and the watchdog's end of capture through OnServerLost.
    void StopRotation();
    // Timer5's handler.
    void Tick();

    // The watchdog captured the server console: starts when autostart is on and the list has rows.
    void OnServerCaptured(bool autostart);
    // The watchdog found the server gone: stops (with the log line) when running.
    void OnServerLost();

    // True while Timer5 runs: "Start" disabled, "Stop" enabled, list and selector locked.
    bool Running() const { return m_running; }
    const RotationDisplay& Display() const { return m_display; }
    // One-based number of the row sent next.
    std::int16_t CurrentRow() const { return m_currentRow; }

private:
    // The one-based number of the first usable row at or after `from`, wrapping round.
    std::optional<std::int16_t> NextUsableRow(std::int16_t from) const;
    int DelayOf(std::int16_t row) const;
    void Halt();

    MessageProfiles& m_profiles;
    RotationPorts m_ports;
    RotationDisplay m_display;
    std::int16_t m_currentRow = 1;
    std::int16_t m_elapsed = 0;
    bool m_running = false;
};

}  // namespace zembrock
