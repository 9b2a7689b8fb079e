#include "platform/posix/window_protocol.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>

namespace zembrock {
namespace {

constexpr std::string_view kFileHeader = "zembrock-windows 1\n";

// Reads one unsigned decimal number followed by the given separator; advances pos past both.
template <typename Number>
bool ReadNumber(std::string_view text, std::size_t& pos, char separator, Number& value) {
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(begin, end, value);
    if (error != std::errc{} || next == end || *next != separator) {
        return false;
    }
    pos += static_cast<std::size_t>(next - begin) + 1;
    return true;
}

bool IsLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::filesystem::path WindowsFolder() {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing in the program sets the environment
    if (const char* own = std::getenv("ZEMBROCK_WINDOWS_DIR"); own != nullptr && *own != '\0') {
        return own;
    }
    // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing in the program sets the environment
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
        return std::filesystem::path(runtime) / "zembrock-windows";
    }
    return std::filesystem::path("/tmp") / ("zembrock-windows-" + std::to_string(getuid()));
}

std::string HostStem::Text() const {
    return std::to_string(processId) + "-" + token;
}

std::optional<HostStem> ParseHostStem(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == text.size()) {
        return std::nullopt;
    }
    HostStem stem;
    const std::string_view number = text.substr(0, dash);
    const auto [next, error] = std::from_chars(number.data(), number.data() + number.size(), stem.processId);
    if (error != std::errc{} || next != number.data() + number.size() || stem.processId == 0) {
        return std::nullopt;
    }
    const std::string_view token = text.substr(dash + 1);
    for (const char c : token) {
        if (!IsLowerHex(c)) {
            return std::nullopt;
        }
    }
    stem.token = token;
    return stem;
}

std::string EncodeWindowRecords(const std::vector<WindowRecord>& windows) {
    std::string text(kFileHeader);
    for (const WindowRecord& window : windows) {
        text += std::to_string(window.handle) + " " + std::to_string(window.parent) + " " +
                (window.visible ? "1" : "0") + " " + std::to_string(window.className.size()) + " " +
                std::to_string(window.name.size()) + "\n";
        text += window.className;
        text += window.name;
        text += '\n';
    }
    return text;
}

std::optional<std::vector<WindowRecord>> DecodeWindowRecords(std::string_view text) {
    if (text.substr(0, kFileHeader.size()) != kFileHeader) {
        return std::nullopt;
    }
    std::vector<WindowRecord> windows;
    std::size_t pos = kFileHeader.size();
    while (pos < text.size()) {
        WindowRecord window;
        unsigned visible = 0;
        std::size_t classLength = 0;
        std::size_t nameLength = 0;
        if (!ReadNumber(text, pos, ' ', window.handle) || !ReadNumber(text, pos, ' ', window.parent) ||
            !ReadNumber(text, pos, ' ', visible) || !ReadNumber(text, pos, ' ', classLength) ||
            !ReadNumber(text, pos, '\n', nameLength)) {
            return std::nullopt;
        }
        if (text.size() - pos < classLength || text.size() - pos - classLength < nameLength + 1 ||
            text[pos + classLength + nameLength] != '\n') {
            return std::nullopt;
        }
        window.visible = visible != 0;
        window.className = text.substr(pos, classLength);
        window.name = text.substr(pos + classLength, nameLength);
        pos += classLength + nameLength + 1;
        windows.push_back(std::move(window));
    }
    return windows;
}

void AppendWord(std::string& out, std::uint32_t value) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFFU);
    }
}

std::uint32_t ReadWord(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (unsigned k = 0; k < 4; ++k) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + k])) << (8U * k);
    }
    return value;
}

std::string EncodeRequest(WindowOp op, WindowHandle handle, std::string_view payload) {
    std::string bytes;
    bytes.reserve(kRequestHeaderBytes + payload.size());
    AppendWord(bytes, static_cast<std::uint32_t>(op));
    AppendWord(bytes, handle);
    AppendWord(bytes, static_cast<std::uint32_t>(payload.size()));
    bytes += payload;
    return bytes;
}

std::string EncodeReply(WindowReply status, std::string_view payload) {
    std::string bytes;
    bytes.reserve(kReplyHeaderBytes + payload.size());
    AppendWord(bytes, static_cast<std::uint32_t>(status));
    AppendWord(bytes, static_cast<std::uint32_t>(payload.size()));
    bytes += payload;
    return bytes;
}

}  // namespace zembrock
