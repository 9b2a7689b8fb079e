#include "server/respond_tries.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/text.h"

namespace zembrock {

std::optional<std::int16_t> ParseRespondTries(std::string_view text) {
    text = TrimBlanks(text);
    const bool digitsOnly =
        std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (text.empty() || !digitsOnly || std::count(text.begin(), text.end(), '.') > 1 || text == ".") {
        return std::nullopt;
    }
    // from_chars reads the number the same way whatever the user's locale; a value too large for
    // a double fails like any other value out of range.
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    // std::nearbyint rounds halves to even in the default rounding mode.
    value = std::nearbyint(value);
    if (value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace zembrock
