#include "server/processor_affinity.h"

#include <algorithm>

#include "core/text.h"

namespace zembrock {
namespace {

constexpr std::uint64_t kListedProcessors = 8;

}  // namespace

void CoreList::Fill(std::vector<std::string> newEntries) {
    entries = std::move(newEntries);
    selected.assign(entries.size(), false);
}

void CoreList::SelectAll() {
    std::fill(selected.begin(), selected.end(), true);
}

void CoreList::ClearSelection() {
    std::fill(selected.begin(), selected.end(), false);
}

std::uint64_t CoreList::Mask() const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            mask |= std::uint64_t{1} << i;
        }
    }
    return mask;
}

std::string CoreList::SelectionText() const {
    std::string text;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            text += std::to_string(i) + ",";
        }
    }
    return text;
}

void CoreList::SelectFromText(const std::string& text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view piece = TrimBlanks(std::string_view(text).substr(start, comma - start));
        // Only a piece made of digits is a position: "1x" and "-1" are skipped.
        const bool digits = !piece.empty() && std::all_of(piece.begin(), piece.end(),
                                                          [](char c) { return c >= '0' && c <= '9'; });
        const std::optional<std::int64_t> position = digits ? LeadingInteger(piece) : std::nullopt;
        if (position && static_cast<std::uint64_t>(*position) < selected.size()) {
            selected[static_cast<std::size_t>(*position)] = true;
        }
        start = comma + 1;
    }
}

std::vector<std::string> CoreEntries(std::uint64_t systemMask) {
    std::vector<std::string> entries;
    if (systemMask <= 1) {
        return entries;
    }
    for (std::uint64_t k = 0; k < kListedProcessors; ++k) {
        if (((systemMask >> k) & 1U) != 0) {
            entries.push_back("CPU " + std::to_string(k));
        }
    }
    return entries;
}

void FillCoreLists(CoreList& console, CoreList& program, Processes& processes) {
    const std::optional<AffinityMasks> masks = processes.ReadAffinity(processes.OwnProcessId());
    const std::vector<std::string> entries = masks ? CoreEntries(masks->system) : std::vector<std::string>();
    console.Fill(entries);
    program.Fill(entries);
}

void SetAffinity(CoreList& list, AffinityTarget target, std::uint32_t processId, Processes& processes,
                 EventLog& log) {
    const std::string name = target == AffinityTarget::Console ? "Console" : "Program";
    if (processes.SetAffinity(processId, list.Mask())) {
        log.LogSystemMessage("New CPU affinity for " + name + " window set it successfully.",
                             kLogInformation);
    } else {
        log.LogSystemMessage("Error set new CPU affinity for " + name + " Window.", kLogInformation);
    }
    ShowProcessAffinity(processId, list, processes);
}

void ShowProcessAffinity(std::uint32_t processId, CoreList& list, Processes& processes) {
    const std::optional<AffinityMasks> masks = processes.ReadAffinity(processId);
    if (!masks || masks->system <= 1) {
        return;
    }
    for (std::uint64_t b = 0; b < kListedProcessors && b < list.selected.size(); ++b) {
        if (((masks->system >> b) & 1U) != 0) {
            list.selected[static_cast<std::size_t>(b)] = ((masks->process >> b) & 1U) != 0;
        }
    }
}

}  // namespace zembrock
