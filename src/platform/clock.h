#pragma once

#include <cstdint>

namespace zembrock {

// The millisecond clock and the plain sleep behind every wait of the program.
// NowMs wraps around after 2^32 ms; callers compare times by their difference.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t NowMs() = 0;
    // Blocks the thread without serving any event.
    virtual void SleepMs(std::uint32_t ms) = 0;
};

}  // namespace zembrock
