#include "profiles/game_settings.h"

#include "core/ini_file.h"
#include "core/text.h"

namespace zembrock {
namespace {

constexpr const char* kNetworkSection = "Network";
constexpr const char* kAnyInterfaceValue = "255";

}  // namespace

std::vector<std::string> ParseInterfaceList(std::string_view listText) {
    std::string cleaned = ReplaceAll(listText, "[", "");
    cleaned = ReplaceAll(cleaned, "]", "");
    cleaned = ReplaceAll(cleaned, " (default)", "");
    std::vector<std::string> labels;
    std::size_t start = 0;
    while (start <= cleaned.size()) {
        const std::size_t semicolon = std::min(cleaned.find(';', start), cleaned.size());
        const std::string_view entry = std::string_view(cleaned).substr(start, semicolon - start);
        const std::size_t equals = entry.find(" = ");
        if (equals != std::string_view::npos) {
            const std::string_view rest = entry.substr(equals + 3);
            labels.emplace_back(rest.substr(0, rest.find(" = ")));
        }
        start = semicolon + 1;
    }
    return labels;
}

void FillInterfaceChoice(Chooser& choice, const std::filesystem::path& settingsFile,
                         const std::string& localAddress) {
    std::vector<std::string> labels =
        ParseInterfaceList(ReadIniKey(kNetworkSection, "NetworkInterfaceList", settingsFile, ""));
    if (labels.empty()) {
        labels = {localAddress, kAnyInterfaceLabel};
    }
    choice.Fill(std::move(labels));
    const std::string stored = ReadIniKey(kNetworkSection, "NetworkInterface", settingsFile, "0");
    if (stored == kAnyInterfaceValue) {
        choice.SelectIndex(static_cast<std::int64_t>(choice.entries.size()) - 1);
    } else if (const std::optional<std::int64_t> index = LeadingInteger(stored)) {
        choice.SelectIndex(*index);
    }
}

std::string InterfaceChoiceValue(const Chooser& choice) {
    const std::int64_t index = choice.selected ? static_cast<std::int64_t>(*choice.selected) : -1;
    if (static_cast<std::int64_t>(choice.entries.size()) == index + 1) {
        return kAnyInterfaceValue;
    }
    return std::to_string(index);
}

bool StoreInterfaceChoice(const Chooser& choice, const std::filesystem::path& settingsFile) {
    return WriteIniKey(kNetworkSection, "NetworkInterface", InterfaceChoiceValue(choice), settingsFile);
}

}  // namespace zembrock
