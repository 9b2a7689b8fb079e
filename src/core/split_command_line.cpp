#include "core/split_command_line.h"

namespace zembrock {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    if (line.empty()) {
        return arguments;
    }
    std::size_t pos = 0;
    std::string program;
    if (line[0] == '"') {
        pos = 1;
        while (pos < line.size() && line[pos] != '"') {
            program += line[pos++];
        }
        if (pos < line.size()) {
            ++pos;  // the closing quote
        }
    } else {
        while (pos < line.size() && !IsBlank(line[pos])) {
            program += line[pos++];
        }
    }
    arguments.push_back(std::move(program));

    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos == line.size()) {
        return arguments;
    }
    std::string current;
    int quotes = 0;           // 1 inside a quoted part; 2 briefly after a closing quote
    std::size_t slashes = 0;  // backslashes right before the current character
    while (pos < line.size()) {
        const char c = line[pos];
        if (IsBlank(c) && quotes == 0) {
            arguments.push_back(std::move(current));
            current.clear();
            while (pos < line.size() && IsBlank(line[pos])) {
                ++pos;
            }
            if (pos == line.size()) {
                return arguments;
            }
            slashes = 0;
        } else if (c == '\\') {
            current += c;
            ++slashes;
            ++pos;
        } else if (c == '"') {
            if (slashes % 2 == 0) {
                current.resize(current.size() - slashes / 2);
                ++quotes;
            } else {
                current.resize(current.size() - slashes / 2 - 1);
                current += '"';
            }
            slashes = 0;
            ++pos;
            // A run of quotes: every third one is a literal quote.
            while (pos < line.size() && line[pos] == '"') {
                if (++quotes == 3) {
                    current += '"';
                    quotes = 0;
                }
                ++pos;
            }
            if (quotes == 2) {
                quotes = 0;
            }
        } else {
            current += c;
            slashes = 0;
            ++pos;
        }
    }
    arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace zembrock
