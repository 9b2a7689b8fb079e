#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// One entry of a catalogue list: the name map-list files use (kept with the case it has on
// disk) and the name the chooser shows.
struct CatalogueEntry {
    std::string key;
    std::string displayName;

    bool operator==(const CatalogueEntry&) const = default;
};

// The maps of the game installation in discovery order, then the wildcard entry. Entry n is
// entry n of the "All Maps" chooser.
using MapCatalogue = std::vector<CatalogueEntry>;
// One entry per game-mode file of players2, parallel to the "Game Type" chooser.
using GameTypeList = std::vector<CatalogueEntry>;

// The map key and display name that stand for "any map" in a rotation.
inline constexpr std::string_view kWildcardMap = "*";

// Name tables: the readable name for a map code (letters compared without regard to case), a
// game-mode file base name or a server game-type code (both compared exactly). An unknown
// name comes back unchanged.
std::string MapDisplayName(std::string_view code);
std::string GameModeFileDisplayName(std::string_view fileBaseName);
std::string GameTypeDisplayName(std::string_view gameTypeCode);

// The maps found in the language folder below the program's folder, followed by the wildcard.
MapCatalogue BuildMapCatalogue(const std::filesystem::path& programFolder);
// One entry per players2/*.dsr file, sorted by name without regard to case.
GameTypeList BuildGameTypeList(const std::filesystem::path& programFolder);

// The display names of a list, in order: the entries of its chooser.
std::vector<std::string> DisplayNames(const std::vector<CatalogueEntry>& list);

// The key of entry `position`; empty when there is no such entry.
std::string KeyAt(const std::vector<CatalogueEntry>& list, std::size_t position);
// The position of the first entry whose key equals `key` without regard to case.
std::optional<std::size_t> PositionOfKey(const std::vector<CatalogueEntry>& list, std::string_view key);

// The picture of a map name ("*" shows random): mapimages/<name>.gif, or nullopt when there
// is no such file.
std::optional<std::filesystem::path> MapPreviewFile(const std::filesystem::path& programFolder,
                                                    std::string_view name);

}  // namespace zembrock
