#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace zembrock {

// The size limit of the program's log files, shared by the event log and the player log.

// The limit in kilobytes as the field "Delete logs if bigger than" holds it: its leading whole
// number. Text that does not start with a number means no limit (nullopt).
std::optional<std::int64_t> LogLimitKb(std::string_view limitText);

// A length in bytes as whole kilobytes of 1024 bytes, rounded to the nearest, halves to even.
std::uintmax_t RoundedKilobytes(std::uintmax_t bytes);

// When the file exists: deletes it if its rounded size is greater than the limit, then waits
// 200 ms with PumpedWait (deleted or not). A missing file is left alone without a wait.
void ApplyLogSizeRule(const std::filesystem::path& file, std::string_view limitText, Clock& clock,
                      EventPump& pump);

}  // namespace zembrock
