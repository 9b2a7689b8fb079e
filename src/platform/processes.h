#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace zembrock {

// A process's processor affinity and the processors the system offers, bit k standing for
// processor k.
struct AffinityMasks {
    std::uint64_t process = 0;
    std::uint64_t system = 0;
};

// The processes of this machine as the program sees them.
class Processes {
public:
    virtual ~Processes() = default;
    virtual std::uint32_t OwnProcessId() = 0;
    // nullopt when the process does not exist or cannot be read.
    virtual std::optional<AffinityMasks> ReadAffinity(std::uint32_t processId) = 0;
    // False when the process does not exist, may not be changed, or the mask is empty.
    virtual bool SetAffinity(std::uint32_t processId, std::uint64_t mask) = 0;
};

// The processes of this system.
std::unique_ptr<Processes> SystemProcesses();

}  // namespace zembrock
