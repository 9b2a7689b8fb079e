#pragma once

#include <QColor>

#include "core/colour.h"

namespace zembrock {

// Between the program's 0x00BBGGRR colours and Qt's.
inline QColor ToQColor(Colour colour) {
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

inline Colour FromQColor(const QColor& colour) {
    return MakeColour(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                      static_cast<std::uint8_t>(colour.blue()));
}

}  // namespace zembrock
