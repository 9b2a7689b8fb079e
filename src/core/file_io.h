#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zembrock {

// Whole-file access for the program's 8-bit files. Every write that replaces a file goes
// through ReplaceFileAtomically, so a crash or a full disk never leaves half a file behind.

// The file's bytes, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// True when the file exists and carries no write permission (the read-only attribute on
// Windows). Such files are never replaced, even by a user who could override the bits.
bool IsReadOnlyFile(const std::filesystem::path& file);

// Writes bytes to a temporary file beside `file` and renames it over `file`. On any failure
// (read-only file, missing folder, full disk) the old file stays whole and false is returned.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Appends bytes at the end of the file, creating it when missing. False when it cannot.
bool AppendToFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace zembrock
