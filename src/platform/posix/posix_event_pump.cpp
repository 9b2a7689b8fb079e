#include "platform/event_pump.h"

namespace zembrock {
namespace {

// Without a toolkit a Linux thread has no window events: the windows it talks to are hosted by
// other processes, which serve their own.
class PosixEventPump final : public EventPump {
public:
    void PumpOnce() override {}
};

}  // namespace

std::unique_ptr<EventPump> ThreadEventPump() {
    return std::make_unique<PosixEventPump>();
}

}  // namespace zembrock
