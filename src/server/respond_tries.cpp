#include "server/respond_tries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/text.h"

namespace zembrock {

std::optional<std::int16_t> ParseRespondTries(std::string_view text) {
    text = TrimBlanks(text);
    const bool digitsOnly =
        std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (text.empty() || !digitsOnly || std::count(text.begin(), text.end(), '.') > 1 || text == ".") {
        return std::nullopt;
    }
    // std::nearbyint rounds halves to even in the default rounding mode.
    const double value = std::nearbyint(std::stod(std::string(text)));
    if (value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace zembrock
