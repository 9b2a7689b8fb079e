#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// What the program's argument text asks for.
struct CommandLineRequest {
    bool autostart = false;
    std::vector<std::string> profiles;  // in the order given; each is selected in turn
};

// The argument text cut at every "-" (the text before the first one is a piece too, pieces are
// not trimmed): a piece starting with "autostart" (any case) sets autostart; a piece starting
// with "profile" (any case) names the profile between its first and last double quote, and is
// ignored with fewer than two. Every other piece is ignored.
CommandLineRequest ParseCommandLine(std::string_view argumentText);

// The argument text of a program started with separate arguments (as on Linux): the arguments
// joined by blanks. The argument that follows "-profile" is put back into double quotes when
// the shell has removed them, so that `-profile "My Server"` means what it means on Windows.
std::string ArgumentText(const std::vector<std::string>& arguments);

}  // namespace zembrock
