#pragma once

#include <memory>

namespace zembrock {

// Serves the window events that are pending right now (one pass), so that clicks and
// timer ticks are handled inside a wait.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void PumpOnce() = 0;
};

// The pump of a program without a toolkit's event loop (the console harness): it serves the
// pending messages of the calling thread's own windows. The Qt application pumps through Qt.
std::unique_ptr<EventPump> ThreadEventPump();

}  // namespace zembrock
