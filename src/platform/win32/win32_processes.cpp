#include <string>

#include "platform/processes.h"
#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace zembrock {
namespace {

// A process handle, closed however the call that opened it ends.
class ProcessHandle {
public:
    explicit ProcessHandle(HANDLE handle) : m_handle(handle) {}
    ~ProcessHandle() {
        if (m_handle != nullptr) {
            CloseHandle(m_handle);
        }
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    ProcessHandle(ProcessHandle&&) = delete;
    ProcessHandle& operator=(ProcessHandle&&) = delete;

    // The process if it is still running. One that has ended counts as not found even while
    // another program's handle keeps its record alive (ending it again would fail, and its
    // affinity means nothing any more).
    static ProcessHandle OpenRunning(DWORD access, std::uint32_t processId) {
        HANDLE handle = processId == 0 ? nullptr : OpenProcess(access | SYNCHRONIZE, FALSE, processId);
        if (handle != nullptr && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
            CloseHandle(handle);
            handle = nullptr;
        }
        return ProcessHandle(handle);
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle;
};

class Win32Processes final : public Processes {
public:
    bool CreateProcess(const ProcessLaunch& launch) override {
        // CreateProcessA may write into the command line, so it gets a copy of its own. The
        // executable is the command line's first argument, a bare name looked for as Windows
        // does: in this program's folder, the current folder, the system folders, then PATH (not
        // in the working folder given to the process).
        std::string commandLine = launch.commandLine;
        const std::string folder = launch.workingFolder.string();
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = launch.showState;
        PROCESS_INFORMATION created{};
        if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, launch.creationFlags,
                             nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                             &created) == FALSE) {
            return false;
        }
        const ProcessHandle process(created.hProcess);
        const ProcessHandle thread(created.hThread);
        WaitForSingleObject(process.Get(), launch.settleWaitMs);
        return true;
    }

    // Waits (bounded) until the process has really ended, so that its windows are gone when
    // this returns: TerminateProcess only starts the end.
    TerminateResult Terminate(std::uint32_t processId) override {
        const ProcessHandle process = ProcessHandle::OpenRunning(PROCESS_TERMINATE, processId);
        if (!process) {
            return TerminateResult::NotFound;
        }
        if (TerminateProcess(process.Get(), 0) == FALSE) {
            return TerminateResult::Failed;
        }
        WaitForSingleObject(process.Get(), kWindowMessageTimeoutMs);
        return TerminateResult::Terminated;
    }

    std::uint32_t OwnProcessId() override { return GetCurrentProcessId(); }

    std::optional<AffinityMasks> ReadAffinity(std::uint32_t processId) override {
        const ProcessHandle process =
            ProcessHandle::OpenRunning(PROCESS_QUERY_LIMITED_INFORMATION, processId);
        DWORD_PTR processMask = 0;
        DWORD_PTR systemMask = 0;
        if (!process || GetProcessAffinityMask(process.Get(), &processMask, &systemMask) == FALSE) {
            return std::nullopt;
        }
        return AffinityMasks{processMask, systemMask};
    }

    bool SetAffinity(std::uint32_t processId, std::uint64_t mask) override {
        if (mask == 0) {
            return false;
        }
        const ProcessHandle process = ProcessHandle::OpenRunning(
            PROCESS_SET_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION, processId);
        return process && SetProcessAffinityMask(process.Get(), static_cast<DWORD_PTR>(mask)) != FALSE;
    }
};

}  // namespace

std::unique_ptr<Processes> SystemProcesses() {
    return std::make_unique<Win32Processes>();
}

}  // namespace zembrock
