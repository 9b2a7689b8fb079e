#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zembrock {

// Small helpers for the program's 8-bit text. Case rules are those of ASCII letters.

inline constexpr std::string_view kCrLf = "\r\n";

char ToUpperAscii(char c);
std::string ToUpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Without leading and trailing blanks (spaces and tabs).
std::string_view TrimBlanks(std::string_view text);

// The whole number that text starts with, after leading blanks, with an optional sign
// ("12abc" gives 12, " -3" gives -3); nullopt when no digit follows. Values beyond the range
// of a 64-bit number are clamped to it.
std::optional<std::int64_t> LeadingInteger(std::string_view text);

// Every occurrence of `from` (matched exactly) replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace zembrock
