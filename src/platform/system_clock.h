#pragma once

#include "platform/clock.h"

namespace zembrock {

// The operating system's monotonic millisecond clock and sleep.
class SystemClock final : public Clock {
public:
    std::uint32_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;
};

}  // namespace zembrock
