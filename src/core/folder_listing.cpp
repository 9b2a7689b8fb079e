#include "core/folder_listing.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/text.h"

namespace zembrock {
namespace fs = std::filesystem;

bool NameLessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(ToUpperAscii(x)) < static_cast<unsigned char>(ToUpperAscii(y));
    });
}

std::vector<std::string> ListFiles(const fs::path& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (!it->is_regular_file(statusError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        if (name.size() >= extension.size() &&
            EqualsNoCase(std::string_view(name).substr(name.size() - extension.size()), extension)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameLessNoCase(a, b); });
    return names;
}

bool IsValidFileName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == ' ' || name.back() == '.') {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view(R"(<>:"/\|?*)").find(c) != std::string_view::npos) {
            return false;
        }
    }
    const std::string base = ToUpperAscii(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) {
        return false;
    }
    const bool numberedDevice = base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
                                base[3] >= '1' && base[3] <= '9';
    return !numberedDevice;
}

bool HoldsFiles(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (it->is_regular_file(statusError)) {
            return true;
        }
    }
    return false;
}

}  // namespace zembrock
