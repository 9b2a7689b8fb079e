#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/split_command_line.h"
#include "platform/processes.h"

// POSIX's own name for the environment, which no header declares.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables,readability-redundant-declaration)
extern char** environ;

namespace zembrock {
namespace fs = std::filesystem;
namespace {

constexpr std::uint64_t kMaskBits = 64;
// How long Terminate waits for a killed process to be gone (and its windows with it).
constexpr int kTerminateWaitMs = 2000;

bool IsRunnable(const fs::path& file) {
    struct stat info {};
    return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(file.c_str(), X_OK) == 0;
}

// The program file of a command line's first argument: a name with a slash is a path (relative
// ones from the working folder); a bare name is looked for in the working folder, then in PATH.
std::optional<fs::path> ResolveExecutable(const std::string& name, const fs::path& base) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        const fs::path file = fs::path(name).is_absolute() ? fs::path(name) : base / name;
        return IsRunnable(file) ? std::optional<fs::path>(file) : std::nullopt;
    }
    if (IsRunnable(base / name)) {
        return base / name;
    }
    // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing in the program sets the environment
    const char* pathVariable = std::getenv("PATH");
    const std::string searchPath = pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = searchPath.find(':', start);
        const std::string entry =
            searchPath.substr(start, colon == std::string::npos ? colon : colon - start);
        std::error_code error;
        // An empty entry is the current folder; relative ones are taken from it too.
        const fs::path folder = fs::absolute(entry.empty() ? fs::path(".") : fs::path(entry), error);
        if (!error && IsRunnable(folder / name)) {
            return folder / name;
        }
        if (colon == std::string::npos) {
            return std::nullopt;
        }
        start = colon + 1;
    }
}

// The end of one child process, told by the thread that reaps it.
struct ChildExit {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

// Every child gets a thread that waits for exactly that child, so no child ever stays a zombie
// and no other child of the program (Qt's, for instance) is reaped behind its owner's back.
std::shared_ptr<ChildExit> ReapInBackground(pid_t pid) {
    auto exit = std::make_shared<ChildExit>();
    try {
        std::thread([pid, exit] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            {
                const std::lock_guard<std::mutex> lock(exit->mutex);
                exit->done = true;
            }
            exit->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread the child is reaped by nobody: it stays a zombie until the program
        // ends, which is harmless for its windows (they go when it dies).
        return nullptr;
    }
    return exit;
}

// posix_spawn's attributes and file actions, released however the launch ends.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawnattr_init(&m_attributes);
        posix_spawn_file_actions_init(&m_actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    SpawnSetup(SpawnSetup&&) = delete;
    SpawnSetup& operator=(SpawnSetup&&) = delete;

    posix_spawnattr_t* Attributes() { return &m_attributes; }
    posix_spawn_file_actions_t* Actions() { return &m_actions; }

private:
    posix_spawnattr_t m_attributes{};
    posix_spawn_file_actions_t m_actions{};
};

int PidFdOpen(pid_t pid) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): syscall() is the only way in glibc 2.36
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int PidFdKill(int pidFd) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): syscall() is the only way in glibc 2.36
    return static_cast<int>(syscall(SYS_pidfd_send_signal, pidFd, SIGKILL, nullptr, 0));
}

// Processes of this system. A launch's show state and creation flags have no meaning here and
// are ignored: the server opens its own console window, and runs at normal priority.
class PosixProcesses final : public Processes {
public:
    bool CreateProcess(const ProcessLaunch& launch) override {
        std::vector<std::string> arguments = SplitCommandLine(launch.commandLine);
        if (arguments.empty()) {
            return false;
        }
        // Absolute, because the child resolves the program's path after its change of folder.
        std::error_code error;
        const fs::path base =
            fs::absolute(launch.workingFolder.empty() ? fs::path(".") : launch.workingFolder, error);
        const auto executable = ResolveExecutable(arguments[0], base);
        if (error || !executable) {
            return false;
        }
        SpawnSetup setup;
        // The server starts in a session of its own, as a Windows program opens its own console:
        // a Ctrl+C or hang-up aimed at the program's terminal does not end it. Signals the
        // program blocks or ignores are not handed down.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(setup.Attributes(), &none);
        posix_spawnattr_setsigdefault(setup.Attributes(), &all);
        posix_spawnattr_setflags(setup.Attributes(),
                                 POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
        if (!launch.workingFolder.empty() &&
            posix_spawn_file_actions_addchdir_np(setup.Actions(), launch.workingFolder.c_str()) != 0) {
            return false;
        }
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, executable->c_str(), setup.Actions(), setup.Attributes(), argv.data(),
                        environ) != 0) {
            return false;
        }
        const std::shared_ptr<ChildExit> exit = ReapInBackground(pid);
        if (exit && launch.settleWaitMs > 0) {
            std::unique_lock<std::mutex> lock(exit->mutex);
            exit->ended.wait_for(lock, std::chrono::milliseconds(launch.settleWaitMs),
                                 [&] { return exit->done; });
        }
        return true;
    }

    // Waits (bounded) until the process has really ended, so that its windows are gone when
    // this returns. The pid file descriptor makes sure the signal reaches the process that was
    // looked up, not a later one with the same id.
    TerminateResult Terminate(std::uint32_t processId) override {
        if (processId == 0 || processId > static_cast<std::uint32_t>(INT_MAX)) {
            return TerminateResult::NotFound;
        }
        const auto pid = static_cast<pid_t>(processId);
        const int pidFd = PidFdOpen(pid);
        if (pidFd < 0) {
            if (errno == ESRCH) {
                return TerminateResult::NotFound;
            }
            // A kernel without pid file descriptors: the plain signal, without the wait.
            if (kill(pid, SIGKILL) != 0) {
                return errno == ESRCH ? TerminateResult::NotFound : TerminateResult::Failed;
            }
            return TerminateResult::Terminated;
        }
        TerminateResult result = TerminateResult::Terminated;
        if (PidFdKill(pidFd) != 0) {
            result = errno == ESRCH ? TerminateResult::NotFound : TerminateResult::Failed;
        } else {
            pollfd entry{pidFd, POLLIN, 0};
            while (poll(&entry, 1, kTerminateWaitMs) < 0 && errno == EINTR) {
            }
        }
        close(pidFd);
        return result;
    }

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
