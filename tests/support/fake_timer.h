#pragma once

#include <cstdint>
#include <vector>

#include "platform/timer.h"

namespace zembrock::test {

// A timer that never ticks by itself: a test calls the tick handler, and reads whether the code
// left the timer running and at which interval.
class FakeTimer final : public Timer {
public:
    void Start(std::uint32_t intervalMs) override {
        m_active = true;
        m_intervalMs = intervalMs;
        starts.push_back(intervalMs);
    }
    void Stop() override { m_active = false; }
    bool Active() const override { return m_active; }
    std::uint32_t IntervalMs() const override { return m_intervalMs; }

    std::vector<std::uint32_t> starts;

private:
    bool m_active = false;
    std::uint32_t m_intervalMs = 0;
};

}  // namespace zembrock::test
