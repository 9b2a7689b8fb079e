#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// A pick list as the program models it: its entries and the selected position (none when
// nothing is selected). Pages render a chooser; they keep no copy of their own.
struct Chooser {
    std::vector<std::string> entries;
    std::optional<std::size_t> selected;

    // The selected entry's text; empty when nothing is selected.
    std::string Text() const;
    // Selects the first entry with exactly this text. False (selection unchanged) when none has it.
    bool SelectText(std::string_view text);
    // Selects the entry at the position. False (selection unchanged) when there is none.
    bool SelectIndex(std::int64_t index);
    // Replaces the entries; nothing is selected afterwards.
    void Fill(std::vector<std::string> newEntries);
};

}  // namespace zembrock
