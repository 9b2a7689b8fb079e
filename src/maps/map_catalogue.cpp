#include "maps/map_catalogue.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>

#include "core/folder_listing.h"
#include "core/text.h"

namespace zembrock {
namespace fs = std::filesystem;
namespace {

struct NamePair {
    std::string_view name;
    std::string_view displayName;
};

constexpr std::array kMapNames = {
    NamePair{"plaza2", "Arkaden"}, NamePair{"mogadishu", "Bakaara"}, NamePair{"exchange", "Downturn"},
    NamePair{"lambeth", "Fallen"}, NamePair{"hardhat", "Hardhat"},   NamePair{"bravo", "Mission"},
    NamePair{"radar", "Outpost"},  NamePair{"paris", "Resistance"},  NamePair{"alpha", "Lockdown"},
};

// One game type under its two names: the game-mode file base name and the server's code.
struct GameTypeRow {
    std::string_view fileBaseName;
    std::string_view code;
    std::string_view displayName;
};

constexpr std::array kGameTypes = {
    GameTypeRow{"TDM_default", "war", "Team Deathmatch"},
    GameTypeRow{"DOM_default", "dom", "Domination"},
    GameTypeRow{"CTF_default", "ctf", "Capture The Flag"},
    GameTypeRow{"DZ_default", "grnd", "Drop Zone"},
    GameTypeRow{"FFA_default", "dm", "Free For All"},
    GameTypeRow{"GG_default", "gun", "Gun Game"},
    GameTypeRow{"HQ_default", "koth", "Headquarters"},
    GameTypeRow{"INF_default", "infect", "Infected"},
    GameTypeRow{"JUG_default", "jugg", "Juggernaut"},
    GameTypeRow{"KC_default", "conf", "Kill Confirmed"},
    GameTypeRow{"OIC_default", "oic", "One In The Chamber"},
    GameTypeRow{"SAB_default", "sab", "Sabotage"},
    GameTypeRow{"SD_default", "sd", "Search and Destroy"},
    GameTypeRow{"TDEF_default", "tdef", "Team Defender"},
    GameTypeRow{"TJ_default", "tjugg", "Team Juggernaut"},
    GameTypeRow{"DEM_default", "dd", "Demolition"},
};

// Tested in this order; the last one that holds files is the map folder.
constexpr std::array<std::string_view, 4> kLanguageFolders = {"english", "russian", "spanish", "german"};

constexpr std::string_view kMapFilePrefix = "mp_";
constexpr std::string_view kLoadingScreenMark = "_load";
constexpr std::string_view kMapFileExtension = ".ff";
constexpr std::string_view kGameModeExtension = ".dsr";
constexpr std::string_view kPictureExtension = ".gif";
constexpr std::string_view kRandomPicture = "random";

std::optional<fs::path> MapFolder(const fs::path& programFolder) {
    std::optional<fs::path> chosen;
    for (const std::string_view language : kLanguageFolders) {
        fs::path folder = programFolder / "zone" / language;
        if (HoldsFiles(folder)) {
            chosen = std::move(folder);
        }
    }
    return chosen;
}

}  // namespace

std::string MapDisplayName(std::string_view code) {
    for (const NamePair& row : kMapNames) {
        if (EqualsNoCase(code, row.name)) {
            return std::string(row.displayName);
        }
    }
    return std::string(code);
}

std::string GameModeFileDisplayName(std::string_view fileBaseName) {
    for (const GameTypeRow& row : kGameTypes) {
        if (fileBaseName == row.fileBaseName) {
            return std::string(row.displayName);
        }
    }
    return std::string(fileBaseName);
}

std::string GameTypeDisplayName(std::string_view gameTypeCode) {
    for (const GameTypeRow& row : kGameTypes) {
        if (gameTypeCode == row.code) {
            return std::string(row.displayName);
        }
    }
    return std::string(gameTypeCode);
}

MapCatalogue BuildMapCatalogue(const fs::path& programFolder) {
    MapCatalogue catalogue;
    if (const std::optional<fs::path> folder = MapFolder(programFolder)) {
        for (const std::string& name : ListFiles(*folder, kMapFileExtension)) {
            const std::string_view key =
                std::string_view(name).substr(0, name.size() - kMapFileExtension.size());
            // "mp_.ff" names no map; everything else after the prefix is the map's code.
            if (!key.starts_with(kMapFilePrefix) || key.size() == kMapFilePrefix.size() ||
                name.find(kLoadingScreenMark) != std::string::npos) {
                continue;
            }
            std::string displayKey(key.substr(kMapFilePrefix.size()));
            displayKey.front() = ToUpperAscii(displayKey.front());
            catalogue.push_back({std::string(key), MapDisplayName(displayKey)});
        }
    }
    catalogue.push_back({std::string(kWildcardMap), std::string(kWildcardMap)});
    return catalogue;
}

GameTypeList BuildGameTypeList(const fs::path& programFolder) {
    GameTypeList list;
    for (const std::string& name : ListFiles(programFolder / "players2", kGameModeExtension)) {
        std::string key = name.substr(0, name.size() - kGameModeExtension.size());
        std::string displayName = GameModeFileDisplayName(key);
        list.push_back({std::move(key), std::move(displayName)});
    }
    return list;
}

std::vector<std::string> DisplayNames(const std::vector<CatalogueEntry>& list) {
    std::vector<std::string> names;
    names.reserve(list.size());
    for (const CatalogueEntry& entry : list) {
        names.push_back(entry.displayName);
    }
    return names;
}

std::string KeyAt(const std::vector<CatalogueEntry>& list, std::size_t position) {
    return position < list.size() ? list[position].key : std::string();
}

std::optional<std::size_t> PositionOfKey(const std::vector<CatalogueEntry>& list, std::string_view key) {
    const auto found = std::find_if(list.begin(), list.end(), [key](const CatalogueEntry& entry) {
        return EqualsNoCase(entry.key, key);
    });
    if (found == list.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - list.begin());
}

std::optional<fs::path> MapPreviewFile(const fs::path& programFolder, std::string_view name) {
    const std::string fileName =
        std::string(name == kWildcardMap ? kRandomPicture : name) + std::string(kPictureExtension);
    // Map names also come from servers on the network; such a name must never reach outside
    // the pictures folder.
    if (!IsValidFileName(fileName)) {
        return std::nullopt;
    }
    const fs::path folder = programFolder / "mapimages";
    std::error_code error;
    fs::path file = folder / fileName;
    if (fs::is_regular_file(file, error)) {
        return file;
    }
    // The game's files come from Windows, where "dome.gif" answers for Dome; look for such a
    // picture where file names are case-sensitive.
    for (const std::string& candidate : ListFiles(folder, kPictureExtension)) {
        if (EqualsNoCase(candidate, fileName)) {
            return folder / candidate;
        }
    }
    return std::nullopt;
}

}  // namespace zembrock
