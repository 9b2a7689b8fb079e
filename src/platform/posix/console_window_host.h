#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zembrock {

// Hosts "console windows" of this process (a class, a title and child controls with text) so
// that other processes of the same user find them and message them through the window system
// (window_protocol.h has the files and the protocol). The windows last as long as the host: a
// host that is destroyed removes its files, and one whose process dies in any way, SIGKILL
// included, is never found again.
//
// Single-threaded like a Windows GUI thread: requests are answered only inside ServeOnce, so a
// process that stops calling it is "hung" exactly like a window that stops pumping messages
// (its windows are still found, their titles and owner still read; messages time out). The
// callbacks run inside ServeOnce; they may change any window but must not call ServeOnce.
class ConsoleWindowHost {
public:
    // A host in WindowsFolder(), or in the given folder; nullptr when its folder or files
    // cannot be made (also when the folder belongs to another user).
    static std::unique_ptr<ConsoleWindowHost> Create();
    static std::unique_ptr<ConsoleWindowHost> Create(const std::filesystem::path& folder);

    ~ConsoleWindowHost();
    ConsoleWindowHost(const ConsoleWindowHost&) = delete;
    ConsoleWindowHost& operator=(const ConsoleWindowHost&) = delete;
    ConsoleWindowHost(ConsoleWindowHost&&) = delete;
    ConsoleWindowHost& operator=(ConsoleWindowHost&&) = delete;

    // A new visible top-level window; 0 when the host already has 255 windows.
    WindowHandle CreateWindow(const std::string& className, const std::string& title);
    // A new visible control, the last child of parent. Its name is fixed (FindChild matches it),
    // its text starts empty. 0 when parent is not a window of this host or the host is full.
    WindowHandle CreateControl(WindowHandle parent, const std::string& className, const std::string& name);
    // New windows become visible to other processes here, or at the next ServeOnce, so that a
    // window is never found without the controls created right after it (as a Windows window
    // has its children before CreateWindow returns). Titles and visibility are published as
    // soon as they change, pending new windows with them.
    void Publish();

    // A top-level window's title (published at once) and a control's text. Calls on a handle
    // that is not a window of the right kind do nothing.
    void SetTitle(WindowHandle window, const std::string& title);
    std::string Title(WindowHandle window) const;
    void SetControlText(WindowHandle control, std::string text);
    void AppendControlText(WindowHandle control, std::string_view text);
    std::string ControlText(WindowHandle control) const;
    void SetVisible(WindowHandle window, bool visible);
    bool Visible(WindowHandle window) const;

    std::uint32_t ProcessId() const { return m_processId; }

    // Waits up to timeoutMs for requests (0: only looks), then answers every request that has
    // arrived. Returns early after answering; the caller calls it in its loop.
    void ServeOnce(int timeoutMs);
    // From now on nothing more is answered, not even the rest of the pass that is running (a
    // handler that hangs the server calls it): the windows stay, as a hung program's do.
    void Freeze() { m_frozen = true; }

    // Enter pressed in a control (WM_CHAR 13): the host application reads the control's text
    // and decides what to do with it.
    std::function<void(WindowHandle control)> onEnter;
    // A title set by another process, and a window shown or hidden by one.
    std::function<void(WindowHandle window, const std::string& title)> onTitle;
    std::function<void(WindowHandle window, bool visible)> onShow;

private:
    struct Window {
        WindowHandle handle = 0;
        WindowHandle parent = 0;
        bool visible = true;
        std::string className;
        std::string name;  // a top-level window's title, a control's fixed name
        std::string text;  // a control's text
    };
    struct Connection {
        int fd = -1;
        std::string in;
        std::string out;
        bool open = true;
    };

    ConsoleWindowHost(std::filesystem::path folder, std::string stem, int lockFd, int listenFd);

    Window* Find(WindowHandle handle);
    const Window* Find(WindowHandle handle) const;
    WindowHandle Add(Window window);
    void AcceptAll();
    void Read(Connection& connection);
    void Flush(Connection& connection);
    std::string Answer(std::uint32_t op, WindowHandle handle, std::string_view payload);

    std::filesystem::path m_folder;
    std::string m_stem;
    std::uint32_t m_processId;
    int m_lockFd;
    int m_listenFd;
    std::uint32_t m_nextIndex = 1;
    bool m_unpublished = false;  // windows were added since the last Publish
    bool m_frozen = false;
    std::vector<Window> m_windows;
    std::vector<Connection> m_connections;
};

}  // namespace zembrock
