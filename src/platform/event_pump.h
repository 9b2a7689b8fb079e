#pragma once

namespace zembrock {

// Serves the window events that are pending right now (one pass), so that clicks and
// timer ticks are handled inside a wait.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void PumpOnce() = 0;
};

}  // namespace zembrock
