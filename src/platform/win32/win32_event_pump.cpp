#include "platform/event_pump.h"
#include "platform/win32/windows_api.h"

namespace zembrock {
namespace {

// Serves the messages queued for the calling thread and its windows, without waiting for more.
class Win32EventPump final : public EventPump {
public:
    void PumpOnce() override {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_QUIT) {
                // The quit is for the thread's own message loop, which is not this pass: it is
                // queued again so that the loop still sees it.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
};

}  // namespace

std::unique_ptr<EventPump> ThreadEventPump() {
    return std::make_unique<Win32EventPump>();
}

}  // namespace zembrock
