#include "console/player_log.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "console/status_parser.h"
#include "core/file_io.h"
#include "core/log_size_rule.h"
#include "core/pumped_wait.h"
#include "core/text.h"

namespace zembrock {

std::int32_t MinutesValue(std::string_view text) {
    constexpr std::int64_t kLowest = -32768;
    constexpr std::int64_t kHighest = 32767;
    const std::optional<std::int64_t> value = LeadingInteger(text);
    // An empty or non-numeric text counts as 0, like the field's own number conversion.
    return static_cast<std::int32_t>(std::clamp(value.value_or(0), kLowest, kHighest));
}

PlayerLog::PlayerLog(std::filesystem::path file, PlayerLogPorts ports, TimestampSource timestamp)
    : m_file(std::move(file)), m_ports(ports), m_timestamp(std::move(timestamp)) {}

void PlayerLog::LogBoxClicked(bool ticked, std::string_view minutesText) {
    m_interval = MinutesValue(minutesText);
    m_counter = m_interval - 1;
    if (ticked) {
        m_ports.timer.Start(kPlayerLogTickMs);
    } else {
        m_ports.timer.Stop();
    }
}

std::string PlayerLog::MinutesChanged(std::string_view minutesText) {
    if (MinutesValue(minutesText) <= 0) {
        m_interval = 1;
        return "1";
    }
    m_interval = MinutesValue(minutesText);
    return std::string(minutesText);
}

void PlayerLog::Tick() {
    // While unsupervised the counter keeps its value.
    if (!m_ports.session.captured) {
        return;
    }
    ++m_counter;
    if (m_counter >= m_interval) {
        m_counter = 0;
        Write();
    }
}

bool PlayerLog::Write() {
    m_ports.console.SendConsoleCommand(std::string(kStatusCommand));
    PumpedWait(m_ports.clock, m_ports.pump, kPlayerLogWaitMs);
    m_ports.console.Refresh();
    ApplyLogSizeRule(m_file, m_ports.eventLog.LimitText(), m_ports.clock, m_ports.pump);
    const std::optional<std::string> answer = FindStatusAnswer(m_ports.console.MirrorText());
    if (!answer) {
        return false;
    }
    std::string record = m_timestamp();
    record += kCrLf;
    record += *answer;
    record += kCrLf;
    return AppendToFile(m_file, record);
}

}  // namespace zembrock
