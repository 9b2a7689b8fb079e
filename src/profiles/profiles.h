#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/chooser.h"
#include "core/colour_chooser.h"
#include "core/event_log.h"
#include "core/ini_file.h"
#include "maps/map_list_editor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/processes.h"
#include "profiles/profile_fields.h"
#include "server/server_session.h"

namespace zembrock {

inline constexpr const char* kProfileExtension = ".tslpf";
inline constexpr const char* kDefaultProfileName = "default";

// The models a profile fills when it is loaded and that a save reads back.
struct ProfileModels {
    ProfileFields& fields;
    MapListEditor& mapLists;
    EventLog& log;
    ServerSession& session;
    ConsoleColours& consoleColours;
};

// What the profile operations ask of the outside world.
struct ProfilePorts {
    Dialogs& dialogs;
    Clock& clock;
    EventPump& pump;
    Processes& processes;
};

// The named profiles in the program's folder ("NAME.tslpf"), the selector "Profiles:" that lists
// them, and the current profile: its file, loading it into the fields, saving the fields into it,
// and the save, save-as and delete buttons. There is always a current profile; its file need
// not exist.
class Profiles {
public:
    Profiles(const ProfileModels& models, const ProfilePorts& ports);

    // Runs at the end of every profile load.
    void SetLoadObserver(std::function<void()> observer) { m_loadObserver = std::move(observer); }

    const Chooser& List() const { return m_list; }
    const std::filesystem::path& CurrentProfileFile() const { return m_currentProfileFile; }

    // Lists the profile files afresh (or "default" when there is none) and selects the first,
    // which loads it.
    void RefreshProfileList();
    // The administrator picks a profile: it becomes current and is loaded. Changes made to the
    // fields since the last save are lost.
    void SelectProfile(std::size_t index);
    // A profile named on the command line: it becomes the current file; when it is listed and
    // not already selected, selecting it loads it.
    void SelectNamedProfile(const std::string& name);

    void LoadProfile();
    // Writes every field into the current file (one atomic write), then the network interface
    // into the game's settings file. False when the profile file could not be written.
    bool SaveProfile();

    // The buttons beside "Profiles:".
    void Save();
    void SaveAs();
    void Delete();

private:
    std::filesystem::path FileOf(const std::string& name) const;
    void LoadCores(const IniDocument& profile);

    ProfileModels m_models;
    ProfilePorts m_ports;
    Chooser m_list;
    std::vector<std::string> m_listedFiles;  // the files behind the list's names, in list order
    std::filesystem::path m_currentProfileFile;
    std::function<void()> m_loadObserver;
};

}  // namespace zembrock
