#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "console/console_bridge.h"
#include "core/event_log.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/timer.h"
#include "server/server_session.h"

namespace zembrock {

inline constexpr const char* kPlayerLogFileName = "playerslog.txt";
inline constexpr std::uint32_t kPlayerLogTickMs = 60000;
inline constexpr std::int32_t kPlayerLogWaitMs = 1000;

// Parts the player log works with, owned elsewhere.
struct PlayerLogPorts {
    ConsoleBridge& console;
    const ServerSession& session;  // records are written only while `captured`
    const EventLog& eventLog;      // its LimitText() is the shared size limit
    Clock& clock;
    EventPump& pump;
    Timer& timer;  // Timer4, ticking every 60000 ms while "Player table every" is ticked
};

// The player log `playerslog.txt`: every few minutes of supervision, the server's "status"
// answer is appended unchanged with the date and time before it.
class PlayerLog {
public:
    using TimestampSource = std::function<std::string()>;

    PlayerLog(std::filesystem::path file, PlayerLogPorts ports,
              TimestampSource timestamp = EventLog::LocalTimestamp);

    // "Player table every" clicked (also after a profile load): the interval from the minutes
    // text, the first record one tick later, Timer4 running exactly while ticked.
    void LogBoxClicked(bool ticked, std::string_view minutesText);
    // The minutes field changed: returns the text the field must hold ("1" for 0 or less, else
    // the text unchanged); the interval follows it, the minute counter is kept.
    std::string MinutesChanged(std::string_view minutesText);
    // Timer4 tick: counts minutes while the server is supervised and writes on the interval.
    void Tick();
    // One record: "status", a 1000 ms wait, the size rule, then the answer appended. False when
    // no record was written (no answer in the mirror or the append failed).
    bool Write();

    std::int32_t IntervalMinutes() const { return m_interval; }
    std::int32_t MinuteCounter() const { return m_counter; }
    const std::filesystem::path& File() const { return m_file; }

private:
    std::filesystem::path m_file;
    PlayerLogPorts m_ports;
    TimestampSource m_timestamp;
    std::int32_t m_interval = 0;
    std::int32_t m_counter = 0;
};

// The integer value of a minutes text as a 16-bit count: its leading number clamped to
// -32768..32767, 0 when it does not start with one.
std::int32_t MinutesValue(std::string_view text);

}  // namespace zembrock
