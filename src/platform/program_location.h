#pragma once

#include <filesystem>

namespace zembrock {

// The folder that holds the running executable.
std::filesystem::path ExecutableFolder();

}  // namespace zembrock
