#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/instance_lock.h"

namespace zembrock {
namespace {

// An advisory lock on a file in the user's runtime folder, named after the installation. The
// kernel drops the lock when the process ends, however it ends.
class PosixInstanceLock final : public InstanceLock {
public:
    explicit PosixInstanceLock(const std::string& path)
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open() is the POSIX call
        : m_fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)),
          m_another(m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {}
    ~PosixInstanceLock() override {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    PosixInstanceLock(const PosixInstanceLock&) = delete;
    PosixInstanceLock& operator=(const PosixInstanceLock&) = delete;
    PosixInstanceLock(PosixInstanceLock&&) = delete;
    PosixInstanceLock& operator=(PosixInstanceLock&&) = delete;

    bool AnotherInstanceRunning() const override { return m_another; }

private:
    int m_fd;
    bool m_another;
};

}  // namespace

std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& programFolder) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");  // NOLINT(concurrency-mt-unsafe): start-up only
    const std::string folder = runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
    // The user's id keeps the users of a shared /tmp apart.
    const std::string name = InstanceLockName(programFolder) + "-" + std::to_string(getuid()) + ".lock";
    return std::make_unique<PosixInstanceLock>(folder + "/" + name);
}

}  // namespace zembrock
