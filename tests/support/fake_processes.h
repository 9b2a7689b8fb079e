#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/processes.h"

namespace zembrock::test {

// Processes with affinities held in memory: a process exists when it has an entry. Setting an
// affinity outside the system mask, or an empty one, fails as it does on a real system.
// Launches and terminations are recorded in order; their results are scripted: each launch
// takes the next entry of createResults, or createSucceeds once they are used up, and every
// termination answers terminateResult. The hooks run after a successful launch and on every
// termination (a test adds or removes the server's console window there).
class FakeProcesses final : public Processes {
public:
    static constexpr std::uint32_t kOwnId = 100;

    explicit FakeProcesses(std::uint64_t system = 0xFF) : systemMask(system) { affinities[kOwnId] = system; }

    bool CreateProcess(const ProcessLaunch& launch) override {
        launches.push_back(launch);
        bool succeeds = createSucceeds;
        if (!createResults.empty()) {
            succeeds = createResults.front();
            createResults.pop_front();
        }
        if (succeeds && onCreate) {
            onCreate(launch);
        }
        return succeeds;
    }
    TerminateResult Terminate(std::uint32_t processId) override {
        terminated.push_back(processId);
        if (onTerminate) {
            onTerminate(processId);
        }
        return terminateResult;
    }

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

    std::vector<ProcessLaunch> launches;
    std::deque<bool> createResults;
    bool createSucceeds = true;
    std::function<void(const ProcessLaunch&)> onCreate;
    std::vector<std::uint32_t> terminated;
    TerminateResult terminateResult = TerminateResult::Terminated;
    std::function<void(std::uint32_t processId)> onTerminate;
};

}  // namespace zembrock::test
