#include <string>

#include "platform/user_settings.h"
#include "platform/win32/windows_api.h"

namespace zembrock {
namespace {

// Enough for the usual setting; a longer one is read again at its own size.
constexpr DWORD kFirstTryBytes = 256;

// The store Visual Basic's SaveSetting and GetSetting use: the text value `key` of the key
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
class RegistryUserSettings final : public UserSettings {
public:
    std::string Read(const std::string& application, const std::string& section,
                     const std::string& key) override {
        const std::string subKey = "Software\\VB and VBA Program Settings\\" + application + "\\" + section;
        DWORD bytes = kFirstTryBytes;
        for (;;) {
            std::string text(bytes, '\0');
            const LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), key.c_str(), RRF_RT_REG_SZ,
                                                nullptr, text.data(), &bytes);
            if (status == ERROR_MORE_DATA) {
                // bytes now holds the size the value needs.
                continue;
            }
            if (status != ERROR_SUCCESS) {
                return {};
            }
            // The text ends at its first null: RegGetValue writes one after it.
            const std::size_t end = text.find('\0');
            if (end != std::string::npos) {
                text.resize(end);
            }
            return text;
        }
    }
};

}  // namespace

std::unique_ptr<UserSettings> CurrentUserSettings() {
    return std::make_unique<RegistryUserSettings>();
}

}  // namespace zembrock
