#include "core/program_folder.h"

#include <cstdlib>

namespace zembrock {
namespace fs = std::filesystem;
namespace {

fs::path& Folder() {
    static fs::path folder = fs::current_path();
    return folder;
}

}  // namespace

fs::path ResolveProgramFolder(const fs::path& executableFolder) {
    const char* overridden =
        std::getenv(kProgramFolderVariable);  // NOLINT(concurrency-mt-unsafe): read at start-up only
    if (overridden != nullptr && *overridden != '\0') {
        return fs::absolute(fs::path(overridden)).lexically_normal();
    }
    return executableFolder;
}

void SetProgramFolder(const fs::path& folder) {
    Folder() = folder;
}

const fs::path& ProgramFolder() {
    return Folder();
}

std::string ProgramFolderText() {
    std::string text = Folder().string();
    const std::string root = Folder().root_path().string();
    while (text.size() > root.size() && (text.back() == '/' || text.back() == '\\')) {
        text.pop_back();
    }
    return text;
}

}  // namespace zembrock
