#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zembrock {

// A window of another process, as a 32-bit handle; 0 is no window.
using WindowHandle = std::uint32_t;

// The bound of every message sent to another process's window, unless a call names its own.
inline constexpr std::uint32_t kWindowMessageTimeoutMs = 3000;

// The top-level windows of the machine's processes and their child controls, as the program
// finds and messages them. Finding a window, reading its title, its children and its owner
// never wait on the process that hosts it: they work while that process is frozen, and a
// process that has ended has no windows. Every call that needs the hosting process to act is
// bounded by kWindowMessageTimeoutMs (or its own bound) and reports failure when it is not
// answered in time. Texts are 8-bit (Windows-1252).
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The first top-level window with exactly this class and title, or 0.
    virtual WindowHandle FindWindow(const std::string& className, const std::string& title) = 0;
    // The first child of parent with this class and this name (an empty name is a name too), or 0.
    virtual WindowHandle FindChild(WindowHandle parent, const std::string& className,
                                   const std::string& name) = 0;
    // The next sibling of a child window, or 0.
    virtual WindowHandle NextSibling(WindowHandle window) = 0;
    // The id of the process that owns the window; 0 when the window does not exist.
    virtual std::uint32_t OwnerProcessId(WindowHandle window) = 0;
    // Every top-level window, each once.
    virtual std::vector<WindowHandle> TopLevelWindows() = 0;
    // The window's title, at most 127 characters; empty when it has none or does not exist.
    virtual std::string WindowTitle(WindowHandle window) = 0;

    // WM_SETTEXT: a top-level window's title, or a control's text.
    virtual bool SetText(WindowHandle window, const std::string& text) = 0;
    // WM_CHAR 13 to a control: the console executes the line in its input line.
    virtual bool PressEnter(WindowHandle control) = 0;
    // WM_GETTEXTLENGTH then WM_GETTEXT: the control's whole text; nullopt when unanswered.
    virtual std::optional<std::string> ReadText(WindowHandle control) = 0;
    // WM_NULL with a time-out: true when the window's thread handled it within timeoutMs.
    virtual bool Probe(WindowHandle window, std::uint32_t timeoutMs) = 0;
    // ShowWindow with SW_SHOW or SW_HIDE.
    virtual bool Show(WindowHandle window, bool visible) = 0;
};

// The window system of this machine.
std::unique_ptr<WindowSystem> SystemWindowSystem();

}  // namespace zembrock
