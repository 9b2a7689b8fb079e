#include "platform/posix/file_user_settings.h"

#include <cstdlib>

#include "core/ini_file.h"

namespace zembrock {

FileUserSettings::FileUserSettings(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::string FileUserSettings::Read(const std::string& application, const std::string& section,
                                   const std::string& key) {
    return IniDocument::Load(m_folder / (application + ".ini")).Value(section, key).value_or("");
}

std::filesystem::path FileUserSettings::UserConfigFolder() {
    // NOLINTBEGIN(concurrency-mt-unsafe): read at start-up only
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') {
        return config;
    }
    const char* home = std::getenv("HOME");
    // NOLINTEND(concurrency-mt-unsafe)
    return std::filesystem::path(home != nullptr ? home : ".") / ".config";
}

std::unique_ptr<UserSettings> CurrentUserSettings() {
    return std::make_unique<FileUserSettings>(FileUserSettings::UserConfigFolder());
}

}  // namespace zembrock
