#include "core/log_size_rule.h"

#include <system_error>

#include "core/pumped_wait.h"
#include "core/text.h"

namespace zembrock {

std::optional<std::int64_t> LogLimitKb(std::string_view limitText) {
    return LeadingInteger(limitText);
}

std::uintmax_t RoundedKilobytes(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKilobyte = 1024;
    constexpr std::uintmax_t kHalf = kKilobyte / 2;
    std::uintmax_t kilobytes = bytes / kKilobyte;
    const std::uintmax_t rest = bytes % kKilobyte;
    if (rest > kHalf || (rest == kHalf && kilobytes % 2 == 1)) {
        ++kilobytes;
    }
    return kilobytes;
}

void ApplyLogSizeRule(const std::filesystem::path& file, std::string_view limitText, Clock& clock,
                      EventPump& pump) {
    constexpr std::int32_t kSettleMs = 200;
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    if (error) {
        return;
    }
    const std::optional<std::int64_t> limit = LogLimitKb(limitText);
    const std::uintmax_t kilobytes = RoundedKilobytes(bytes);
    if (limit && (*limit < 0 || kilobytes > static_cast<std::uintmax_t>(*limit))) {
        std::filesystem::remove(file, error);
    }
    PumpedWait(clock, pump, kSettleMs);
}

}  // namespace zembrock
