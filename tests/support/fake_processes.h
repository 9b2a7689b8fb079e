#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/processes.h"

namespace zembrock::test {

// Processes with affinities held in memory: a process exists when it has an entry. Setting an
// affinity outside the system mask, or an empty one, fails as it does on a real system.
class FakeProcesses final : public Processes {
public:
    static constexpr std::uint32_t kOwnId = 100;

    explicit FakeProcesses(std::uint64_t system = 0xFF) : systemMask(system) { affinities[kOwnId] = system; }

    std::uint32_t OwnProcessId() override { return kOwnId; }
    std::optional<AffinityMasks> ReadAffinity(std::uint32_t processId) override {
        const auto found = affinities.find(processId);
        if (found == affinities.end()) {
            return std::nullopt;
        }
        return AffinityMasks{found->second, systemMask};
    }
    bool SetAffinity(std::uint32_t processId, std::uint64_t mask) override {
        setRequests.push_back(mask);
        const auto found = affinities.find(processId);
        if (found == affinities.end() || mask == 0 || (mask & ~systemMask) != 0) {
            return false;
        }
        found->second = mask;
        return true;
    }

    std::uint64_t systemMask;
    std::map<std::uint32_t, std::uint64_t> affinities;
    std::vector<std::uint64_t> setRequests;
};

}  // namespace zembrock::test
