#include <sched.h>
#include <unistd.h>

#include "platform/processes.h"

namespace zembrock {
namespace {

constexpr std::uint64_t kMaskBits = 64;

class PosixProcesses final : public Processes {
public:
    std::uint32_t OwnProcessId() override { return static_cast<std::uint32_t>(getpid()); }

    std::optional<AffinityMasks> ReadAffinity(std::uint32_t processId) override {
        if (processId == 0) {
            return std::nullopt;
        }
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(static_cast<pid_t>(processId), sizeof(set), &set) != 0) {
            return std::nullopt;
        }
        AffinityMasks masks;
        // The system's processors: every processor configured on this machine.
        const long configured = sysconf(_SC_NPROCESSORS_CONF);
        for (std::uint64_t k = 0; k < kMaskBits; ++k) {
            if (configured > 0 && k < static_cast<std::uint64_t>(configured)) {
                masks.system |= std::uint64_t{1} << k;
            }
            if (CPU_ISSET(k, &set)) {
                masks.process |= std::uint64_t{1} << k;
            }
        }
        return masks;
    }

    bool SetAffinity(std::uint32_t processId, std::uint64_t mask) override {
        if (processId == 0 || mask == 0) {
            return false;
        }
        cpu_set_t set;
        CPU_ZERO(&set);
        for (std::uint64_t k = 0; k < kMaskBits; ++k) {
            if (((mask >> k) & 1U) != 0) {
                CPU_SET(k, &set);
            }
        }
        return sched_setaffinity(static_cast<pid_t>(processId), sizeof(set), &set) == 0;
    }
};

}  // namespace

std::unique_ptr<Processes> SystemProcesses() {
    return std::make_unique<PosixProcesses>();
}

}  // namespace zembrock
