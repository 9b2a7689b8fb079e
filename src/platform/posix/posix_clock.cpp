#include <ctime>

#include "platform/system_clock.h"

namespace zembrock {

std::uint32_t SystemClock::NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Wraps around like the Windows multimedia clock.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000U +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000U);
}

void SystemClock::SleepMs(std::uint32_t ms) {
    timespec remaining{static_cast<time_t>(ms / 1000U), static_cast<long>(ms % 1000U) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0) {
    }
}

}  // namespace zembrock
