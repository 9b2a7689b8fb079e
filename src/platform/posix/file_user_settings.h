#pragma once

#include <filesystem>

#include "platform/user_settings.h"

namespace zembrock {

// The settings store as INI files in one folder: application A's settings are the file
// "A.ini" there, with the store's sections and keys.
class FileUserSettings final : public UserSettings {
public:
    explicit FileUserSettings(std::filesystem::path folder);
    std::string Read(const std::string& application, const std::string& section,
                     const std::string& key) override;

    // The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    static std::filesystem::path UserConfigFolder();

private:
    std::filesystem::path m_folder;
};

}  // namespace zembrock
