#include "core/ini_file.h"

#include "core/file_io.h"
#include "core/program_folder.h"
#include "core/text.h"

namespace zembrock {
namespace {

// The name of a section header line ("[name]", blanks allowed around it), or nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return TrimBlanks(close == std::string_view::npos ? line : line.substr(0, close));
}

std::string_view KeyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return TrimBlanks(equals == std::string_view::npos ? line : line.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    const std::size_t lineBreak = value.find_first_of("\r\n");
    if (lineBreak != std::string_view::npos) {
        value = value.substr(0, lineBreak);
    }
    return ToUpperAscii(key) + "=" + std::string(value);
}

bool IsBlankLine(std::string_view line) {
    return TrimBlanks(line).empty();
}

// The document to edit: empty for a missing file, nullopt for a file that exists but cannot be
// read, which must not be replaced by a document that lost its contents.
std::optional<IniDocument> LoadForEdit(const std::filesystem::path& file) {
    if (const std::optional<std::string> bytes = ReadWholeFile(file)) {
        return IniDocument(*bytes);
    }
    std::error_code error;
    return std::filesystem::exists(file, error) || error ? std::nullopt
                                                         : std::optional<IniDocument>(IniDocument());
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        std::string_view line = newline == std::string_view::npos ? bytes : bytes.substr(0, newline);
        std::string end = newline == std::string_view::npos ? "" : "\n";
        if (!line.empty() && line.back() == '\r' && !end.empty()) {
            line.remove_suffix(1);
            end = "\r\n";
        }
        m_lines.push_back({std::string(line), end});
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    }
}

IniDocument IniDocument::Load(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    return bytes ? IniDocument(*bytes) : IniDocument();
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::optional<std::string_view> name = SectionName(m_lines[i].text);
        if (name && EqualsNoCase(*name, section)) {
            std::size_t end = i + 1;
            while (end < m_lines.size() && !SectionName(m_lines[end].text)) {
                ++end;
            }
            return SectionSpan{i, end};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionSpan& span, std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (!IsBlankLine(m_lines[i].text) && EqualsNoCase(KeyOf(m_lines[i].text), key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const std::optional<SectionSpan> span = FindSection(section);
    if (!span) {
        return std::nullopt;
    }
    const std::optional<std::size_t> line = FindKey(*span, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(ValueOf(m_lines[*line].text));
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::optional<SectionSpan> span = FindSection(section);
    if (!span) {
        if (!m_lines.empty() && m_lines.back().end.empty()) {
            m_lines.back().end = kCrLf;
        }
        m_lines.push_back({"[" + std::string(section) + "]", std::string(kCrLf)});
        m_lines.push_back({KeyLine(key, value), std::string(kCrLf)});
        return;
    }
    if (const std::optional<std::size_t> line = FindKey(*span, key)) {
        m_lines[*line].text = KeyLine(key, value);
        return;
    }
    // After the section's last non-blank line, so blank lines before the next section stay
    // where they are.
    std::size_t last = span->end - 1;
    while (last > span->header && IsBlankLine(m_lines[last].text)) {
        --last;
    }
    if (m_lines[last].end.empty()) {
        m_lines[last].end = kCrLf;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                   Line{KeyLine(key, value), std::string(kCrLf)});
}

void IniDocument::DeleteSection(std::string_view section) {
    if (const std::optional<SectionSpan> span = FindSection(section)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(span->header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(span->end));
    }
}

std::string IniDocument::Bytes() const {
    std::string bytes;
    for (const Line& line : m_lines) {
        bytes += line.text;
        bytes += line.end;
    }
    return bytes;
}

bool IniDocument::Save(const std::filesystem::path& file) const {
    return ReplaceFileAtomically(file, Bytes());
}

std::string IniDocument::Read(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    std::string value = Value(section, key).value_or("");
    if (value.size() > kIniValueMaxLength) {
        value.resize(kIniValueMaxLength);
    }
    value = ReplaceAll(value, "%APP%", ProgramFolderText());
    return value.empty() ? std::string(defaultValue) : value;
}

std::string ReadIniKey(std::string_view section, std::string_view key, const std::filesystem::path& file,
                       std::string_view defaultValue) {
    return IniDocument::Load(file).Read(section, key, defaultValue);
}

bool WriteIniKey(std::string_view section, std::string_view key, std::string_view value,
                 const std::filesystem::path& file) {
    std::optional<IniDocument> document = LoadForEdit(file);
    if (!document) {
        return false;
    }
    document->SetValue(section, key, value);
    return document->Save(file);
}

bool DeleteIniSection(std::string_view section, const std::filesystem::path& file) {
    std::optional<IniDocument> document = LoadForEdit(file);
    if (!document) {
        return false;
    }
    const std::string before = document->Bytes();
    document->DeleteSection(section);
    return document->Bytes() == before || document->Save(file);
}

}  // namespace zembrock
