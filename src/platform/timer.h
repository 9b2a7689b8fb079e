#pragma once

#include <cstdint>

namespace zembrock {

// One of the main window's timers: it ticks on the user-interface thread while active.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(std::uint32_t intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
    virtual std::uint32_t IntervalMs() const = 0;
};

}  // namespace zembrock
