#include "messages/message_profiles.h"

#include "core/file_io.h"
#include "core/ini_file.h"
#include "core/text.h"
#include "platform/dialogs.h"

namespace zembrock {
namespace {

constexpr char kCopyKey = 3;
constexpr char kPasteKey = 22;
constexpr char kCutKey = 24;
constexpr char kBackspaceKey = 8;

// A name the INI file can hold as a section header and give back unchanged: "]" would end the
// header early and a line break would split it.
bool NameFitsIniFile(std::string_view name) {
    return name.find_first_of("]\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::int16_t> UsableDelay(std::string_view delay) {
    delay = TrimBlanks(delay);
    if (delay.empty() || delay.size() > kDelayMaxLength) {
        return std::nullopt;
    }
    int seconds = 0;
    for (const char c : delay) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        seconds = seconds * 10 + (c - '0');
    }
    if (seconds < 1 || seconds > kDelayMaxSeconds) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(seconds);
}

bool DelayKeyAccepted(char key) {
    return (key >= '0' && key <= '9') || key == kBackspaceKey || key == kCopyKey || key == kCutKey ||
           key == kPasteKey;
}

std::string FormatMessageValue(const MessageRow& row) {
    return row.message + kMessageSeparator + row.delay;
}

MessageRow ParseMessageValue(std::string_view value) {
    const std::size_t first = value.find(kMessageSeparator);
    if (first == std::string_view::npos) {
        return {std::string(value), {}};
    }
    const std::string_view rest = value.substr(first + 1);
    return {std::string(value.substr(0, first)), std::string(rest.substr(0, rest.find(kMessageSeparator)))};
}

std::vector<std::string> ReadMessageProfileNames(const std::filesystem::path& file) {
    std::vector<std::string> names;
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        return names;
    }
    std::string_view rest = *bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() > 2 && line.front() == '[') {
            names.emplace_back(line.substr(1, line.size() - 2));
        }
    }
    return names;
}

std::vector<MessageRow> ReadMessageProfile(const std::filesystem::path& file, std::string_view name) {
    std::vector<MessageRow> rows;
    const IniDocument document = IniDocument::Load(file);
    for (std::size_t i = 1; i <= kMessageLoadLimit; ++i) {
        const std::string value = document.Read(name, std::to_string(i), "");
        if (value.empty()) {
            break;
        }
        rows.push_back(ParseMessageValue(value));
    }
    return rows;
}

bool WriteMessageProfile(const std::filesystem::path& file, std::string_view name,
                         const std::vector<MessageRow>& rows, bool replace) {
    IniDocument document = IniDocument::Load(file);
    if (replace) {
        document.DeleteSection(name);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        document.SetValue(name, std::to_string(i + 1), FormatMessageValue(rows[i]));
    }
    return document.Save(file);
}

TextEdit InsertColourCode(std::string_view text, std::size_t caret, char digit) {
    caret = std::min(caret, text.size());
    TextEdit edit{std::string(text.substr(0, caret)), 0};
    edit.text += '^';
    edit.text += digit;
    edit.caret = edit.text.size();
    edit.text += text.substr(caret);
    return edit;
}

MessageProfiles::MessageProfiles(const std::filesystem::path& programFolder)
    : m_profileFile(programFolder / kMessageProfileFileName) {}

void MessageProfiles::StartUp() {
    ListMessageProfiles();
    if (!m_profiles.entries.empty()) {
        SelectProfile(0);
    }
}

void MessageProfiles::ListMessageProfiles() {
    m_profiles.Fill(ReadMessageProfileNames(m_profileFile));
}

bool MessageProfiles::SelectProfile(std::size_t index) {
    if (m_locked || index >= m_profiles.entries.size()) {
        return false;
    }
    m_profiles.selected = index;
    Load(m_profiles.entries[index]);
    return true;
}

void MessageProfiles::Load(const std::string& name) {
    if (name.empty()) {
        return;
    }
    m_rows = ReadMessageProfile(m_profileFile, name);
    m_selected.assign(m_rows.size(), false);
}

