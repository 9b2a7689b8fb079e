#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zembrock {

// The one place where the program's 8-bit text (Windows-1252) meets Qt's Unicode strings.
QString FromAnsi(std::string_view text);
// Characters outside Windows-1252 become "?".
std::string ToAnsi(const QString& text);

}  // namespace zembrock
