#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace zembrock {
namespace {

// GetWindowTextA's buffer: a title of at most 127 characters and its terminator.
constexpr int kTitleBufferCharacters = 128;

// Window handles are 32 bits wide on 64-bit Windows too, so that 32-bit and 64-bit programs can
// share them: a handle is truncated on the way out and sign-extended on the way back.
HWND ToHwnd(WindowHandle handle) {
    // A handle is a number, not an address.
    // NOLINTNEXTLINE(performance-no-int-to-ptr,cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(handle)));
}

WindowHandle ToHandle(HWND window) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): see ToHwnd
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

// A message to a window of another process, given up after timeoutMs when that process's thread
// does not handle it. nullopt when it was not handled (hung, gone, or refused).
std::optional<LRESULT> SendBounded(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                                   std::uint32_t timeoutMs) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

// The length of a control's text in UTF-16 units, bounded like SendBounded. Asked in the wide
// form: Wine answers the ANSI WM_GETTEXTLENGTH of another process's window with a second,
// unbounded message, which never returns from a hung server.
std::optional<LRESULT> TextLengthBounded(WindowHandle window, std::uint32_t timeoutMs) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &result) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

// Milliseconds left of a bound that began at start (GetTickCount64), at least 1 so that a
// message still gets its chance.
std::uint32_t RemainingOf(ULONGLONG start, std::uint32_t boundMs) {
    const ULONGLONG spent = GetTickCount64() - start;
    return spent >= boundMs ? 1U : static_cast<std::uint32_t>(boundMs - spent);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    // EnumWindows hands the collector back as a number.
    // NOLINTNEXTLINE(performance-no-int-to-ptr,cppcoreguidelines-pro-type-reinterpret-cast)
    reinterpret_cast<std::vector<WindowHandle>*>(windows)->push_back(ToHandle(window));
    return TRUE;  // every window is visited
}

// The Win32 window manager. Finding windows, their titles and owners reads the window
// manager's own records (GetWindowTextA reads a foreign window's stored title without asking
// its thread), so those calls never wait on the owner. Everything the owner's thread must
// handle goes through SendMessageTimeoutA with a bound.
class Win32WindowSystem final : public WindowSystem {
public:
    WindowHandle FindWindow(const std::string& className, const std::string& title) override {
        return ToHandle(FindWindowA(className.c_str(), title.c_str()));
    }

    WindowHandle FindChild(WindowHandle parent, const std::string& className,
                           const std::string& name) override {
        if (parent == 0) {
            return 0;  // a null parent would search the desktop's children instead
        }
        return ToHandle(FindWindowExA(ToHwnd(parent), nullptr, className.c_str(), name.c_str()));
    }

    WindowHandle NextSibling(WindowHandle window) override {
        if (window == 0) {
            return 0;
        }
        return ToHandle(GetWindow(ToHwnd(window), GW_HWNDNEXT));
    }

    std::uint32_t OwnerProcessId(WindowHandle window) override {
        DWORD processId = 0;
        if (window == 0 || GetWindowThreadProcessId(ToHwnd(window), &processId) == 0) {
            return 0;
        }
        return processId;
    }

    std::vector<WindowHandle> TopLevelWindows() override {
        std::vector<WindowHandle> windows;
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): EnumWindows' context is a number
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    std::string WindowTitle(WindowHandle window) override {
        if (window == 0) {
            return {};
        }
        std::string title(kTitleBufferCharacters, '\0');
        const int length = GetWindowTextA(ToHwnd(window), title.data(), kTitleBufferCharacters);
        title.resize(length > 0 ? static_cast<std::size_t>(length) : 0U);
        return title;
    }

    bool SetText(WindowHandle window, const std::string& text) override {
        if (window == 0) {
            return false;
        }
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): WM_SETTEXT takes the text as a number
        const auto result = SendBounded(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                        kWindowMessageTimeoutMs);
        return result.has_value() && *result != FALSE;
    }

    bool PressEnter(WindowHandle control) override {
        return control != 0 && SendBounded(control, WM_CHAR, '\r', 0, kWindowMessageTimeoutMs).has_value();
    }

    std::optional<std::string> ReadText(WindowHandle control) override {
        if (control == 0) {
            return std::nullopt;
        }
        // Both messages share one bound.
        const ULONGLONG start = GetTickCount64();
        const auto length = TextLengthBounded(control, kWindowMessageTimeoutMs);
        if (!length) {
            return std::nullopt;
        }
        if (*length <= 0) {
            return std::string();
        }
        // A UTF-16 unit is one byte of ANSI text, or two in a double-byte code page.
        std::string text(static_cast<std::size_t>(*length) * 2 + 1, '\0');
        const auto copied =
            SendBounded(control, WM_GETTEXT, text.size(),
                        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the buffer as a number
                        reinterpret_cast<LPARAM>(text.data()), RemainingOf(start, kWindowMessageTimeoutMs));
        if (!copied) {
            return std::nullopt;
        }
        text.resize(std::clamp<std::size_t>(static_cast<std::size_t>(std::max<LRESULT>(*copied, 0)), 0,
                                            text.size() - 1));
        return text;
    }

    bool Probe(WindowHandle window, std::uint32_t timeoutMs) override {
        return window != 0 && SendBounded(window, WM_NULL, 0, 0, timeoutMs).has_value();
    }

    bool Show(WindowHandle window, bool visible) override {
        // ShowWindow on another thread's window waits for that thread; the asynchronous form
        // hands the request over without waiting, so a hung server cannot block the caller.
        return window != 0 && IsWindow(ToHwnd(window)) != FALSE &&
               ShowWindowAsync(ToHwnd(window), visible ? SW_SHOW : SW_HIDE) != FALSE;
    }
};

}  // namespace

std::unique_ptr<WindowSystem> SystemWindowSystem() {
    return std::make_unique<Win32WindowSystem>();
}

}  // namespace zembrock
