#include "platform/instance_lock.h"
#include "platform/win32/windows_api.h"

namespace zembrock {
namespace {

// A named mutex in the session's namespace, named after the installation. The system closes the
// handle when the process ends, however it ends; the mutex goes with its last handle.
class Win32InstanceLock final : public InstanceLock {
public:
    explicit Win32InstanceLock(const std::string& name)
        : m_mutex(CreateMutexA(nullptr, FALSE, name.c_str())),
          m_another(m_mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {}
    ~Win32InstanceLock() override {
        if (m_mutex != nullptr) {
            CloseHandle(m_mutex);
        }
    }
    Win32InstanceLock(const Win32InstanceLock&) = delete;
    Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;
    Win32InstanceLock(Win32InstanceLock&&) = delete;
    Win32InstanceLock& operator=(Win32InstanceLock&&) = delete;

    bool AnotherInstanceRunning() const override { return m_another; }

private:
    HANDLE m_mutex;
    bool m_another;
};

}  // namespace

std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& programFolder) {
    return std::make_unique<Win32InstanceLock>("Local\\" + InstanceLockName(programFolder));
}

}  // namespace zembrock
