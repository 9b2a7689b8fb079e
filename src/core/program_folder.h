#pragma once

#include <filesystem>
#include <string>

namespace zembrock {

// The program's folder: every relative path of the program starts there, and "%APP%" in a
// value read from an INI file stands for it. It is the executable's folder unless the
// environment variable ZEMBROCK_PROGRAM_DIR names another one. Set once at start-up.

inline constexpr const char* kProgramFolderVariable = "ZEMBROCK_PROGRAM_DIR";

// The folder the program uses, given the executable's folder.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executableFolder);

void SetProgramFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProgramFolder();

// The folder as text, without a trailing separator except at a root ("C:\", "/").
std::string ProgramFolderText();

}  // namespace zembrock
