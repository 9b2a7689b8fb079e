#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zembrock {

// What the hosts of console windows and the processes that find and message them agree on.
//
// Every host publishes three files in the windows folder, all named after the host's stem
// "<pid>-<token>" (the token is random, so a later process that gets the same pid never
// shares a file name with a dead one):
//   <stem>.lock     held with an exclusive flock for the host's whole life; a shared lock that
//                   succeeds proves the host dead (the kernel drops the lock at any death);
//   <stem>.windows  the host's windows, rewritten by temp file and rename on every change of
//                   a title, a visibility or the set of windows;
//   <stem>.sock     a stream socket on which the host answers one request at a time.
// The lock file appears (already locked) before the two others and goes after them, so a
// windows file or socket without its lock file is always stale.

// The folder: $ZEMBROCK_WINDOWS_DIR when set, else $XDG_RUNTIME_DIR/zembrock-windows, else
// /tmp/zembrock-windows-<uid>.
std::filesystem::path WindowsFolder();

// A window handle is (pid << 8) | index, index 1 to 255 within its host.
inline constexpr std::uint32_t kMaxWindowsPerHost = 255;
inline constexpr WindowHandle MakeWindowHandle(std::uint32_t processId, std::uint32_t index) {
    return (processId << 8U) | index;
}
inline constexpr std::uint32_t HandleProcessId(WindowHandle handle) {
    return handle >> 8U;
}

// The stem of a host's files.
struct HostStem {
    std::uint32_t processId = 0;
    std::string token;  // lower-case hex

    std::string Text() const;
};
std::optional<HostStem> ParseHostStem(std::string_view text);

inline constexpr std::string_view kLockSuffix = ".lock";
inline constexpr std::string_view kWindowsSuffix = ".windows";
inline constexpr std::string_view kSocketSuffix = ".sock";
// The host writes its windows file here first, then renames it.
inline constexpr std::string_view kWindowsTempSuffix = ".windows.tmp";

// One window as a host publishes it.
struct WindowRecord {
    WindowHandle handle = 0;
    WindowHandle parent = 0;  // 0 for a top-level window
    bool visible = true;
    std::string className;
    std::string name;  // a top-level window's title; a control's window name
};

// The windows file: a header line, then per window, in creation order (so a parent's children
// come in their order), a line "handle parent visible classLength nameLength" followed by the
// class and name bytes and a line feed. Lengths keep every 8-bit text intact.
std::string EncodeWindowRecords(const std::vector<WindowRecord>& windows);
// nullopt when the text is not a complete windows file.
std::optional<std::vector<WindowRecord>> DecodeWindowRecords(std::string_view text);

// Requests: op, handle and payload length as three little-endian 32-bit words, then the
// payload. Replies: status and payload length, then the payload. One reply per request, in order.
enum class WindowOp : std::uint32_t {
    SetText = 1,     // payload: the text
    PressEnter = 2,  // no payload
    ReadText = 3,    // reply payload: the text
    Probe = 4,       // no payload; answered as soon as it is read
    Show = 5,        // payload: one byte, 1 to show, 0 to hide
};

enum class WindowReply : std::uint32_t {
    Done = 0,
    NoWindow = 1,    // the host has no such window
    BadRequest = 2,  // unknown op or malformed payload
};

inline constexpr std::size_t kRequestHeaderBytes = 12;
inline constexpr std::size_t kReplyHeaderBytes = 8;
// Longer texts are refused by both sides; a console's whole output stays far below.
inline constexpr std::uint32_t kMaxPayloadBytes = 64U * 1024U * 1024U;

void AppendWord(std::string& out, std::uint32_t value);
// The little-endian word at offset; the caller makes sure four bytes are there.
std::uint32_t ReadWord(std::string_view bytes, std::size_t offset);

std::string EncodeRequest(WindowOp op, WindowHandle handle, std::string_view payload);
std::string EncodeReply(WindowReply status, std::string_view payload);

}  // namespace zembrock
