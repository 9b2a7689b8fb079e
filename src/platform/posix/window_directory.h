#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/posix/window_protocol.h"

namespace zembrock {

// A host that is alive, with the windows its file shows.
struct PublishedHost {
    HostStem stem;
    std::vector<WindowRecord> windows;  // in creation order

    const WindowRecord* Find(WindowHandle handle) const;
};

// The live hosts of the windows folder, by process id. Never waits on a host: liveness is read
// from the host's lock alone. The files of dead hosts are removed on the way, and neither they
// nor a windows file without its lock ever count.
std::vector<PublishedHost> ReadLiveHosts(const std::filesystem::path& folder);

// The live host of this process, if it has one.
std::optional<PublishedHost> ReadLiveHost(const std::filesystem::path& folder, std::uint32_t processId);

}  // namespace zembrock
