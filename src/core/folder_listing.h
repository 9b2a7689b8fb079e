#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// The names of the ordinary files in folder whose names end in extension (".dspl"; letters
// compared without regard to case, as the platform's file patterns do), sorted by name with
// letters compared without regard to case. Empty when the folder is missing or unreadable.
std::vector<std::string> ListFiles(const std::filesystem::path& folder, std::string_view extension);

// True when the folder exists and holds at least one ordinary file.
bool HoldsFiles(const std::filesystem::path& folder);

// True when name can name a file in a folder on Windows and on Linux: not empty, no path
// separator, not "." or "..", none of the characters <>:"/\|?* or control characters, no
// trailing blank or dot, and not a reserved device name (CON, NUL, COM1, ...).
bool IsValidFileName(std::string_view name);

// Less-than on names with letters compared without regard to case.
bool NameLessNoCase(std::string_view a, std::string_view b);

}  // namespace zembrock
