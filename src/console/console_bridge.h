#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/window_system.h"
#include "server/server_session.h"

namespace zembrock {

inline constexpr std::size_t kMirrorLimit = 40000;
inline constexpr const char* kNoConsoleText = "--No Text--";
inline constexpr std::size_t kCommandHistoryLimit = 10;

// The bridge between the main window and the server's own console window: it mirrors the
// console's output into the console view (the mirror), types command lines into the console's
// input line, keeps the command history, and picks the server's public address out of the
// mirrored text. Everything that talks to the server goes through SendConsoleCommand and reads
// answers from the mirror.
class ConsoleBridge {
public:
    ConsoleBridge(ServerSession& session, WindowSystem& windows, Clock& clock,
                  std::vector<std::string>& history);

    // Runs whenever the mirror's text changed, after the change handling.
    void SetMirrorObserver(std::function<void()> observer) { m_mirrorObserver = std::move(observer); }

    // Types one line into the console and presses Enter; with no console it goes nowhere.
    void SendConsoleCommand(const std::string& text);
    // A control's whole text, or "--No Text--" when it is empty or does not answer.
    std::string GetWinText(WindowHandle window);

    // "Refresh": the console's output into the mirror when it differs from what was put there last.
    void Refresh();
    // "Clear console": the server's output and the mirror are emptied.
    void Clear();
    // "Send": the command box's text into the history and the console, then a refresh.
    void Send(const std::string& commandText);
    // The restart buttons: index 0 "map_restart", 1 "fast_restart", any other nothing.
    void SendRestart(int index);
    // The mirror is emptied (supervision ended or restarting); the server is not touched.
    void EmptyMirror();

    const std::string& MirrorText() const { return m_mirror; }
    const std::vector<std::string>& History() const { return m_history; }

private:
    void SetMirror(std::string text);
    void AddCommandHistory(const std::string& commandText);

    ServerSession& m_session;
    WindowSystem& m_windows;
    Clock& m_clock;
    std::vector<std::string>& m_history;
    std::string m_mirror;
    std::function<void()> m_mirrorObserver;
};

}  // namespace zembrock
