#pragma once

#include <memory>
#include <string>

namespace zembrock {

// Marks this process as a running instance of the program for as long as the lock lives,
// and tells whether another instance already holds it.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    virtual bool AnotherInstanceRunning() const = 0;
};

// The lock for the program installed in programFolder (one instance per installation).
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& programFolder);

// The name every backend gives the lock of the installation in programFolder: the same folder
// text gives the same name in every build of the program.
std::string InstanceLockName(const std::string& programFolder);

}  // namespace zembrock
