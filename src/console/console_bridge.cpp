#include "console/console_bridge.h"

namespace zembrock {
namespace {

constexpr std::string_view kPublicIpMark = ", Public IP ";
constexpr std::size_t kPublicIpSpan = 20;

}  // namespace

ConsoleBridge::ConsoleBridge(ServerSession& session, WindowSystem& windows, Clock& clock,
                             std::vector<std::string>& history)
    : m_session(session), m_windows(windows), m_clock(clock), m_history(history) {}

void ConsoleBridge::SendConsoleCommand(const std::string& text) {
    if (m_session.inputLine == 0) {
        return;
    }
    m_windows.SetText(m_session.inputLine, text);
    m_windows.PressEnter(m_session.inputLine);
}

std::string ConsoleBridge::GetWinText(WindowHandle window) {
    const std::optional<std::string> text = window == 0 ? std::nullopt : m_windows.ReadText(window);
    return text && !text->empty() ? *text : std::string(kNoConsoleText);
}

void ConsoleBridge::Refresh() {
    std::string text = GetWinText(m_session.outputArea);
    if (text == m_session.lastConsoleText) {
        return;
    }
    m_session.lastConsoleText = text;
    SetMirror(std::move(text));
}

void ConsoleBridge::Clear() {
    if (m_session.outputArea != 0) {
        m_windows.SetText(m_session.outputArea, "");
    }
    SetMirror({});
}

void ConsoleBridge::EmptyMirror() {
    SetMirror({});
}

void ConsoleBridge::Send(const std::string& commandText) {
    if (commandText.empty()) {
        return;
    }
    AddCommandHistory(commandText);
    SendConsoleCommand(commandText);
    // A short pause so the console has written its answer before the refresh reads it.
    constexpr std::uint32_t kAnswerPauseMs = 100;
    m_clock.SleepMs(kAnswerPauseMs);
    Refresh();
}

void ConsoleBridge::SendRestart(int index) {
    if (index == 0) {
        SendConsoleCommand("map_restart");
    } else if (index == 1) {
        SendConsoleCommand("fast_restart");
    }
}

void ConsoleBridge::AddCommandHistory(const std::string& commandText) {
    if (m_history.size() >= kCommandHistoryLimit) {
        m_history.erase(m_history.begin(),
                        m_history.end() - static_cast<std::ptrdiff_t>(kCommandHistoryLimit - 1));
    }
    m_history.push_back(commandText);
}

void ConsoleBridge::SetMirror(std::string text) {
    if (text == m_mirror) {
        return;
    }
    m_mirror = std::move(text);
    if (m_mirror.size() > kMirrorLimit) {
        Clear();
        return;
    }
    if (m_session.publicIp.empty()) {
        const std::size_t mark = m_mirror.find(kPublicIpMark);
        if (mark != std::string::npos) {
            const std::string_view after =
                std::string_view(m_mirror).substr(mark + kPublicIpMark.size(), kPublicIpSpan);
            const std::size_t comma = after.find(',');
            // Without a comma within reach the address cannot be cut; the next change looks again.
            if (comma != std::string_view::npos && comma > 0) {
                m_session.publicIp = std::string(after.substr(0, comma));
                m_session.remoteInfo += m_session.publicIp;
            }
        }
    }
    if (m_mirrorObserver) {
        m_mirrorObserver();
    }
}

}  // namespace zembrock
