#include "support/fake_window_system.h"

#include <algorithm>

namespace zembrock::test {
namespace {

constexpr std::size_t kMaxTitleCharacters = 127;
constexpr WindowHandle kHandleStep = 0x10;

}  // namespace

WindowHandle FakeWindowSystem::AddWindow(const std::string& className, const std::string& title,
                                         std::uint32_t ownerProcessId, WindowHandle parent) {
    const WindowHandle handle = m_nextHandle;
    m_nextHandle += kHandleStep;
    Window window;
    window.handle = handle;
    window.parent = parent;
    window.ownerProcessId = ownerProcessId;
    window.className = className;
    window.title = title;
    m_windows[handle] = window;
    if (Window* owner = Find(parent)) {
        owner->children.push_back(handle);
    }
    return handle;
}

FakeWindowSystem::ServerConsole FakeWindowSystem::AddServerConsole(std::uint32_t ownerProcessId,
                                                                   const std::string& title) {
    ServerConsole console;
    console.console = AddWindow(kServerConsoleClass, title, ownerProcessId);
    console.input = AddWindow("Edit", "", ownerProcessId, console.console);
    console.output = AddWindow("Edit", "", ownerProcessId, console.console);
    return console;
}

void FakeWindowSystem::RemoveWindow(WindowHandle window) {
    const Window* found = Find(window);
    if (found == nullptr) {
        return;
    }
    const std::vector<WindowHandle> children = found->children;
    for (const WindowHandle child : children) {
        RemoveWindow(child);
    }
    if (Window* parent = Find(found->parent)) {
        std::erase(parent->children, window);
    }
    m_windows.erase(window);
}

FakeWindowSystem::Window* FakeWindowSystem::Find(WindowHandle window) {
    const auto found = m_windows.find(window);
    return window == 0 || found == m_windows.end() ? nullptr : &found->second;
}

FakeWindowSystem::Window* FakeWindowSystem::Answering(WindowHandle window) {
    Window* found = Find(window);
    if (found == nullptr || found->hung) {
        return nullptr;
    }
    for (const Window* parent = Find(found->parent); parent != nullptr; parent = Find(parent->parent)) {
        if (parent->hung) {
            return nullptr;
        }
    }
    return found;
}

void FakeWindowSystem::Echo(WindowHandle control, const std::string& line) {
    if (Window* output = Find(NextSibling(control))) {
        output->text += "]" + line + "\r\n";
    }
}

WindowHandle FakeWindowSystem::FindWindow(const std::string& className, const std::string& title) {
    for (const auto& [handle, window] : m_windows) {
        if (window.parent == 0 && window.className == className && window.title == title) {
            return handle;
        }
    }
    return 0;
}

WindowHandle FakeWindowSystem::FindChild(WindowHandle parent, const std::string& className,
                                         const std::string& name) {
    const Window* owner = Find(parent);
    if (owner == nullptr) {
        return 0;
    }
    for (const WindowHandle child : owner->children) {
        const Window& window = m_windows.at(child);
        if (window.className == className && window.title == name) {
            return child;
        }
    }
    return 0;
}

WindowHandle FakeWindowSystem::NextSibling(WindowHandle window) {
    const Window* found = Find(window);
    if (found == nullptr) {
        return 0;
    }
    if (const Window* parent = Find(found->parent)) {
        const auto self = std::find(parent->children.begin(), parent->children.end(), window);
        return self + 1 == parent->children.end() ? 0 : *(self + 1);
    }
    const std::vector<WindowHandle> all = TopLevelWindows();
    const auto self = std::find(all.begin(), all.end(), window);
    return self == all.end() || self + 1 == all.end() ? 0 : *(self + 1);
}

std::uint32_t FakeWindowSystem::OwnerProcessId(WindowHandle window) {
    const Window* found = Find(window);
    return found == nullptr ? 0 : found->ownerProcessId;
}

std::vector<WindowHandle> FakeWindowSystem::TopLevelWindows() {
    std::vector<WindowHandle> handles;
    for (const auto& [handle, window] : m_windows) {
        if (window.parent == 0) {
            handles.push_back(handle);
        }
    }
    return handles;
}

std::string FakeWindowSystem::WindowTitle(WindowHandle window) {
    const Window* found = Find(window);
    return found == nullptr ? std::string() : found->title.substr(0, kMaxTitleCharacters);
}

bool FakeWindowSystem::SetText(WindowHandle window, const std::string& text) {
    Window* target = Answering(window);
    messages.push_back(Message{Op::SetText, window, text, false, target != nullptr});
    if (target == nullptr) {
        return false;
    }
    (target->parent == 0 ? target->title : target->text) = text;
    return true;
}

bool FakeWindowSystem::PressEnter(WindowHandle control) {
    Window* target = Answering(control);
    const std::string line = target == nullptr ? std::string() : target->text;
    messages.push_back(Message{Op::PressEnter, control, line, false, target != nullptr});
    if (target == nullptr) {
        return false;
    }
    if (target->parent != 0) {
        target->text.clear();
        if (onEnter) {
            onEnter(control, line);
        } else {
            Echo(control, line);
        }
    }
    return true;
}

std::optional<std::string> FakeWindowSystem::ReadText(WindowHandle control) {
    const Window* target = Answering(control);
    messages.push_back(Message{Op::ReadText, control, {}, false, target != nullptr});
    if (target == nullptr) {
        return std::nullopt;
    }
    return target->parent == 0 ? target->title : target->text;
}

bool FakeWindowSystem::Probe(WindowHandle window, std::uint32_t /*timeoutMs*/) {
    const bool answered = Answering(window) != nullptr;
    messages.push_back(Message{Op::Probe, window, {}, false, answered});
    return answered;
}

bool FakeWindowSystem::Show(WindowHandle window, bool visible) {
    Window* target = Answering(window);
    messages.push_back(Message{Op::Show, window, {}, visible, target != nullptr});
    if (target == nullptr) {
        return false;
    }
    target->visible = visible;
    return true;
}

}  // namespace zembrock::test
