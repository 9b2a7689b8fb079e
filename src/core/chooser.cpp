#include "core/chooser.h"

#include <algorithm>

namespace zembrock {

std::string Chooser::Text() const {
    return selected ? entries.at(*selected) : std::string();
}

bool Chooser::SelectText(std::string_view text) {
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found == entries.end()) {
        return false;
    }
    selected = static_cast<std::size_t>(found - entries.begin());
    return true;
}

bool Chooser::SelectIndex(std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= entries.size()) {
        return false;
    }
    selected = static_cast<std::size_t>(index);
    return true;
}

void Chooser::Fill(std::vector<std::string> newEntries) {
    entries = std::move(newEntries);
    selected.reset();
}

}  // namespace zembrock
