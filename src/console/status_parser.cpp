#include "console/status_parser.h"

#include <algorithm>
#include <iterator>

#include "core/pumped_wait.h"
#include "core/text.h"

namespace zembrock {
namespace {

// Columns as 1-based positions and widths, the way the server's table is laid out.
struct Column {
    std::size_t position;
    std::size_t width;
};

inline constexpr Column kIdColumn{1, 3};
inline constexpr Column kScoreColumn{5, 5};
inline constexpr Column kPingColumn{11, 4};
inline constexpr Column kGuidColumn{16, 32};
inline constexpr Column kPlayerColumn{49, 15};
inline constexpr Column kLastMsgColumn{65, 7};
inline constexpr Column kAddressColumn{73, 21};

// The characters of the column that exist in the line (possibly none).
std::string_view Cut(std::string_view line, Column column) {
    const std::size_t start = column.position - 1;
    if (start >= line.size()) {
        return {};
    }
    return line.substr(start, column.width);
}

std::string WithoutBlanks(std::string_view text) {
    std::string result;
    std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](char c) { return c != ' '; });
    return result;
}

}  // namespace

std::optional<std::string> FindStatusAnswer(std::string_view mirror) {
    const std::size_t echo = mirror.rfind(kStatusEcho);
    if (echo == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = echo + kStatusEcho.size();
    // The mirror's final character is never part of the answer; when the echo itself ends the
    // mirror there is nothing after it.
    if (start >= mirror.size()) {
        return std::string();
    }
    return std::string(mirror.substr(start, mirror.size() - start - 1));
}

std::vector<std::string> SplitAtCrLf(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t found = text.find(kCrLf); found != std::string_view::npos;
         found = text.find(kCrLf, start)) {
        pieces.emplace_back(text.substr(start, found - start));
        start = found + kCrLf.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

PlayerRow ParsePlayerLine(std::string_view line) {
    PlayerRow row;
    row.id = WithoutBlanks(Cut(line, kIdColumn));
    row.score = WithoutBlanks(Cut(line, kScoreColumn));
    row.ping = WithoutBlanks(Cut(line, kPingColumn));
    row.guid = WithoutBlanks(Cut(line, kGuidColumn));
    row.player = WithoutBlanks(Cut(line, kPlayerColumn));
    row.lastMsg = WithoutBlanks(Cut(line, kLastMsgColumn));

    const std::string_view address = Cut(line, kAddressColumn);
    const std::size_t addressBlank = address.find(' ');
    if (addressBlank != std::string_view::npos) {
        row.address = std::string(address.substr(0, addressBlank + 1));
    }

    // The tail starts at the second character after the last ")", or at the line's second
    // character when there is none.
    const std::size_t paren = line.rfind(')');
    const std::size_t tailStart = paren == std::string_view::npos ? 1 : paren + 2;
    const std::string_view tail = tailStart < line.size() ? line.substr(tailStart) : std::string_view{};
    const std::size_t tailBlank = tail.find(' ');
    if (tailBlank == std::string_view::npos) {
        row.rate = std::string(tail);
    } else {
        row.qport = std::string(tail.substr(0, tailBlank + 1));
        row.rate = std::string(tail.substr(tailBlank + 1));
    }
    return row;
}

std::vector<PlayerRow> ParseStatusAnswer(std::string_view answer) {
    constexpr std::size_t kFirstPlayerPiece = 4;
    const std::vector<std::string> pieces = SplitAtCrLf(answer);
    std::vector<PlayerRow> rows;
    // The last piece is never read, even when it holds a whole player line.
    for (std::size_t index = kFirstPlayerPiece; index + 1 < pieces.size(); ++index) {
        if (!pieces[index].empty()) {
            rows.push_back(ParsePlayerLine(pieces[index]));
        }
    }
    return rows;
}

std::vector<PlayerRow> ParseStatusMirror(std::string_view mirror) {
    const std::optional<std::string> answer = FindStatusAnswer(mirror);
    return answer ? ParseStatusAnswer(*answer) : std::vector<PlayerRow>{};
}

void PlayerTable::Refresh(ConsoleBridge& console, Clock& clock, EventPump& pump) {
    m_rows.clear();
    console.SendConsoleCommand(std::string(kStatusCommand));
    PumpedWait(clock, pump, kPlayerTableWaitMs);
    console.Refresh();
    // Other commands may have been sent during the wait; the last echo is the one to read.
    m_rows = ParseStatusMirror(console.MirrorText());
}

const PlayerRow* PlayerTable::Row(std::optional<std::size_t> index) const {
    if (!index || *index >= m_rows.size()) {
        return nullptr;
    }
    return &m_rows[*index];
}

}  // namespace zembrock
