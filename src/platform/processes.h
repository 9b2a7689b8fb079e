#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace zembrock {

// A process's processor affinity and the processors the system offers, bit k standing for
// processor k.
struct AffinityMasks {
    std::uint64_t process = 0;
    std::uint64_t system = 0;
};

// How a process is created: the command line (the executable name followed directly by the
// arguments, split as Windows splits it, quotes honoured), the working folder, and how long
// to wait for it to settle (the wait ends early when the process exits).
struct ProcessLaunch {
    std::string commandLine;
    std::filesystem::path workingFolder;
    std::uint32_t settleWaitMs = 0;
    std::uint16_t showState = 1;         // SW_SHOWNORMAL
    std::uint32_t creationFlags = 0x20;  // NORMAL_PRIORITY_CLASS
};

// Which step of ending a process failed.
enum class TerminateResult {
    Terminated,
    NotFound,  // the process could not be opened
    Failed,    // it was found but could not be ended
};

// The processes of this machine as the program sees them.
class Processes {
public:
    virtual ~Processes() = default;
    // Creates the process, then waits up to the settle wait. False when it could not be created.
    // The program keeps no handle: it knows the process only through its windows from then on.
    virtual bool CreateProcess(const ProcessLaunch& launch) = 0;
    // Ends the process at once.
    virtual TerminateResult Terminate(std::uint32_t processId) = 0;
    virtual std::uint32_t OwnProcessId() = 0;
    // nullopt when the process does not exist or cannot be read.
    virtual std::optional<AffinityMasks> ReadAffinity(std::uint32_t processId) = 0;
    // False when the process does not exist, may not be changed, or the mask is empty.
    virtual bool SetAffinity(std::uint32_t processId, std::uint64_t mask) = 0;
};

// The processes of this system.
std::unique_ptr<Processes> SystemProcesses();

}  // namespace zembrock
