#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// A command line cut into arguments as Windows' CommandLineToArgvW cuts it, so that a launch
// means the same on both systems:
// - the first argument, the program, runs to the next blank or tab; when it begins with a
//   double quote it runs to the next double quote instead, blanks included, and a backslash in
//   it is an ordinary character;
// - the other arguments are separated by runs of blanks and tabs outside double quotes;
//   2n backslashes before a double quote give n backslashes and the quote opens or closes a
//   quoted part, 2n+1 give n backslashes and a literal double quote; backslashes before
//   anything else stay as they are; inside a quoted part, two double quotes in a row give a
//   literal double quote and end the quoted part;
// - a line that begins with a blank has an empty first argument; an empty line has none.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace zembrock
