#include "platform/posix/console_window_host.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/posix/window_protocol.h"

namespace zembrock {
namespace fs = std::filesystem;
namespace {

// Connections served at the same time; more wait in the listening queue.
constexpr std::size_t kMaxConnections = 32;
constexpr std::size_t kReadChunkBytes = std::size_t{64} * 1024;

// The folder exists, is a real folder of this user and nobody else may enter it.
bool PrepareFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return false;
    }
    return (info.st_mode & 077U) == 0 || chmod(folder.c_str(), 0700) == 0;
}

// 16 lower-case hex digits, fresh for every host.
std::string RandomToken() {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::random_device device;
    std::uint64_t value = (std::uint64_t{device()} << 32U) | device();
    std::string token(16, '0');
    for (auto digit = token.rbegin(); digit != token.rend(); ++digit, value >>= 4U) {
        *digit = kDigits[value & 0xFU];
    }
    return token;
}

// Creates the lock file under a temporary name, locks it, and only then gives it its real
// name, so that no reader ever sees the lock file unlocked while this host lives.
int CreateLockFile(const fs::path& folder, const std::string& stem) {
    const fs::path temporary = folder / (stem + ".lock.tmp");
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open() is the POSIX call
    const int fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        std::rename(temporary.c_str(), (folder / (stem + std::string(kLockSuffix))).c_str()) != 0) {
        close(fd);
        unlink(temporary.c_str());
        return -1;
    }
    return fd;
}

int CreateListeningSocket(const fs::path& file) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = file.string();
    if (path.size() >= sizeof(address.sun_path)) {
        return -1;
    }
    std::memcpy(static_cast<char*>(address.sun_path), path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API takes sockaddr*
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(fd, SOMAXCONN) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<ConsoleWindowHost> ConsoleWindowHost::Create() {
    return Create(WindowsFolder());
}

std::unique_ptr<ConsoleWindowHost> ConsoleWindowHost::Create(const fs::path& folder) {
    if (!PrepareFolder(folder)) {
        return nullptr;
    }
    const std::string stem = HostStem{static_cast<std::uint32_t>(getpid()), RandomToken()}.Text();
    const int lockFd = CreateLockFile(folder, stem);
    if (lockFd < 0) {
        return nullptr;
    }
    const int listenFd = CreateListeningSocket(folder / (stem + std::string(kSocketSuffix)));
    if (listenFd < 0) {
        unlink((folder / (stem + std::string(kLockSuffix))).c_str());
        close(lockFd);
        return nullptr;
    }
    std::unique_ptr<ConsoleWindowHost> host(new ConsoleWindowHost(folder, stem, lockFd, listenFd));
    host->Publish();
    return host;
}

ConsoleWindowHost::ConsoleWindowHost(fs::path folder, std::string stem, int lockFd, int listenFd)
    : m_folder(std::move(folder)),
      m_stem(std::move(stem)),
      m_processId(static_cast<std::uint32_t>(getpid())),
      m_lockFd(lockFd),
      m_listenFd(listenFd) {}

ConsoleWindowHost::~ConsoleWindowHost() {
    for (const Connection& connection : m_connections) {
        close(connection.fd);
    }
    close(m_listenFd);
    // The lock file goes last, while still locked: readers never see the others without it
    // being stale.
    unlink((m_folder / (m_stem + std::string(kWindowsSuffix))).c_str());
    unlink((m_folder / (m_stem + std::string(kSocketSuffix))).c_str());
    unlink((m_folder / (m_stem + std::string(kLockSuffix))).c_str());
    close(m_lockFd);
}

WindowHandle ConsoleWindowHost::CreateWindow(const std::string& className, const std::string& title) {
    return Add(Window{0, 0, true, className, title, {}});
}

WindowHandle ConsoleWindowHost::CreateControl(WindowHandle parent, const std::string& className,
                                              const std::string& name) {
    if (Find(parent) == nullptr) {
        return 0;
    }
    return Add(Window{0, parent, true, className, name, {}});
}

WindowHandle ConsoleWindowHost::Add(Window window) {
    if (m_nextIndex > kMaxWindowsPerHost) {
        return 0;
    }
    window.handle = MakeWindowHandle(m_processId, m_nextIndex++);
    m_windows.push_back(std::move(window));
    m_unpublished = true;
    return m_windows.back().handle;
}

ConsoleWindowHost::Window* ConsoleWindowHost::Find(WindowHandle handle) {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [handle](const Window& window) { return window.handle == handle; });
    return found == m_windows.end() ? nullptr : &*found;
}

const ConsoleWindowHost::Window* ConsoleWindowHost::Find(WindowHandle handle) const {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [handle](const Window& window) { return window.handle == handle; });
    return found == m_windows.end() ? nullptr : &*found;
}

void ConsoleWindowHost::SetTitle(WindowHandle window, const std::string& title) {
    Window* found = Find(window);
    if (found != nullptr && found->parent == 0) {
        found->name = title;
        Publish();
    }
}

std::string ConsoleWindowHost::Title(WindowHandle window) const {
    const Window* found = Find(window);
    return found != nullptr && found->parent == 0 ? found->name : std::string();
}

void ConsoleWindowHost::SetControlText(WindowHandle control, std::string text) {
    if (Window* found = Find(control); found != nullptr && found->parent != 0) {
        found->text = std::move(text);
    }
}

void ConsoleWindowHost::AppendControlText(WindowHandle control, std::string_view text) {
    if (Window* found = Find(control); found != nullptr && found->parent != 0) {
        found->text += text;
    }
}

std::string ConsoleWindowHost::ControlText(WindowHandle control) const {
    const Window* found = Find(control);
    return found != nullptr && found->parent != 0 ? found->text : std::string();
}

