#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace zembrock {

inline constexpr const char* kBanFileName = "permanent_ex.ban";
inline constexpr const char* kBanListFound = "Ban list founded.";
inline constexpr const char* kBanListMissing = "Ban list doesn't exist.";

// A stretch of the editor's text, counted in characters from 0.
struct TextRange {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const TextRange&) const = default;
};

// The ban file `main/permanent_ex.ban` below the program folder.
std::filesystem::path BanFilePath(const std::filesystem::path& programFolder);

// The "Banlist" window's model: the ban file as free text with a selection, searched, extended
// by "Add new" and written back. The window renders Text(), Selection(), Underlines() and
// StatusText(), and hands the administrator's edits and caret moves back in.
class BanListEditor {
public:
    explicit BanListEditor(std::filesystem::path banFile);

    // Window load: the status label and, when the file exists, a "Reload".
    void Load();
    // The file's whole content into the text; nothing when it is missing or unreadable.
    void Reload();
    // "Save": asks first; writes the text and one CR LF atomically. A failed write is reported
    // and leaves the old file whole. True when the file was written.
    bool Save(Dialogs& dialogs);
    // "Add new": refuses empty fields, collapses CR LF CR LF to CR LF in one pass, and appends
    // "HWID=IP (Name)" CR LF at the end. True when added.
    bool AddNew(std::string_view name, std::string_view hwid, std::string_view ip, Dialogs& dialogs);
    // "Find": the next match after the selection's start, ignoring case, selected and underlined.
    // nullopt (nothing changed) for an empty search text or no match.
    std::optional<TextRange> Find(std::string_view searchText);

    // The administrator's free edits; the selection is kept within the text.
    void SetText(std::string text);
    void SetSelection(TextRange selection);

    const std::string& Text() const { return m_text; }
    TextRange Selection() const { return m_selection; }
    const std::vector<TextRange>& Underlines() const { return m_underlines; }
    const std::string& StatusText() const { return m_status; }
    const std::filesystem::path& File() const { return m_file; }

private:
    std::filesystem::path m_file;
    std::string m_text;
    TextRange m_selection;
    std::vector<TextRange> m_underlines;
    std::string m_status = "Status";
};

}  // namespace zembrock
