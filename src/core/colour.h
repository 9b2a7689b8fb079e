#pragma once

#include <cstddef>
#include <cstdint>

namespace zembrock {

// A colour as the program stores it: 0x00BBGGRR, red in the low byte, written to INI files
// as a decimal number.
using Colour = std::uint32_t;

inline constexpr Colour kColourBlack = 0x000000;
inline constexpr Colour kColourWhite = 0xFFFFFF;

// The meaning of each event-log colour.
inline constexpr Colour kLogInformation = 0xFF0000;  // blue
inline constexpr Colour kLogProfile = 0x00C000;      // green
inline constexpr Colour kLogFailure = 0x0000FF;      // red
inline constexpr Colour kLogDetail = 0x9C9C9C;       // grey

inline constexpr std::size_t kCustomColourCount = 16;

constexpr std::uint8_t RedOf(Colour c) {
    return static_cast<std::uint8_t>(c & 0xFFU);
}
constexpr std::uint8_t GreenOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 8U) & 0xFFU);
}
constexpr std::uint8_t BlueOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 16U) & 0xFFU);
}
constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8U) | (static_cast<Colour>(blue) << 16U);
}

}  // namespace zembrock
