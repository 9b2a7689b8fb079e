#include "maps/map_list_editor.h"

#include <system_error>
#include <utility>

#include "core/file_io.h"
#include "core/folder_listing.h"
#include "core/text.h"
#include "platform/dialogs.h"

namespace zembrock {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kMapListExtension = ".dspl";
constexpr std::string_view kCommentMark = "//";

constexpr std::string_view kSaveTitle = "Save maplist file.";
constexpr std::string_view kSaveAsTitle = "Creating new map rotation";
constexpr std::string_view kSaveAsPrompt = "Enter the name of new map list:";
constexpr std::string_view kReplaceTitle = "File already existes!";

std::vector<std::string> DefaultPriorities() {
    std::vector<std::string> priorities = {"1"};
    for (int priority = 100; priority <= 1000; priority += 100) {
        priorities.push_back(std::to_string(priority));
    }
    return priorities;
}

// Lines end in CR LF in the game's files, but a list edited elsewhere may end them in LF or CR
// alone; each of those ends a line.
std::vector<std::string> MapListLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        if (!line.empty() && !line.starts_with(kCommentMark)) {
            lines.emplace_back(line);
        }
        if (end == std::string_view::npos) {
            break;
        }
        const bool crLf = bytes.substr(end).starts_with(kCrLf);
        bytes.remove_prefix(end + (crLf ? kCrLf.size() : 1));
    }
    return lines;
}

std::vector<std::string_view> SplitAtCommas(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos; comma = line.find(',')) {
        fields.push_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    fields.push_back(line);
    return fields;
}

}  // namespace

MapListEditor::MapListEditor(fs::path programFolder) : m_programFolder(std::move(programFolder)) {
    m_priorities.Fill(DefaultPriorities());
    SelectPriority(0);
}

void MapListEditor::SetCatalogue(MapCatalogue catalogue) {
    m_catalogue = std::move(catalogue);
    m_allMaps.Fill(DisplayNames(m_catalogue));
    m_allMaps.SelectIndex(0);
}

void MapListEditor::SetGameTypes(GameTypeList gameTypes) {
    m_gameTypeList = std::move(gameTypes);
    m_gameTypes.Fill(DisplayNames(m_gameTypeList));
    m_gameTypes.SelectIndex(0);
}

fs::path MapListEditor::MapListFolder() const {
    return m_programFolder / "players2";
}

void MapListEditor::RefreshMapListFiles() {
    m_mapListFiles.Fill(ListFiles(MapListFolder(), kMapListExtension));
    SelectMapList(std::size_t{0});
}

bool MapListEditor::SelectMapList(std::size_t index) {
    if (index >= m_mapListFiles.entries.size()) {
        return false;
    }
    m_mapListFiles.selected = index;
    LoadMapList();
    return true;
}

bool MapListEditor::SelectMapList(std::string_view fileName) {
    if (!m_mapListFiles.SelectText(fileName)) {
        return false;
    }
    LoadMapList();
    return true;
}

void MapListEditor::LoadMapList() {
    m_lines.clear();
    m_selectedLine.reset();
    const std::string name = SelectedFileName();
    if (name.empty()) {
        return;
    }
    if (const std::optional<std::string> bytes = ReadWholeFile(MapListFolder() / name)) {
        m_lines = MapListLines(*bytes);
    }
}

std::string MapListEditor::SelectedFileName() const {
    return m_mapListFiles.Text();
}

std::size_t MapListEditor::FileCount() const {
    return m_mapListFiles.entries.size();
}

std::string MapListEditor::RotationName() const {
    std::string name = SelectedFileName();
    name.resize(name.size() >= kMapListExtension.size() ? name.size() - kMapListExtension.size() : 0);
    return name;
}

void MapListEditor::SelectLine(std::size_t index) {
    if (index >= m_lines.size()) {
        return;
    }
    m_selectedLine = index;
    // Each field on its own: one that is missing or unknown leaves its chooser as it was.
    const std::vector<std::string_view> fields = SplitAtCommas(m_lines[index]);
    if (const auto map = PositionOfKey(m_catalogue, fields[0])) {
        m_allMaps.SelectText(m_catalogue[*map].displayName);
    }
    if (fields.size() > 1) {
        if (const auto gameType = PositionOfKey(m_gameTypeList, fields[1])) {
            m_gameTypes.SelectText(m_gameTypeList[*gameType].displayName);
        }
    }
    if (fields.size() > 2) {
        SetPriorityText(std::string(fields[2]));
    }
}

void MapListEditor::SelectMap(std::size_t index) {
    m_allMaps.SelectIndex(static_cast<std::int64_t>(index));
}

void MapListEditor::SelectGameType(std::size_t index) {
    m_gameTypes.SelectIndex(static_cast<std::int64_t>(index));
}

void MapListEditor::SelectPriority(std::size_t index) {
    if (m_priorities.SelectIndex(static_cast<std::int64_t>(index))) {
        m_priorityText = m_priorities.Text();
    }
}

void MapListEditor::SetPriorityText(std::string text) {
    m_priorityText = std::move(text);
    if (!m_priorities.SelectText(m_priorityText)) {
        m_priorities.selected.reset();
    }
}