void ConsoleWindowHost::SetVisible(WindowHandle window, bool visible) {
    if (Window* found = Find(window); found != nullptr && found->visible != visible) {
        found->visible = visible;
        Publish();
    }
}

bool ConsoleWindowHost::Visible(WindowHandle window) const {
    const Window* found = Find(window);
    return found != nullptr && found->visible;
}

void ConsoleWindowHost::Publish() {
    m_unpublished = false;
    std::vector<WindowRecord> records;
    records.reserve(m_windows.size());
    for (const Window& window : m_windows) {
        records.push_back(
            WindowRecord{window.handle, window.parent, window.visible, window.className, window.name});
    }
    const std::string bytes = EncodeWindowRecords(records);
    const fs::path temporary = m_folder / (m_stem + std::string(kWindowsTempSuffix));
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open() is the POSIX call
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        written += static_cast<std::size_t>(count);
    }
    close(fd);
    // A failed write leaves the last complete file in place: readers see the old state.
    if (written != bytes.size() ||
        std::rename(temporary.c_str(), (m_folder / (m_stem + std::string(kWindowsSuffix))).c_str()) != 0) {
        unlink(temporary.c_str());
    }
}

void ConsoleWindowHost::ServeOnce(int timeoutMs) {
    if (m_frozen) {
        return;
    }
    if (m_unpublished) {
        Publish();
    }
    std::vector<pollfd> entries;
    entries.push_back(pollfd{m_listenFd, POLLIN, 0});
    for (const Connection& connection : m_connections) {
        const short events = connection.out.empty() ? POLLIN : static_cast<short>(POLLIN | POLLOUT);
        entries.push_back(pollfd{connection.fd, events, 0});
    }
    if (poll(entries.data(), entries.size(), std::max(timeoutMs, 0)) <= 0) {
        return;  // nothing arrived in time, or a signal: the caller's loop comes back
    }
    // Only the connections polled above: the index of entries follows m_connections.
    const std::size_t polled = m_connections.size();
    for (std::size_t k = 0; k < polled && !m_frozen; ++k) {
        if (entries[k + 1].revents != 0) {
            Read(m_connections[k]);
            Flush(m_connections[k]);
        }
    }
    if ((entries[0].revents & POLLIN) != 0 && !m_frozen) {
        AcceptAll();
    }
    for (Connection& connection : m_connections) {
        if (!connection.open) {
            close(connection.fd);
        }
    }
    std::erase_if(m_connections, [](const Connection& connection) { return !connection.open; });
}

void ConsoleWindowHost::AcceptAll() {
    while (m_connections.size() < kMaxConnections && !m_frozen) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        m_connections.push_back(Connection{fd, {}, {}, true});
        // The request has usually arrived with the connection: answer it in this pass.
        Read(m_connections.back());
        Flush(m_connections.back());
    }
}

void ConsoleWindowHost::Read(Connection& connection) {
    std::array<char, kReadChunkBytes> chunk{};
    bool peerClosed = false;
    for (;;) {
        const ssize_t got = recv(connection.fd, chunk.data(), chunk.size(), 0);
        if (got > 0) {
            connection.in.append(chunk.data(), static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        peerClosed = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    while (connection.in.size() >= kRequestHeaderBytes && !m_frozen) {
        const std::uint32_t length = ReadWord(connection.in, 8);
        if (length > kMaxPayloadBytes) {
            connection.open = false;
            return;
        }
        if (connection.in.size() < kRequestHeaderBytes + length) {
            break;
        }
        const std::string request = connection.in.substr(0, kRequestHeaderBytes + length);
        connection.in.erase(0, kRequestHeaderBytes + length);
        connection.out += Answer(ReadWord(request, 0), ReadWord(request, 4),
                                 std::string_view(request).substr(kRequestHeaderBytes));
    }
    if (peerClosed) {
        // Whatever is still owed goes out now if it can; nobody waits for more.
        Flush(connection);
        connection.open = false;
    }
}

void ConsoleWindowHost::Flush(Connection& connection) {
    while (connection.open && !connection.out.empty()) {
        const ssize_t sent = send(connection.fd, connection.out.data(), connection.out.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            connection.out.erase(0, static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;  // the rest goes when the socket has room (POLLOUT)
        }
        connection.open = false;
    }
}

std::string ConsoleWindowHost::Answer(std::uint32_t op, WindowHandle handle, std::string_view payload) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return EncodeReply(WindowReply::NoWindow, {});
    }
    const bool control = window->parent != 0;
    switch (static_cast<WindowOp>(op)) {
        case WindowOp::SetText:
            if (control) {
                window->text = payload;
            } else {
                SetTitle(handle, std::string(payload));
                if (onTitle) {
                    onTitle(handle, std::string(payload));
                }
            }
            return EncodeReply(WindowReply::Done, {});
        case WindowOp::PressEnter:
            // The callback may change the windows: nothing found before it is used after it.
            if (control && onEnter) {
                onEnter(handle);
            }
            return EncodeReply(WindowReply::Done, {});
        case WindowOp::ReadText:
            return EncodeReply(WindowReply::Done, control ? window->text : window->name);
        case WindowOp::Probe:
            return EncodeReply(WindowReply::Done, {});
        case WindowOp::Show:
            if (payload.size() != 1) {
                return EncodeReply(WindowReply::BadRequest, {});
            }
            SetVisible(handle, payload[0] != 0);
            if (onShow) {
                onShow(handle, payload[0] != 0);
            }
            return EncodeReply(WindowReply::Done, {});
    }
    return EncodeReply(WindowReply::BadRequest, {});
}

}  // namespace zembrock
