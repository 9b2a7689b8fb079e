#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_bridge.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace zembrock {

inline constexpr std::string_view kStatusCommand = "status";
inline constexpr std::string_view kStatusEcho = "]status";
inline constexpr std::int32_t kPlayerTableWaitMs = 300;

// One row of the player table, cut from one line of the server's "status" answer. The texts are
// kept as the columns gave them (blanks removed where the column rule says so).
struct PlayerRow {
    std::string id;
    std::string score;
    std::string ping;
    std::string guid;
    std::string player;
    std::string lastMsg;
    std::string address;
    std::string qport;
    std::string rate;

    bool operator==(const PlayerRow&) const = default;
};

// The answer text of the last "status" in the mirror: everything after the last "]status",
// without the mirror's final character. nullopt when the mirror holds no "]status".
std::optional<std::string> FindStatusAnswer(std::string_view mirror);

// The answer's pieces between CR LF pairs (an empty text gives one empty piece).
std::vector<std::string> SplitAtCrLf(std::string_view text);

// One player line cut by the fixed column positions.
PlayerRow ParsePlayerLine(std::string_view line);

// The rows of an answer text: pieces 4 to next-to-last, empty pieces skipped.
std::vector<PlayerRow> ParseStatusAnswer(std::string_view answer);

// The rows of the last "status" answer in the mirror; none without an answer.
std::vector<PlayerRow> ParseStatusMirror(std::string_view mirror);

// The player table ("Players List" page): the rows of its last refresh.
class PlayerTable {
public:
    // "Refresh": empties the table, sends "status", waits 300 ms serving events, refreshes the
    // console mirror and cuts the last answer into rows. Failures leave the table empty.
    void Refresh(ConsoleBridge& console, Clock& clock, EventPump& pump);

    const std::vector<PlayerRow>& Rows() const { return m_rows; }
    // The row at index, or nullptr when there is none (nothing selected or out of range).
    const PlayerRow* Row(std::optional<std::size_t> index) const;

private:
    std::vector<PlayerRow> m_rows;
};

}  // namespace zembrock
