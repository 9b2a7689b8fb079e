#include "platform/win32/windows_api.h"
// The multimedia timer, which the lean Windows headers leave out.
#include <timeapi.h>

#include "platform/system_clock.h"

namespace zembrock {
namespace {

// The program waits in slices of a few milliseconds (a tenth of a wait); at the system's default
// timer period of about 15.6 ms every such sleep would last three or four times as long, and the
// multimedia clock would tick in steps of 5 ms or more. One request for a 1 ms period, held until
// the process ends, makes both as fine as the waits need.
void UseFineTimer() {
    static const bool requested = timeBeginPeriod(1) == TIMERR_NOERROR;
    static_cast<void>(requested);
}

}  // namespace

std::uint32_t SystemClock::NowMs() {
    UseFineTimer();
    return timeGetTime();
}

void SystemClock::SleepMs(std::uint32_t ms) {
    UseFineTimer();
    Sleep(ms);
}

}  // namespace zembrock