void MessageProfiles::SetSelection(const std::vector<std::size_t>& rows) {
    m_selected.assign(m_rows.size(), false);
    for (const std::size_t row : rows) {
        if (row < m_selected.size()) {
            m_selected[row] = true;
        }
    }
}

std::optional<std::size_t> MessageProfiles::CurrentRow() const {
    for (std::size_t i = 0; i < m_selected.size(); ++i) {
        if (m_selected[i]) {
            return i;
        }
    }
    return std::nullopt;
}

void MessageProfiles::SetEditDelay(std::string text) {
    if (text.size() > kDelayMaxLength) {
        text.resize(kDelayMaxLength);
    }
    m_editDelay = std::move(text);
}

std::size_t MessageProfiles::InsertColour(char digit, std::size_t caret) {
    TextEdit edit = InsertColourCode(m_editMessage, caret, digit);
    m_editMessage = std::move(edit.text);
    return edit.caret;
}

void MessageProfiles::CopyCurrentRowToEditor() {
    if (const std::optional<std::size_t> row = CurrentRow()) {
        m_editMessage = m_rows[*row].message;
        m_editDelay = m_rows[*row].delay;
    }
}

void MessageProfiles::AddNew() {
    if (m_locked || !EditorFilled()) {
        return;
    }
    m_rows.push_back({m_editMessage, m_editDelay});
    m_selected.push_back(false);
}

void MessageProfiles::UpdateSelected() {
    const std::optional<std::size_t> row = CurrentRow();
    if (m_locked || !EditorFilled() || !row) {
        return;
    }
    m_rows[*row] = {m_editMessage, m_editDelay};
}

void MessageProfiles::RemoveSelected() {
    const std::optional<std::size_t> row = CurrentRow();
    if (m_locked || !row) {
        return;
    }
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(*row));
    m_selected.erase(m_selected.begin() + static_cast<std::ptrdiff_t>(*row));
}

void MessageProfiles::Clear() {
    if (m_locked) {
        return;
    }
    m_rows.clear();
    m_selected.clear();
}

void MessageProfiles::MoveUp() {
    if (!m_locked) {
        MoveSelectedUp(m_rows, m_selected);
    }
}

void MessageProfiles::MoveDown() {
    if (!m_locked) {
        MoveSelectedDown(m_rows, m_selected);
    }
}

void MessageProfiles::Save(Dialogs& dialogs) {
    if (m_locked) {
        return;
    }
    const std::string name = m_profiles.Text();
    if (name.empty()) {
        SaveNew(dialogs);
        return;
    }
    // Failed writes are not reported, as with every INI write of the program.
    WriteMessageProfile(m_profileFile, name, m_rows, true);
}

void MessageProfiles::SaveNew(Dialogs& dialogs) {
    if (m_locked) {
        return;
    }
    const std::optional<std::string> answer =
        dialogs.AskText(kMessageProfileTitle, kMessageProfilePrompt, "");
    if (!answer) {
        return;
    }
    if (answer->empty()) {
        return;
    }
    // The INI file drops blanks around a section name, so the name is kept without them.
    const std::string name(TrimBlanks(*answer));
    if (name.empty() || !NameFitsIniFile(name)) {
        dialogs.ShowMessage("Error", kMessageProfileBadNameText, DialogIcon::Information);
        return;
    }
    for (const std::string& entry : m_profiles.entries) {
        if (EqualsNoCase(entry, name)) {
            dialogs.ShowMessage("Error", kMessageProfileExistsText, DialogIcon::Information);
            return;
        }
    }
    WriteMessageProfile(m_profileFile, name, m_rows, false);
    m_profiles.entries.push_back(name);
}

void MessageProfiles::Delete() {
    if (m_locked || !m_profiles.selected) {
        return;
    }
    const std::size_t index = *m_profiles.selected;
    DeleteIniSection(m_profiles.entries[index], m_profileFile);
    m_profiles.entries.erase(m_profiles.entries.begin() + static_cast<std::ptrdiff_t>(index));
    m_profiles.selected.reset();
    if (!m_profiles.entries.empty()) {
        SelectProfile(0);
    }
}

}  // namespace zembrock
