#include "messages/message_rotation.h"

#include "console/console_bridge.h"
#include "core/colour.h"
#include "core/event_log.h"
#include "messages/message_profiles.h"
#include "platform/dialogs.h"
#include "platform/timer.h"
#include "server/server_session.h"

namespace zembrock {

MessageRotation::MessageRotation(MessageProfiles& profiles, RotationPorts ports)
    : m_profiles(profiles), m_ports(ports) {}

std::optional<std::int16_t> MessageRotation::NextUsableRow(std::int16_t from) const {
    const std::vector<MessageRow>& rows = m_profiles.Rows();
    const std::size_t count = rows.size();
    if (count == 0) {
        return std::nullopt;
    }
    const std::size_t start = from >= 1 ? static_cast<std::size_t>(from - 1) % count : 0;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (start + step) % count;
        if (UsableDelay(rows[index].delay)) {
            return static_cast<std::int16_t>(index + 1);
        }
    }
    return std::nullopt;
}

int MessageRotation::DelayOf(std::int16_t row) const {
    const std::vector<MessageRow>& rows = m_profiles.Rows();
    const auto index = static_cast<std::size_t>(row - 1);
    return index < rows.size() ? UsableDelay(rows[index].delay).value_or(0) : 0;
}

void MessageRotation::StartRotation() {
    if (m_running || !m_ports.session.captured || m_profiles.Rows().empty()) {
        return;
    }
    const std::optional<std::int16_t> first = NextUsableRow(1);
    if (!first) {
        m_ports.dialogs.ShowMessage(kRotationTitle, kNoUsableDelayText, DialogIcon::Information);
        return;
    }
    m_currentRow = *first;
    m_elapsed = 0;
    m_display.progressMaximum = DelayOf(m_currentRow);
    m_display.progressValue = 0;
    m_running = true;
    m_ports.timer.Start(kRotationIntervalMs);
    m_profiles.SetLocked(true);
    m_ports.log.LogSystemMessage(kRotationStartedText + m_profiles.Profiles().Text() + ".", kLogInformation);
}

void MessageRotation::Halt() {
    m_running = false;
    m_ports.timer.Stop();
    m_profiles.SetLocked(false);
}

void MessageRotation::StopRotation() {
    Halt();
    m_ports.log.LogSystemMessage(kRotationStoppedText, kLogInformation);
}

void MessageRotation::Tick() {
    if (!m_running) {
        return;
    }
    if (!m_ports.session.captured) {
        Halt();
        return;
    }
    ++m_elapsed;
    m_display.progressValue = m_elapsed;
    m_display.countdown = std::to_string(m_currentRow) + "/" + std::to_string(m_profiles.Rows().size()) +
                          " in " + std::to_string(m_display.progressMaximum - m_display.progressValue);
    if (m_elapsed != DelayOf(m_currentRow)) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_currentRow - 1);
    m_ports.bridge.SendConsoleCommand("say " + m_profiles.Rows()[index].message);
    m_elapsed = 0;
    // The list is locked while running, so the row that was just usable still is.
    m_currentRow = NextUsableRow(static_cast<std::int16_t>(m_currentRow + 1)).value_or(1);
    m_display.progressMaximum = DelayOf(m_currentRow);
}

void MessageRotation::OnServerCaptured(bool autostart) {
    if (autostart && !m_profiles.Rows().empty()) {
        StartRotation();
    }
}

void MessageRotation::OnServerLost() {
    if (m_running) {
        StopRotation();
    }
}

}  // namespace zembrock
