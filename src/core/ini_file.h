#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zembrock {

// The longest value a read returns.
inline constexpr std::size_t kIniValueMaxLength = 1499;

// One INI file in memory, edited the way the platform's profile functions edit it: sections
// and keys are matched without regard to case and the first match wins; a write replaces the
// value of an existing key in place, or appends the key at the end of its section, or appends
// a new section at the end of the file. Every byte that an edit does not touch is kept, line
// ends included; lines the program adds end in CR LF.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view bytes);

    // The document of the file; empty when the file is missing or unreadable.
    static IniDocument Load(const std::filesystem::path& file);

    // The raw value: the text after the first "=", without surrounding blanks and without one
    // enclosing pair of double or single quotes. nullopt when the section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // The value as ReadIniKey reads it: cut to kIniValueMaxLength, "%APP%" replaced by the program's
    // folder, and the default (unchanged) when missing or empty.
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Writes KEY=value (the key upper-cased) into the section.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section's header line and every line of the section.
    void DeleteSection(std::string_view section);

    std::string Bytes() const;
    // Replaces the file atomically with this document. False (and the old file whole) on failure.
    bool Save(const std::filesystem::path& file) const;

private:
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\r\n", "\n", or empty for a last line without one
    };
    struct SectionSpan {
        std::size_t header;
        std::size_t end;  // one past the section's last line
    };
    std::optional<SectionSpan> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const SectionSpan& span, std::string_view key) const;

    std::vector<Line> m_lines;
};

// The value of key in section of file, "%APP%" replaced by the program's folder; the default
// (unchanged) when the file, the section or the key is missing or the value is empty.
std::string ReadIniKey(std::string_view section, std::string_view key, const std::filesystem::path& file,
                       std::string_view defaultValue);

// Writes the key (upper-cased) and value into the section of the file, creating both when
// missing. A value is one line: it ends at its first line break. False when the file could not
// be written; the old file then stays whole.
bool WriteIniKey(std::string_view section, std::string_view key, std::string_view value,
                 const std::filesystem::path& file);

// Removes the section and its keys from the file. False when the file could not be written.
bool DeleteIniSection(std::string_view section, const std::filesystem::path& file);

}  // namespace zembrock
