#include "platform/posix/window_directory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "core/file_io.h"

namespace zembrock {
namespace fs = std::filesystem;
namespace {

enum class HostState { Alive, Dead, Gone };

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

fs::path HostFile(const fs::path& folder, const std::string& stem, std::string_view suffix) {
    return folder / (stem + std::string(suffix));
}

// A shared lock is granted only when no host holds its exclusive one, that is when the host
// has ended, however it ended. The dead host's files go while the shared lock keeps any other
// reader's verdict the same.
HostState CheckHost(const fs::path& folder, const std::string& stem) {
    const fs::path lockFile = HostFile(folder, stem, kLockSuffix);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open() is the POSIX call
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return HostState::Gone;
    }
    HostState state = HostState::Alive;
    if (flock(fd, LOCK_SH | LOCK_NB) == 0) {
        state = HostState::Dead;
        std::error_code ignored;
        fs::remove(HostFile(folder, stem, kWindowsSuffix), ignored);
        fs::remove(HostFile(folder, stem, kWindowsTempSuffix), ignored);
        fs::remove(HostFile(folder, stem, kSocketSuffix), ignored);
        fs::remove(lockFile, ignored);
    }
    close(fd);
    return state;
}

std::optional<PublishedHost> ReadHost(const fs::path& folder, const HostStem& stem) {
    const std::string text = stem.Text();
    if (CheckHost(folder, text) != HostState::Alive) {
        return std::nullopt;
    }
    PublishedHost host{stem, {}};
    // A host that is still starting has no windows file yet: it is alive with no windows.
    if (const auto bytes = ReadWholeFile(HostFile(folder, text, kWindowsSuffix))) {
        if (auto windows = DecodeWindowRecords(*bytes)) {
            host.windows = std::move(*windows);
        }
    }
    return host;
}

// Every live host, or only the one of onlyProcessId when it is not 0.
std::vector<PublishedHost> Scan(const fs::path& folder, std::uint32_t onlyProcessId) {
    // Only a folder of this user is believed: anyone else could publish windows there.
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return {};
    }
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    std::vector<PublishedHost> hosts;
    for (const std::string& name : names) {
        if (EndsWith(name, kLockSuffix)) {
            const auto stem =
                ParseHostStem(std::string_view(name).substr(0, name.size() - kLockSuffix.size()));
            if (stem && (onlyProcessId == 0 || stem->processId == onlyProcessId)) {
                if (auto host = ReadHost(folder, *stem)) {
                    hosts.push_back(std::move(*host));
                }
            }
            continue;
        }
        // A windows file or socket whose lock file is gone belongs to a host that has ended
        // (a host's lock file comes first and goes last).
        for (const std::string_view suffix : {kWindowsSuffix, kWindowsTempSuffix, kSocketSuffix}) {
            if (!EndsWith(name, suffix)) {
                continue;
            }
            const std::string stem = name.substr(0, name.size() - suffix.size());
            if (ParseHostStem(stem) && !fs::exists(HostFile(folder, stem, kLockSuffix), error)) {
                fs::remove(folder / name, error);
            }
        }
    }
    std::sort(hosts.begin(), hosts.end(), [](const PublishedHost& a, const PublishedHost& b) {
        return a.stem.processId < b.stem.processId;
    });
    return hosts;
}

}  // namespace

const WindowRecord* PublishedHost::Find(WindowHandle handle) const {
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [handle](const WindowRecord& window) { return window.handle == handle; });
    return found == windows.end() ? nullptr : &*found;
}

std::vector<PublishedHost> ReadLiveHosts(const fs::path& folder) {
    return Scan(folder, 0);
}

std::optional<PublishedHost> ReadLiveHost(const fs::path& folder, std::uint32_t processId) {
    if (processId == 0) {
        return std::nullopt;
    }
    auto hosts = Scan(folder, processId);
    if (hosts.empty()) {
        return std::nullopt;
    }
    return std::move(hosts.front());
}

}  // namespace zembrock
