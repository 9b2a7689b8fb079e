#include "core/pumped_wait.h"

#include <algorithm>

namespace zembrock {

void PumpedWait(Clock& clock, EventPump& pump, std::int32_t ms) {
    constexpr std::int32_t kLongestSlice = 100;
    const std::uint32_t start = clock.NowMs();
    const std::int32_t slice = std::clamp(ms / 10, 0, kLongestSlice);
    const std::uint32_t end = start + static_cast<std::uint32_t>(ms);
    for (;;) {
        pump.PumpOnce();
        // The difference of two wrapping clock readings, as a signed number.
        const auto remaining = static_cast<std::int32_t>(end - clock.NowMs());
        if (remaining > slice) {
            // A slice of 0 (waits under 10 ms) keeps pumping without sleeping at all.
            if (slice > 0) {
                clock.SleepMs(static_cast<std::uint32_t>(slice));
            }
            continue;
        }
        if (remaining > 0) {
            clock.SleepMs(static_cast<std::uint32_t>(remaining));
        }
        return;
    }
}

}  // namespace zembrock
