#include "core/command_line.h"

#include "core/text.h"

namespace zembrock {

CommandLineRequest ParseCommandLine(std::string_view argumentText) {
    CommandLineRequest request;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dash = argumentText.find('-', start);
        const std::string_view piece =
            argumentText.substr(start, dash == std::string_view::npos ? dash : dash - start);
        if (StartsWithNoCase(piece, "autostart")) {
            request.autostart = true;
        } else if (StartsWithNoCase(piece, "profile")) {
            const std::size_t first = piece.find('"');
            const std::size_t last = piece.rfind('"');
            if (first != std::string_view::npos && last != first) {
                request.profiles.emplace_back(piece.substr(first + 1, last - first - 1));
            }
        }
        if (dash == std::string_view::npos) {
            return request;
        }
        start = dash + 1;
    }
}

std::string ArgumentText(const std::vector<std::string>& arguments) {
    std::string text;
    bool namesProfile = false;
    for (const std::string& argument : arguments) {
        if (!text.empty()) {
            text += ' ';
        }
        if (namesProfile && argument.find('"') == std::string::npos && !argument.starts_with('-')) {
            text += '"' + argument + '"';
        } else {
            text += argument;
        }
        namesProfile = EqualsNoCase(argument, "-profile");
    }
    return text;
}

}  // namespace zembrock
