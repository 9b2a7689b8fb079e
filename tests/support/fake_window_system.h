#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "server/server_session.h"

namespace zembrock::test {

// The windows of a pretend machine, held in memory: top-level windows and their controls, each
// with a class, a title (a control's fixed window name), an owner process, a text and a
// visibility. Every message sent through the port is recorded in order, answered or not. A
// window is hung when its own flag or its top-level window's flag is set (a console's controls
// share its thread): messages to it go unanswered, while finding it and reading its title and
// owner still work. Enter in a control empties it and runs onEnter with the line; without a hook
// the console echoes the line into the control's next sibling, as the server does.
class FakeWindowSystem final : public WindowSystem {
public:
    enum class Op { SetText, PressEnter, ReadText, Probe, Show };

    struct Message {
        Op op = Op::Probe;
        WindowHandle window = 0;
        std::string text;      // SetText: the text sent; PressEnter: the line executed
        bool visible = false;  // Show: shown or hidden
        bool answered = false;
    };

    struct Window {
        WindowHandle handle = 0;
        WindowHandle parent = 0;
        std::uint32_t ownerProcessId = 0;
        std::string className;
        std::string title;
        std::string text;
        bool visible = true;
        bool hung = false;
        std::vector<WindowHandle> children;
    };

    // The handles of a console window like the server's.
    struct ServerConsole {
        WindowHandle console = 0;
        WindowHandle input = 0;
        WindowHandle output = 0;

        // The session's console, as a capture records it.
        void AttachTo(ServerSession& session) const {
            session.consoleWindow = console;
            session.inputLine = input;
            session.outputArea = output;
        }
    };

    // A new window; a control becomes the last child of parent.
    WindowHandle AddWindow(const std::string& className, const std::string& title,
                           std::uint32_t ownerProcessId, WindowHandle parent = 0);
    // The server's console: the top-level window, its input line ("Edit", name "") and its
    // output control ("Edit", name "") right after it.
    ServerConsole AddServerConsole(std::uint32_t ownerProcessId,
                                   const std::string& title = kServerConsoleTitle);
    // Removes the window and its controls, as when its process ends.
    void RemoveWindow(WindowHandle window);
    // The window, or nullptr; a test changes its fields directly (text, hung, ...).
    Window* Find(WindowHandle window);
    // The server's answer to any line: "]" + line + CR LF appended to the control's next sibling.
    void Echo(WindowHandle control, const std::string& line);

    WindowHandle FindWindow(const std::string& className, const std::string& title) override;
    WindowHandle FindChild(WindowHandle parent, const std::string& className,
                           const std::string& name) override;
    WindowHandle NextSibling(WindowHandle window) override;
    std::uint32_t OwnerProcessId(WindowHandle window) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string WindowTitle(WindowHandle window) override;
    bool SetText(WindowHandle window, const std::string& text) override;
    bool PressEnter(WindowHandle control) override;
    std::optional<std::string> ReadText(WindowHandle control) override;
    bool Probe(WindowHandle window, std::uint32_t timeoutMs) override;
    bool Show(WindowHandle window, bool visible) override;

    std::vector<Message> messages;
    std::function<void(WindowHandle control, const std::string& line)> onEnter;

private:
    // The window when it exists and answers messages, else nullptr.
    Window* Answering(WindowHandle window);

    std::map<WindowHandle, Window> m_windows;
    WindowHandle m_nextHandle = 0x10010;
};

}  // namespace zembrock::test
