#include "profiles/profiles.h"

#include <limits>
#include <system_error>

#include "core/folder_listing.h"
#include "core/program_folder.h"
#include "core/pumped_wait.h"
#include "core/text.h"
#include "profiles/game_settings.h"

namespace zembrock {
namespace {

constexpr const char* kServer = "server";
constexpr const char* kConsole = "console";
constexpr const char* kLocalServer = "localserver";
constexpr const char* kProgram = "program";
constexpr const char* kSettings = "settings";
constexpr const char* kHistory = "history";

// A stored whole number: the text's leading number. nullopt for text that is not a number.
std::optional<std::int64_t> StoredNumber(const std::string& text) {
    return LeadingInteger(text);
}

// A stored check-box state: "1" ticks it, "0" clears it; anything else leaves it alone.
void LoadCheck(const std::string& text, bool& box) {
    const std::optional<std::int64_t> value = StoredNumber(text);
    if (value && (*value == 0 || *value == 1)) {
        box = *value == 1;
    }
}

void LoadColour(const std::string& text, Colour& colour) {
    const std::optional<std::int64_t> value = StoredNumber(text);
    if (value && *value >= 0 && *value <= static_cast<std::int64_t>(kColourWhite)) {
        colour = static_cast<Colour>(*value);
    }
}

std::string CheckText(bool checked) {
    return checked ? "1" : "0";
}

}  // namespace

Profiles::Profiles(const ProfileModels& models, const ProfilePorts& ports)
    : m_models(models), m_ports(ports), m_currentProfileFile(FileOf(kDefaultProfileName)) {}

std::filesystem::path Profiles::FileOf(const std::string& name) const {
    return ProgramFolder() / (name + kProfileExtension);
}

void Profiles::RefreshProfileList() {
    std::vector<std::string> names;
    m_listedFiles = ListFiles(ProgramFolder(), kProfileExtension);
    for (const std::string& file : m_listedFiles) {
        names.push_back(file.substr(0, file.rfind('.')));
    }
    if (names.empty()) {
        names.emplace_back(kDefaultProfileName);
    }
    m_list.Fill(std::move(names));
    SelectProfile(0);
}

void Profiles::SelectProfile(std::size_t index) {
    if (!m_list.SelectIndex(static_cast<std::int64_t>(index))) {
        return;
    }
    const std::string name = m_list.Text();
    // The listed file itself: its extension may be written in another case (X.TSLPF), which
    // names another file where file names are case-sensitive.
    m_currentProfileFile =
        index < m_listedFiles.size() ? ProgramFolder() / m_listedFiles[index] : FileOf(name);
    m_models.log.LogSystemMessage("Loading \"" + name + "\" profile.", kLogInformation);
    LoadProfile();
}

void Profiles::SelectNamedProfile(const std::string& name) {
    m_currentProfileFile = FileOf(name);
    const auto listed = std::find(m_list.entries.begin(), m_list.entries.end(), name);
    if (listed != m_list.entries.end() && m_list.Text() != name) {
        SelectProfile(static_cast<std::size_t>(listed - m_list.entries.begin()));
    }
}

void Profiles::LoadProfile() {
    ProfileFields& fields = m_models.fields;
    std::error_code error;
    if (!std::filesystem::exists(m_currentProfileFile, error)) {
        m_models.log.LogSystemMessage("Profile doesn't exist, loading defaults.", kLogInformation);
    }
    const IniDocument profile = IniDocument::Load(m_currentProfileFile);
    const auto read = [&profile](const char* section, const char* key, const char* defaultValue) {
        return profile.Read(section, key, defaultValue);
    };
    fields.commandHistory.clear();

    if (const std::optional<std::int64_t> index = StoredNumber(read(kServer, "NetworkInterface", "0"))) {
        if (*index == -1) {
            fields.networkInterface.selected.reset();
        } else {
            fields.networkInterface.SelectIndex(*index);
        }
    }
    fields.hostName = read(kServer, "HostName", "My Server Name");
    fields.serverPort = read(kServer, "ServerPort", "27016");
    fields.gamePort = read(kServer, "GamePort", "27014");
    fields.masterPort = read(kServer, "MasterPort", "27017");
    fields.authenticationPort = read(kServer, "AuthenticationPort", "8766");
    if (const std::optional<std::int64_t> visibility = StoredNumber(read(kServer, "ServerVisibility", "2"))) {
        fields.serverVisibility.SelectIndex(*visibility - 1);
    }
    fields.privateClients = read(kServer, "PrivateClients", "0");
    fields.maxClients = read(kServer, "MaxClients", "18");
    fields.rconPassword = read(kServer, "RCONPassword", "");
    fields.privatePassword = read(kServer, "PrivatePassword", "lumbert");
    fields.maxPing = read(kServer, "MaxPing", "700");
    fields.configFiles.SelectText(profile.Read(kServer, "ServerConfigFile", fields.configFiles.Text()));
    m_models.mapLists.SelectMapList(
        profile.Read(kServer, "LastSelectedMapList", m_models.mapLists.SelectedFileName()));
    fields.voiceChat = read(kServer, "VoiceChat", "0");
    fields.voting = read(kServer, "Voting", "1");
    fields.deadChat = read(kServer, "DeadChat", "0");
    fields.inactivity = read(kServer, "Inactivity", "90");
    fields.kickTime = read(kServer, "KickTime", "300");
    LoadCheck(read(kServer, "Autostartmsg", "1"), fields.autostartMessages);
    LoadCheck(read(kConsole, "StartHidden", "1"), fields.startHidden);
    fields.logMins = read(kLocalServer, "logmins", "10");
    LoadCheck(read(kLocalServer, "logstatus", "0"), fields.logStatus);
    m_models.log.SetLimitText(read(kLocalServer, "logmax", "200"));
    const std::string respondTries = read(kServer, "respondTrys", "8");
    const std::optional<std::int64_t> tries = StoredNumber(respondTries);
    if (tries && *tries >= std::numeric_limits<std::int16_t>::min() &&
        *tries <= std::numeric_limits<std::int16_t>::max()) {
        fields.respondTries = respondTries;
        m_models.session.respondTries = static_cast<std::int16_t>(*tries);
    }

    LoadCores(profile);

    fields.tempBanTime = read(kConsole, "TempBanTime", "300");
    LoadColour(read(kConsole, "backcolor", "2305572"), m_models.consoleColours.background);
    LoadColour(read(kConsole, "fontcolor", "16777215"), m_models.consoleColours.font);
    for (std::size_t i = 1; i <= ProfileFields::kHistoryLimit; ++i) {
        const std::string command = read(kHistory, std::to_string(i).c_str(), "");
        if (!command.empty()) {
            fields.commandHistory.push_back(command);
        }
    }
    m_models.log.LogSystemMessage("Finish loading profile.", kLogProfile);
    bool logSystem = m_models.log.FileLogging();
    LoadCheck(read(kProgram, "logsystem", "0"), logSystem);
    m_models.log.SetFileLogging(logSystem);
    if (m_loadObserver) {
        m_loadObserver();
    }
}

void Profiles::LoadCores(const IniDocument& profile) {
    ProfileFields& fields = m_models.fields;
    fields.programCores.ClearSelection();
    fields.consoleCores.ClearSelection();
    fields.programCores.SelectFromText(profile.Read(kSettings, "programcores", ""));
    SetAffinity(fields.programCores, AffinityTarget::Program, m_ports.processes.OwnProcessId(),
                m_ports.processes, m_models.log);
    fields.consoleCores.SelectFromText(profile.Read(kSettings, "consolecores", ""));
}

bool Profiles::SaveProfile() {
    const ProfileFields& fields = m_models.fields;
    IniDocument profile = IniDocument::Load(m_currentProfileFile);
    profile.SetValue(kServer, "HostName", fields.hostName);
    profile.SetValue(kServer, "ServerPort", fields.serverPort);
    profile.SetValue(kServer, "PrivateClients", fields.privateClients);
    profile.SetValue(kServer, "MaxClients", fields.maxClients);
    profile.SetValue(kServer, "RCONPassword", fields.rconPassword);
    profile.SetValue(kServer, "PrivatePassword", fields.privatePassword);
    profile.SetValue(kServer, "MaxPing", fields.maxPing);
    profile.SetValue(kServer, "ServerConfigFile", fields.configFiles.Text());
    profile.SetValue(kServer, "LastSelectedMapList", m_models.mapLists.SelectedFileName());
    profile.SetValue(kServer, "VoiceChat", fields.voiceChat);
    profile.SetValue(kServer, "Voting", fields.voting);
    profile.SetValue(kServer, "DeadChat", fields.deadChat);
    profile.SetValue(kServer, "Inactivity", fields.inactivity);
    profile.SetValue(kServer, "KickTime", fields.kickTime);
    const std::int64_t interface =
        fields.networkInterface.selected ? static_cast<std::int64_t>(*fields.networkInterface.selected) : -1;
    profile.SetValue(kServer, "NetworkInterface", std::to_string(interface));
    profile.SetValue(kConsole, "StartHidden", CheckText(fields.startHidden));
    profile.SetValue(kConsole, "TempBanTime", fields.tempBanTime);
    profile.SetValue(kServer, "GamePort", fields.gamePort);
    profile.SetValue(kServer, "AuthenticationPort", fields.authenticationPort);
    const std::int64_t visibility =
        fields.serverVisibility.selected ? static_cast<std::int64_t>(*fields.serverVisibility.selected) : -1;
    profile.SetValue(kServer, "ServerVisibility", std::to_string(visibility + 1));
    profile.SetValue(kServer, "MasterPort", fields.masterPort);
    profile.SetValue(kServer, "Autostartmsg", CheckText(fields.autostartMessages));
    profile.SetValue(kServer, "respondTrys", std::to_string(m_models.session.respondTries));
    profile.SetValue(kLocalServer, "logmins", fields.logMins);
    profile.SetValue(kLocalServer, "logstatus", CheckText(fields.logStatus));
    profile.SetValue(kLocalServer, "logmax", m_models.log.LimitText());
    profile.SetValue(kProgram, "logsystem", CheckText(m_models.log.FileLogging()));
    profile.SetValue(kSettings, "consolecores", fields.consoleCores.SelectionText());
    profile.SetValue(kSettings, "programcores", fields.programCores.SelectionText());
    for (std::size_t i = 0; i < fields.commandHistory.size(); ++i) {
        profile.SetValue(kHistory, std::to_string(i + 1), fields.commandHistory[i]);
    }
    const bool saved = profile.Save(m_currentProfileFile);
    StoreInterfaceChoice(fields.networkInterface, ProgramFolder() / kGameSettingsFileName);
    return saved;
}

void Profiles::Save() {
    Dialogs& dialogs = m_ports.dialogs;
    if (!dialogs.AskYesNo("Updating profile.", "Are you sure?", DialogIcon::Information)) {
        return;
    }
    if (!SaveProfile()) {
        dialogs.ShowMessage(
            "Updating profile.",
            "The profile file " + m_currentProfileFile.filename().string() +
                " could not be written (it may be read-only or the disk full). It is unchanged.",
            DialogIcon::Critical);
        return;
    }
    m_models.log.LogSystemMessage("Updated profile: " + m_list.Text(), kLogProfile);
}

void Profiles::SaveAs() {
    Dialogs& dialogs = m_ports.dialogs;
    const std::optional<std::string> answer =
        dialogs.AskText("Creating new profile.", "Enter new profile name or leave it empty to cancel:", "");
    const std::string name = answer ? std::string(TrimBlanks(*answer)) : std::string();
    if (name.empty()) {
        return;
    }
    if (!IsValidFileName(name) || !IsValidFileName(name + kProfileExtension)) {
        dialogs.ShowMessage(
            "Creating new profile.",
            "\"" + name +
                "\" cannot be the name of a profile file. Use a name without \\ / : * ? \" < > | "
                "and without a trailing dot.",
            DialogIcon::Information);
        return;
    }
    const std::filesystem::path previous = m_currentProfileFile;
    m_currentProfileFile = FileOf(name);
    if (!SaveProfile()) {
        dialogs.ShowMessage("Creating new profile.",
                            "The profile file " + m_currentProfileFile.filename().string() +
                                " could not be written (it may be read-only or the disk full).",
                            DialogIcon::Critical);
        m_currentProfileFile = previous;
        return;
    }
    RefreshProfileList();
    m_models.log.LogSystemMessage("New profile created: " + name, kLogProfile);
}

void Profiles::Delete() {
    if (!m_ports.dialogs.AskYesNo("Deleting profile.", "Are you sure?", DialogIcon::Information)) {
        return;
    }
    m_models.log.LogSystemMessage("Deleted profile: " + m_list.Text(), kLogProfile);
    std::error_code error;
    std::filesystem::remove(m_currentProfileFile, error);
    constexpr std::int32_t kSettleMs = 100;
    PumpedWait(m_ports.clock, m_ports.pump, kSettleMs);
    RefreshProfileList();
}

}  // namespace zembrock
