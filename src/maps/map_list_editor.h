#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chooser.h"
#include "maps/map_catalogue.h"

namespace zembrock {

class Dialogs;

// The "Map List Editor:" panel as state: the map-list files of players2 with the current one,
// the lines of that file, the "All Maps", "Game Type" and "Priority" choosers, and the
// operations the panel's controls run. Only Save and Save As write the line list to disk; the
// choosers stay parallel to the catalogue lists they were filled from.
class MapListEditor {
public:
    explicit MapListEditor(std::filesystem::path programFolder);

    // Fills "All Maps" from the catalogue and selects its first entry.
    void SetCatalogue(MapCatalogue catalogue);
    // Fills "Game Type" from the list and selects its first entry, if any.
    void SetGameTypes(GameTypeList gameTypes);

    // Re-reads the players2/*.dspl names and selects (and loads) the first one.
    void RefreshMapListFiles();
    // Selects the file at the position (or with exactly this name) and loads it; false when
    // there is none.
    bool SelectMapList(std::size_t index);
    bool SelectMapList(std::string_view fileName);
    // Replaces the line list with the current file's lines; edits are discarded.
    void LoadMapList();

    // The current file name with its extension; empty when there is none.
    std::string SelectedFileName() const;
    std::size_t FileCount() const;
    // The current file name without ".dspl": the rotation the server plays.
    std::string RotationName() const;

    // Selects a line and sets the three choosers from its fields.
    void SelectLine(std::size_t index);
    void SelectMap(std::size_t index);
    void SelectGameType(std::size_t index);
    void SelectPriority(std::size_t index);
    void SetPriorityText(std::string text);

    // The line the choosers describe: map key, game-mode file name and priority.
    std::string BuildMapListLine() const;
    void AddNew();
    void UpdateSelectedLine();
    void MoveUp();
    void MoveDown();
    void RemoveSelected();
    void Clear();

    // Writing and deleting files; questions and failures go through the dialogs.
    void Save(Dialogs& dialogs);
    void SaveAs(Dialogs& dialogs);
    void DeleteMapListFile(Dialogs& dialogs);

    // The picture of the "All Maps" selection; nullopt when it has none.
    std::optional<std::filesystem::path> PreviewFile() const;

    const Chooser& MapListFiles() const { return m_mapListFiles; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    std::optional<std::size_t> SelectedLine() const { return m_selectedLine; }
    const Chooser& AllMaps() const { return m_allMaps; }
    const Chooser& GameTypes() const { return m_gameTypes; }
    const Chooser& Priorities() const { return m_priorities; }
    const std::string& PriorityText() const { return m_priorityText; }
    const MapCatalogue& Catalogue() const { return m_catalogue; }
    const GameTypeList& GameTypeEntries() const { return m_gameTypeList; }

private:
    std::filesystem::path MapListFolder() const;
    bool CanBuildLine() const;
    bool WriteLines(const std::filesystem::path& file, const std::string& title, Dialogs& dialogs) const;

    std::filesystem::path m_programFolder;
    MapCatalogue m_catalogue;
    GameTypeList m_gameTypeList;

    Chooser m_mapListFiles;
    std::vector<std::string> m_lines;
    std::optional<std::size_t> m_selectedLine;
    Chooser m_allMaps;
    Chooser m_gameTypes;
    Chooser m_priorities;
    std::string m_priorityText;
};

}  // namespace zembrock
