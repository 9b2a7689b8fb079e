#include "console/ban_list_editor.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "core/file_io.h"
#include "core/text.h"

namespace zembrock {
namespace {

bool FileExists(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

}  // namespace

std::filesystem::path BanFilePath(const std::filesystem::path& programFolder) {
    return programFolder / "main" / kBanFileName;
}

BanListEditor::BanListEditor(std::filesystem::path banFile) : m_file(std::move(banFile)) {}

void BanListEditor::Load() {
    if (FileExists(m_file)) {
        m_status = kBanListFound;
        Reload();
    } else {
        m_status = kBanListMissing;
    }
}

void BanListEditor::Reload() {
    if (!FileExists(m_file)) {
        return;
    }
    std::optional<std::string> content = ReadWholeFile(m_file);
    if (!content) {
        return;
    }
    m_text = std::move(*content);
    m_selection = {};
    m_underlines.clear();
}

bool BanListEditor::Save(Dialogs& dialogs) {
    const std::string question =
        std::string("Are you sure you wana save changes in \"") + kBanFileName + "\" file ?";
    if (!dialogs.AskYesNo("Save banlist.", question, DialogIcon::Information)) {
        return false;
    }
    std::string bytes = m_text;
    bytes += kCrLf;
    if (!ReplaceFileAtomically(m_file, bytes)) {
        dialogs.ShowMessage("Save banlist.",
                            std::string("Could not write \"") + kBanFileName + "\" (" + m_file.string() +
                                "). The file on disk was not changed.",
                            DialogIcon::Critical);
        return false;
    }
    return true;
}

bool BanListEditor::AddNew(std::string_view name, std::string_view hwid, std::string_view ip,
                           Dialogs& dialogs) {
    if (name.empty() || hwid.empty() || ip.empty()) {
        dialogs.ShowMessage("Wrong input.", "Check all fields and try again.", DialogIcon::Information);
        return false;
    }
    // One pass: a run of three line breaks becomes two, not one.
    m_text = ReplaceAll(m_text, "\r\n\r\n", kCrLf);
    m_text += std::string(hwid) + "=" + std::string(ip) + " (" + std::string(name) + ")";
    m_text += kCrLf;
    m_selection = {m_text.size(), 0};
    // The text was put back whole, which drops earlier underlines with their formatting.
    m_underlines.clear();
    return true;
}

std::optional<TextRange> BanListEditor::Find(std::string_view searchText) {
    if (searchText.empty()) {
        return std::nullopt;
    }
    // The stretch starts one after the caret and leaves out the text's last character.
    const std::size_t from = m_selection.start + 1;
    if (m_text.empty() || from >= m_text.size() - 1) {
        return std::nullopt;
    }
    const std::string stretch = ToUpperAscii(std::string_view(m_text).substr(from, m_text.size() - 1 - from));
    const std::size_t found = stretch.find(ToUpperAscii(searchText));
    if (found == std::string::npos) {
        return std::nullopt;
    }
    const TextRange match{from + found, searchText.size()};
    m_selection = match;
    m_underlines.push_back(match);
    return match;
}

void BanListEditor::SetText(std::string text) {
    m_text = std::move(text);
    m_selection.start = std::min(m_selection.start, m_text.size());
    m_selection.length = std::min(m_selection.length, m_text.size() - m_selection.start);
}

void BanListEditor::SetSelection(TextRange selection) {
    m_selection.start = std::min(selection.start, m_text.size());
    m_selection.length = std::min(selection.length, m_text.size() - m_selection.start);
}

}  // namespace zembrock
