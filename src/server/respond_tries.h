#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zembrock {

// The respond-tries field's text as the watchdog's limit: a number (digits with at most one
// decimal point) rounded to the nearest whole number, halves to even, within the 16-bit signed
// range. nullopt for any other text, which keeps the old limit.
std::optional<std::int16_t> ParseRespondTries(std::string_view text);

}  // namespace zembrock
