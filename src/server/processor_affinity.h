#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/event_log.h"
#include "platform/processes.h"

namespace zembrock {

// A list of the machine's first eight processors with a tick per entry: the frame "Console:"
// (the server) and the frame "Program:" (this program) each have one. Position i stands for
// bit i of the affinity mask.
struct CoreList {
    std::vector<std::string> entries;  // "CPU 0", "CPU 1", ...
    std::vector<bool> selected;        // parallel to entries

    void Fill(std::vector<std::string> newEntries);
    void SelectAll();
    void ClearSelection();
    std::uint64_t Mask() const;
    // The selected positions, each written in decimal and followed by "," (the profile's form).
    std::string SelectionText() const;
    // Ticks the positions of a text in the profile's form; pieces that are not a position of
    // the list are skipped. The selection is not cleared first.
    void SelectFromText(const std::string& text);
};

// Which process a list acts on, and its name in the messages.
enum class AffinityTarget { Console = 0, Program = 1 };

// "CPU k" for every processor k from 0 to 7 in the system mask; none on a single processor.
std::vector<std::string> CoreEntries(std::uint64_t systemMask);

// Fills both lists from this program's system mask.
void FillCoreLists(CoreList& console, CoreList& program, Processes& processes);

// "Set": applies the list's selection to the process (0 when there is none), logs the outcome
// and shows the affinity the process really has.
void SetAffinity(CoreList& list, AffinityTarget target, std::uint32_t processId, Processes& processes,
                 EventLog& log);

// Ticks the entries that match the process's affinity; the list stays as it is when the
// affinity cannot be read.
void ShowProcessAffinity(std::uint32_t processId, CoreList& list, Processes& processes);

}  // namespace zembrock
