#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/chooser.h"

namespace zembrock {

class Dialogs;

inline constexpr const char* kMessageProfileFileName = "DravikMassages.ini";
// A load reads at most this many rows; a save writes them all.
inline constexpr std::size_t kMessageLoadLimit = 30;
inline constexpr std::size_t kDelayMaxLength = 4;
// The longest delay the four-character field can hold.
inline constexpr std::int16_t kDelayMaxSeconds = 9999;
inline constexpr char kMessageSeparator = '|';

inline constexpr const char* kMessageProfileTitle = "Massages profile creation.";
inline constexpr const char* kMessageProfilePrompt = "Enter new profile name:";
inline constexpr const char* kMessageProfileExistsText = "Profile already exist! Please try another name.";
inline constexpr const char* kMessageProfileBadNameText =
    "A profile name can not be blank or contain \"]\" or a line break. Please try another name.";

// One row of the message list: the text broadcast and the delay field's text, kept as typed
// or as stored, so a row loaded from a hand-edited file may carry a delay the rotation cannot use.
struct MessageRow {
    std::string message;
    std::string delay;

    bool operator==(const MessageRow&) const = default;
};

// The delay in seconds when the text is a whole number from 1 to kDelayMaxSeconds (blanks
// around it allowed); nullopt for anything the rotation cannot count to.
std::optional<std::int16_t> UsableDelay(std::string_view delay);
// The key filter of "Delay (sec):": digits, backspace, and copy, cut and paste (3, 24, 22).
bool DelayKeyAccepted(char key);
// The row as one stored value, "message|delay", and back: the piece before the first "|" is
// the message, the piece up to a second "|" (or the end) the delay. A value without "|" gives
// an empty delay.
std::string FormatMessageValue(const MessageRow& row);
MessageRow ParseMessageValue(std::string_view value);

// The section names of the file in file order: every line that starts with "[" without its
// first and last character. Empty when the file is missing; lines that leave no name are skipped.
std::vector<std::string> ReadMessageProfileNames(const std::filesystem::path& file);
// Keys "1" to "30" of the section, up to the first missing or empty one.
std::vector<MessageRow> ReadMessageProfile(const std::filesystem::path& file, std::string_view name);
// Writes every row as keys "1".."n" in one atomic replace of the file; with replace the old
// section is removed first so no stale rows survive. False when the file could not be written.
bool WriteMessageProfile(const std::filesystem::path& file, std::string_view name,
                         const std::vector<MessageRow>& rows, bool replace);

// The result of a colour button: the message field's new text and caret.
struct TextEdit {
    std::string text;
    std::size_t caret = 0;
};
// Inserts "^" and the digit at the caret (a caret past the end inserts at the end); the caret
// ends after the code. Any selection in the field is dropped, not replaced.
TextEdit InsertColourCode(std::string_view text, std::size_t caret, char digit);

// Moves the selected rows one place up: once an unselected row has been passed, each selected
// row met afterwards swaps with the row above it; selected rows at the top stay. rows and
// selected have the same length; the selection moves with its rows.
template <typename Row>
void MoveSelectedUp(std::vector<Row>& rows, std::vector<bool>& selected);
// The mirror image, walking from the last row to the first.
template <typename Row>
void MoveSelectedDown(std::vector<Row>& rows, std::vector<bool>& selected);

// The "Massages" page's list side as state: the message-profile selector, the message rows
// with their selection, the editor fields, and the commands of the page. Every command that
// changes the rows or the file is refused while the rotation holds the lock.
class MessageProfiles {
public:
    explicit MessageProfiles(const std::filesystem::path& programFolder);

    const std::filesystem::path& ProfileFile() const { return m_profileFile; }

    // Start-up: lists the profiles and selects (and loads) the first one, if any.
    void StartUp();
    // Refills the selector from the file; nothing is selected afterwards.
    void ListMessageProfiles();
    // The selector changed: selects the entry and loads it. False when locked or out of range.
    bool SelectProfile(std::size_t index);

    // The list's selection, one flag per row, as the page reports it.
    void SetSelection(const std::vector<std::size_t>& rows);
    // The row "Update selected", "Remove" and the double-click act on: the first selected one.
    std::optional<std::size_t> CurrentRow() const;

    // Editor fields. The delay field keeps at most kDelayMaxLength characters.
    void SetEditMessage(std::string text) { m_editMessage = std::move(text); }
    void SetEditDelay(std::string text);
    const std::string& EditMessage() const { return m_editMessage; }
    const std::string& EditDelay() const { return m_editDelay; }
    // Colour button: inserts the code into the message field; returns the caret after it.
    std::size_t InsertColour(char digit, std::size_t caret);
    // Double-click on a row: copies the current row into the editor fields.
    void CopyCurrentRowToEditor();

    // The list commands; each does nothing while locked.
    void AddNew();
    void UpdateSelected();
    void RemoveSelected();
    void Clear();
    void MoveUp();
    void MoveDown();

    // The profile commands; questions go through the dialogs. Each does nothing while locked.
    void Save(Dialogs& dialogs);
    void SaveNew(Dialogs& dialogs);
    void Delete();

    // Set by the rotation while it runs; the page disables the list, the selector and the
    // editing buttons while it is set.
    void SetLocked(bool locked) { m_locked = locked; }
    bool Locked() const { return m_locked; }

    const Chooser& Profiles() const { return m_profiles; }
    const std::vector<MessageRow>& Rows() const { return m_rows; }
    const std::vector<bool>& Selected() const { return m_selected; }

private:
    void Load(const std::string& name);
    bool EditorFilled() const { return !m_editMessage.empty() && !m_editDelay.empty(); }

    std::filesystem::path m_profileFile;
    Chooser m_profiles;
    std::vector<MessageRow> m_rows;
    std::vector<bool> m_selected;
    std::string m_editMessage;
    std::string m_editDelay;
    bool m_locked = false;
};

template <typename Row>
void MoveSelectedUp(std::vector<Row>& rows, std::vector<bool>& selected) {
    bool unselectedSeen = false;
    for (std::size_t i = 0; i < rows.size() && i < selected.size(); ++i) {
        if (!selected[i]) {
            unselectedSeen = true;
        } else if (unselectedSeen) {
            std::swap(rows[i], rows[i - 1]);
            selected[i - 1] = true;
            selected[i] = false;
        }
    }
}

template <typename Row>
void MoveSelectedDown(std::vector<Row>& rows, std::vector<bool>& selected) {
    bool unselectedSeen = false;
    for (std::size_t i = std::min(rows.size(), selected.size()); i-- > 0;) {
        if (!selected[i]) {
            unselectedSeen = true;
        } else if (unselectedSeen) {
            std::swap(rows[i], rows[i + 1]);
            selected[i + 1] = true;
            selected[i] = false;
        }
    }
}

}  // namespace zembrock