bool MapListEditor::CanBuildLine() const {
    return m_allMaps.selected.has_value() && m_gameTypes.selected.has_value();
}

std::string MapListEditor::BuildMapListLine() const {
    const std::string mapText = m_allMaps.Text();
    const std::string map =
        mapText == kWildcardMap ? mapText : KeyAt(m_catalogue, m_allMaps.selected.value_or(0));
    const std::string gameType = KeyAt(m_gameTypeList, m_gameTypes.selected.value_or(m_gameTypeList.size()));
    return map + "," + gameType + "," + m_priorityText;
}

void MapListEditor::AddNew() {
    if (CanBuildLine()) {
        m_lines.push_back(BuildMapListLine());
    }
}

void MapListEditor::UpdateSelectedLine() {
    if (CanBuildLine() && m_selectedLine) {
        m_lines[*m_selectedLine] = BuildMapListLine();
    }
}

void MapListEditor::MoveUp() {
    if (!m_selectedLine || *m_selectedLine == 0) {
        return;
    }
    const std::size_t line = *m_selectedLine;
    std::swap(m_lines[line], m_lines[line - 1]);
    SelectLine(line - 1);
}

void MapListEditor::MoveDown() {
    if (!m_selectedLine || *m_selectedLine + 1 >= m_lines.size()) {
        return;
    }
    const std::size_t line = *m_selectedLine;
    std::swap(m_lines[line], m_lines[line + 1]);
    SelectLine(line + 1);
}

void MapListEditor::RemoveSelected() {
    if (!m_selectedLine) {
        return;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*m_selectedLine));
    m_selectedLine.reset();
}

void MapListEditor::Clear() {
    m_lines.clear();
    m_selectedLine.reset();
}

bool MapListEditor::WriteLines(const fs::path& file, const std::string& title, Dialogs& dialogs) const {
    std::string bytes;
    for (const std::string& line : m_lines) {
        bytes += line;
        bytes += kCrLf;
    }
    if (ReplaceFileAtomically(file, bytes)) {
        return true;
    }
    dialogs.ShowMessage(title,
                        "The map list could not be written to \"" + file.filename().string() +
                            "\". The old file is unchanged." + std::string(kCrLf) +
                            "Check that the players2 folder exists and that the file is not read-only "
                            "or in use by another program.",
                        DialogIcon::Critical);
    return false;
}

void MapListEditor::Save(Dialogs& dialogs) {
    const std::string name = SelectedFileName();
    if (name.empty()) {
        SaveAs(dialogs);
        return;
    }
    if (!dialogs.AskYesNo(std::string(kSaveTitle),
                          "Are you sure you wana save changes in \"" + name + "\" file ?",
                          DialogIcon::Information)) {
        return;
    }
    WriteLines(MapListFolder() / name, std::string(kSaveTitle), dialogs);
}

void MapListEditor::SaveAs(Dialogs& dialogs) {
    const std::optional<std::string> answer =
        dialogs.AskText(std::string(kSaveAsTitle), std::string(kSaveAsPrompt), std::string());
    if (!answer) {
        return;
    }
    const std::string name(TrimBlanks(*answer));
    if (name.empty()) {
        return;
    }
    const std::string fileName = name + std::string(kMapListExtension);
    // A name with a separator or a reserved character would write somewhere else than
    // players2, or fail on the other platform; refuse it before anything is written.
    if (!IsValidFileName(fileName)) {
        dialogs.ShowMessage(std::string(kSaveAsTitle),
                            "\"" + name + "\" cannot be used as the name of a map list." +
                                std::string(kCrLf) +
                                "Leave out the characters < > : \" / \\ | ? *, do not end the name with a "
                                "point, and do not use a device name such as CON or NUL.",
                            DialogIcon::Warning);
        return;
    }
    const fs::path file = MapListFolder() / fileName;
    std::error_code error;
    if (fs::exists(file, error) &&
        !dialogs.AskYesNo(std::string(kReplaceTitle), "Are you sure you wana replace " + fileName + " file?",
                          DialogIcon::Information)) {
        return;
    }
    if (WriteLines(file, std::string(kSaveAsTitle), dialogs)) {
        RefreshMapListFiles();
    }
}

void MapListEditor::DeleteMapListFile(Dialogs& dialogs) {
    const std::string name = SelectedFileName();
    if (name.empty()) {
        return;
    }
    if (!dialogs.AskYesNo("Deleting " + name + " file...", "Are you sure?", DialogIcon::Information)) {
        return;
    }
    const fs::path file = MapListFolder() / name;
    std::error_code error;
    // Windows refuses to delete a read-only file; the program treats such files alike everywhere.
    if (IsReadOnlyFile(file)) {
        error = std::make_error_code(std::errc::permission_denied);
    } else if (!fs::remove(file, error) && !error) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (error) {
        dialogs.ShowMessage(std::to_string(error.value()), error.message(), DialogIcon::Critical);
        return;
    }
    RefreshMapListFiles();
}

std::optional<fs::path> MapListEditor::PreviewFile() const {
    if (!m_allMaps.selected) {
        return std::nullopt;
    }
    return MapPreviewFile(m_programFolder, m_allMaps.Text());
}

}  // namespace zembrock
