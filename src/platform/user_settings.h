#pragma once

#include <memory>
#include <string>

namespace zembrock {

// The current user's per-application settings store (the registry's program settings on
// Windows, an INI file in the user's configuration folder on Linux). Read only.
class UserSettings {
public:
    virtual ~UserSettings() = default;
    // The stored text, or empty when nothing is stored.
    virtual std::string Read(const std::string& application, const std::string& section,
                             const std::string& key) = 0;
};

// The current user's settings store of this system.
std::unique_ptr<UserSettings> CurrentUserSettings();

}  // namespace zembrock
