#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace zembrock::test {

// A clock that moves only when the code under test sleeps (or when a test advances it), and
// a pump that records its passes and can run a test's handler on each pass, the way a real
// pump runs event handlers inside a wait.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint32_t startMs = 0) : m_now(startMs) {}
    std::uint32_t NowMs() override { return m_now; }
    void SleepMs(std::uint32_t ms) override {
        sleeps.push_back(ms);
        m_now += ms;
    }
    void Advance(std::uint32_t ms) { m_now += ms; }

    std::vector<std::uint32_t> sleeps;

private:
    std::uint32_t m_now;
};

class FakeEventPump final : public EventPump {
public:
    void PumpOnce() override;

    int passes = 0;
    std::function<void()> onPass;  // runs on every pass when set
};

}  // namespace zembrock::test
