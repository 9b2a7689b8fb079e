#include "core/event_log.h"

#include <array>
#include <chrono>
#include <ctime>

#include "core/file_io.h"
#include "core/log_size_rule.h"
#include "core/text.h"

namespace zembrock {

EventLog::EventLog(std::filesystem::path logFile, Clock& clock, EventPump& pump, TimestampSource timestamp)
    : m_logFile(std::move(logFile)), m_clock(clock), m_pump(pump), m_timestamp(std::move(timestamp)) {}

std::string EventLog::LocalTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const std::tm* local = std::localtime(&now);  // NOLINT(concurrency-mt-unsafe): the UI thread only
    std::array<char, 32> text{};
    if (local == nullptr || std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", local) == 0) {
        return {};
    }
    return text.data();
}

const LogEntry& EventLog::AppendToScreen(std::string_view text, Colour colour) {
    m_entries.push_back({m_timestamp(), std::string(text), colour});
    if (m_observer != nullptr) {
        m_observer->EntryAppended(m_entries.back());
    }
    return m_entries.back();
}

void EventLog::LogSystemMessage(std::string_view text, Colour colour) {
    // Copied: the size rule's wait may log further entries and move the vector.
    const std::string line = AppendToScreen(text, colour).Prefix() + std::string(text) + std::string(kCrLf);
    if (!m_fileLogging) {
        return;
    }
    ApplyLogSizeRule(m_logFile, m_limitText, m_clock, m_pump);
    AppendToFile(line);
}

void EventLog::AppendToFile(std::string_view bytes) {
    if (zembrock::AppendToFile(m_logFile, bytes)) {
        m_fileFailureReported = false;
        return;
    }
    if (!m_fileFailureReported) {
        m_fileFailureReported = true;
        AppendToScreen(
            "Cannot append to " + m_logFile.filename().string() + "; the event log goes on on screen only.",
            kLogFailure);
    }
}

void EventLog::SetFileLogging(bool on) {
    if (on == m_fileLogging) {
        return;
    }
    m_fileLogging = on;
    if (!on) {
        if (m_observer != nullptr) {
            m_observer->FileLoggingChanged();
        }
        return;
    }
    m_busy = true;
    if (m_observer != nullptr) {
        m_observer->FileLoggingChanged();
    }
    ApplyLogSizeRule(m_logFile, m_limitText, m_clock, m_pump);
    AppendToFile(ScreenText() + std::string(kCrLf));
    m_busy = false;
    if (m_observer != nullptr) {
        m_observer->FileLoggingChanged();
    }
}

std::string EventLog::ScreenText() const {
    std::string text;
    for (const LogEntry& entry : m_entries) {
        text += entry.Prefix();
        text += entry.text;
        text += kCrLf;
    }
    return text;
}

}  // namespace zembrock
