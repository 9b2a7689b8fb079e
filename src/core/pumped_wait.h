#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace zembrock {

// Waits about ms milliseconds while serving window events: it never sleeps longer than a tenth
// of the whole wait, nor longer than 100 ms, before pumping events again. Event handlers and
// timers may therefore run inside the wait; callers leave their state consistent first.
void PumpedWait(Clock& clock, EventPump& pump, std::int32_t ms);

}  // namespace zembrock
