#include "app/ansi_text.h"

#include <array>

namespace zembrock {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the other bytes are the Latin-1 code points. The five
// unassigned bytes map to themselves, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr unsigned kHighFirst = 0x80;
constexpr unsigned kHighLast = 0x9F;

}  // namespace

QString FromAnsi(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        result.append(QChar(byte >= kHighFirst && byte <= kHighLast ? kHighControls.at(byte - kHighFirst)
                                                                    : static_cast<char16_t>(byte)));
    }
    return result;
}

std::string ToAnsi(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        char byte = '?';
        if (code < kHighFirst || (code > kHighLast && code <= 0xFF)) {
            byte = static_cast<char>(code);
        } else {
            for (std::size_t i = 0; i < kHighControls.size(); ++i) {
                if (kHighControls.at(i) == code) {
                    byte = static_cast<char>(kHighFirst + i);
                    break;
                }
            }
        }
        result.push_back(byte);
    }
    return result;
}

}  // namespace zembrock
