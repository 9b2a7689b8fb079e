#include <string>

#include "platform/program_location.h"
#include "platform/win32/windows_api.h"

namespace zembrock {
namespace {

constexpr DWORD kFirstTryChars = MAX_PATH;
// Longer than any path the system accepts (32767 characters).
constexpr DWORD kMostChars = 64 * 1024;

}  // namespace

std::filesystem::path ExecutableFolder() {
    // A path that fills the buffer may have been cut: the buffer grows until it has room to spare.
    for (DWORD size = kFirstTryChars; size <= kMostChars; size *= 2) {
        std::string path(size, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
        if (length == 0) {
            break;
        }
        if (length < size) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
    }
    return std::filesystem::current_path();
}

}  // namespace zembrock
