// The stand-in dedicated server on Windows: a console program that behaves, as far as the
// control panel can tell, like the game's dedicated server. Its console window is a real window
// of class "IW5 WinConsole" with two Edit controls, the input line and, next in the window
// order, the output; the lines typed into the input are executed, and the server can be told
// to hang (stop handling its window for good) or to crash.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

#include "standin_server/standin_console.h"
#include "standin_server/standin_options.h"

namespace zembrock::standin {
namespace {

constexpr WPARAM kEnterKey = 13;
constexpr int kInputHeight = 24;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 500;
// An Edit control takes about 30000 characters unless told otherwise; the output keeps more.
constexpr WPARAM kTextLimit = 1 << 20;

// Windows carries addresses in integers (message parameters, window data): these two
// functions are where they change sides.
template <typename T>
T* AddressIn(LONG_PTR value) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr,cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<T*>(value);
}

template <typename T>
LONG_PTR IntegerFor(T* address) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<LONG_PTR>(address);
}

std::filesystem::path CurrentFolder() {
    std::error_code error;
    return std::filesystem::current_path(error);
}

// A control's text.
std::string ControlText(HWND control) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// Serves the thread's messages for up to timeoutMs; false once the thread was asked to quit.
bool PumpMessages(DWORD timeoutMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// The server and its console window. The window procedures find it through the console
// window's user data.
class WindowedServer {
public:
    explicit WindowedServer(const Options& options);

    // Runs the server until it quits, or crashes, or hangs until then: the process ends in here.
    [[noreturn]] void Run();

private:
    static LRESULT CALLBACK ConsoleProc(HWND console, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InputProc(HWND input, UINT message, WPARAM wParam, LPARAM lParam);
    static WindowedServer* Of(HWND console);

    // The console window's own handling of a message; nullopt leaves it to DefWindowProcA.
    std::optional<LRESULT> Handle(HWND console, UINT message, WPARAM wParam, LPARAM lParam);
    bool Due(const std::optional<int>& afterMs) const;
    // Crashes, quits or opens the window when the command line's times have come.
    void FollowClock();
    void Open();
    bool CreateControls(HWND console);
    void Layout(int width, int height) const;
    void Print(const std::string& line);
    void AppendOutput(const std::string& text) const;
    // Enter pressed in the input line: its text is executed.
    void Enter();
    // The thread stops handling its window for good; only the clock still counts.
    [[noreturn]] void Hang();
    [[noreturn]] void Quit();

    const Options& m_options;
    StandinConsole m_server;
    std::chrono::steady_clock::time_point m_start;
    // Set once the window is complete: what Open does to it until then is not announced.
    HWND m_console = nullptr;
    HWND m_input = nullptr;
    HWND m_output = nullptr;
    WNDPROC m_editProc = nullptr;
    std::vector<std::string> m_pending;  // what the server printed before its window opened
};

WindowedServer::WindowedServer(const Options& options)
    : m_options(options),
      m_server(MakePlayers(options.players, options.extraPlayers), options.publicIp, CurrentFolder(),
               [this](const std::string& line) { Print(line); }) {
    for (const auto& [name, value] : options.variables) {
        m_server.SetVariable(name, value);
    }
}

void WindowedServer::Run() {
    m_server.Start(static_cast<std::uint32_t>(GetCurrentProcessId()));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ConsoleProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kConsoleClass;
    if (RegisterClassExA(&windowClass) == 0) {
        WriteLine(stderr, "cannot register the console window's class (error " +
                              std::to_string(GetLastError()) + ")");
        std::exit(1);
    }
    m_start = std::chrono::steady_clock::now();
    for (;;) {
        FollowClock();
        if (Due(m_options.hangAfterMs)) {
            WriteLine(stdout, kHangingLine);
            Hang();
        }
        if (!PumpMessages(kLoopSliceMs)) {
            Quit();
        }
    }
}

WindowedServer* WindowedServer::Of(HWND console) {
    return AddressIn<WindowedServer>(GetWindowLongPtrA(console, GWLP_USERDATA));
}

LRESULT CALLBACK WindowedServer::ConsoleProc(HWND console, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = AddressIn<const CREATESTRUCTA>(lParam);
        SetWindowLongPtrA(console, GWLP_USERDATA, IntegerFor(create->lpCreateParams));
    }
    WindowedServer* server = Of(console);
    if (server != nullptr) {
        if (const auto result = server->Handle(console, message, wParam, lParam)) {
            return *result;
        }
    }
    return DefWindowProcA(console, message, wParam, lParam);
}

LRESULT CALLBACK WindowedServer::InputProc(HWND input, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowedServer* server = Of(GetParent(input));
    if (message == WM_CHAR && wParam == kEnterKey) {
        server->Enter();
        return 0;
    }
    return CallWindowProcA(server->m_editProc, input, message, wParam, lParam);
}

std::optional<LRESULT> WindowedServer::Handle(HWND console, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return CreateControls(console) ? 0 : -1;
        case WM_SIZE:
            Layout(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETTEXT:
            if (m_console != nullptr) {
                const char* title = AddressIn<const char>(lParam);
                WriteLine(stdout, "Console title set to: " + std::string(title == nullptr ? "" : title));
            }
            return std::nullopt;  // DefWindowProcA sets it
        case WM_SHOWWINDOW:
            if (m_console != nullptr) {
                WriteLine(stdout, wParam != FALSE ? "Console window shown" : "Console window hidden");
            }
            return std::nullopt;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return std::nullopt;
    }
}

bool WindowedServer::Due(const std::optional<int>& afterMs) const {
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    return afterMs && elapsed >= std::chrono::milliseconds(*afterMs);
}

void WindowedServer::FollowClock() {
    if (Due(m_options.crashAfterMs)) {
        Crash();
    }
    if (Due(m_options.quitAfterMs)) {
        Quit();
    }
    if (m_console == nullptr && Due(m_options.windowDelayMs)) {
        Open();
    }
}

void WindowedServer::Open() {
    // The controls are made while the window is created, and the title, by which the control
    // panel finds the window, comes last: the window is never found without its controls.
    HWND console =
        CreateWindowExA(0, kConsoleClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        kWindowWidth, kWindowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (console == nullptr) {
        WriteLine(stderr, "cannot open the console window (error " + std::to_string(GetLastError()) + ")");
        std::exit(1);
    }
    SetWindowTextA(console, kConsoleTitle);
    m_console = console;
    WriteLine(stdout, "Console window opened (handle " + std::to_string(IntegerFor(console)) + ")");
}

bool WindowedServer::CreateControls(HWND console) {
    const auto edit = [console](DWORD style) {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 0, 0, 0, 0, console,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    };
    // The input first: the output is the window after it.
    m_input = edit(ES_AUTOHSCROLL);
    m_output = edit(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
    if (m_input == nullptr || m_output == nullptr) {
        return false;
    }
    for (HWND control : {m_input, m_output}) {
        SendMessageA(control, EM_SETLIMITTEXT, kTextLimit, 0);
    }
    m_editProc = AddressIn<std::remove_pointer_t<WNDPROC>>(
        SetWindowLongPtrA(m_input, GWLP_WNDPROC, IntegerFor(&WindowedServer::InputProc)));
    for (const std::string& line : m_pending) {
        AppendOutput(line + "\r\n");
    }
    m_pending.clear();
    return true;
}

void WindowedServer::Layout(int width, int height) const {
    MoveWindow(m_output, 0, 0, width, height - kInputHeight, TRUE);
    MoveWindow(m_input, 0, height - kInputHeight, width, kInputHeight, TRUE);
}

void WindowedServer::Print(const std::string& line) {
    WriteLine(stdout, line);
    if (m_output != nullptr) {
        AppendOutput(line + "\r\n");
    } else {
        m_pending.push_back(line);
    }
}

void WindowedServer::AppendOutput(const std::string& text) const {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthA(m_output));
    SendMessageA(m_output, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(m_output, EM_REPLACESEL, FALSE, IntegerFor(text.c_str()));
}

void WindowedServer::Enter() {
    const std::string line = ControlText(m_input);
    SetWindowTextA(m_input, "");
    m_server.Execute(line);
    switch (m_server.TakeRequest()) {
        case ConsoleRequest::Hang:
            // The sender of the Enter gets its answer; after it nothing is handled any more, not
            // even the messages already waiting in this pass of the pump.
            ReplyMessage(0);
            Hang();
        case ConsoleRequest::Crash:
            Crash();
        case ConsoleRequest::Quit:
            PostQuitMessage(0);
            break;
        case ConsoleRequest::None:
            break;
    }
}

void WindowedServer::Hang() {
    for (;;) {
        FollowClock();
        Sleep(kLoopSliceMs);
    }
}

void WindowedServer::Quit() {
    if (m_console != nullptr) {
        DestroyWindow(m_console);
    }
    WriteLine(stdout, "Server stopped");
    std::exit(0);
}

}  // namespace
}  // namespace zembrock::standin

int main(int argc, char** argv) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic): argv is the C entry point's array
    const auto options = zembrock::standin::ReadOptions(std::vector<std::string>(argv, argv + argc));
    if (!options) {
        return 2;
    }
    zembrock::standin::WindowedServer server(*options);
    server.Run();
}
