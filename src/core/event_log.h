#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace zembrock {

inline constexpr const char* kSystemLogFileName = "systemlog.txt";
inline constexpr const char* kDefaultLogLimitText = "500";

// One line of the event log: what happened, in which colour, and when.
struct LogEntry {
    std::string timestamp;
    std::string text;
    Colour colour = kColourBlack;

    // "> ", the date and time, ": ".
    std::string Prefix() const { return "> " + timestamp + ": "; }
};

// Told about every change of the event log, so that the "Logs" page can render it.
class EventLogObserver {
public:
    virtual ~EventLogObserver() = default;
    virtual void EntryAppended(const LogEntry& entry) = 0;
    // File logging was switched, or its catch-up step started or ended (see Busy).
    virtual void FileLoggingChanged() = 0;
};

// The system event log: the one channel through which the program reports what it did.
// Entries are kept for the whole run (the on-screen log) and, while file logging is on, also
// appended to the log file, which the size rule keeps below the limit. A log file that cannot
// be appended to is reported once on screen; logging then goes on on screen.
class EventLog {
public:
    using TimestampSource = std::function<std::string()>;

    EventLog(std::filesystem::path logFile, Clock& clock, EventPump& pump,
             TimestampSource timestamp = LocalTimestamp);

    void SetObserver(EventLogObserver* observer) { m_observer = observer; }

    void LogSystemMessage(std::string_view text, Colour colour);

    // "System messages on change.": acts only when the value changes. Switching it on applies
    // the size rule and appends everything logged so far to the file, followed by an empty line.
    void SetFileLogging(bool on);
    bool FileLogging() const { return m_fileLogging; }
    // True while switching on is catching up; the check box is disabled meanwhile.
    bool Busy() const { return m_busy; }

    // The text of the size-limit field, in kilobytes.
    void SetLimitText(std::string text) { m_limitText = std::move(text); }
    const std::string& LimitText() const { return m_limitText; }

    const std::vector<LogEntry>& Entries() const { return m_entries; }
    // Every entry's prefix and text, each ended by CR LF, without colours.
    std::string ScreenText() const;
    const std::filesystem::path& LogFile() const { return m_logFile; }

    // The local date and time as "YYYY-MM-DD hh:mm:ss".
    static std::string LocalTimestamp();

private:
    const LogEntry& AppendToScreen(std::string_view text, Colour colour);
    void AppendToFile(std::string_view bytes);

    std::filesystem::path m_logFile;
    Clock& m_clock;
    EventPump& m_pump;
    TimestampSource m_timestamp;
    EventLogObserver* m_observer = nullptr;
    std::vector<LogEntry> m_entries;
    std::string m_limitText = kDefaultLogLimitText;
    bool m_fileLogging = false;
    bool m_busy = false;
    bool m_fileFailureReported = false;
};

}  // namespace zembrock
