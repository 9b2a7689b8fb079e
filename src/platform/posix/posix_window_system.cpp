#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "platform/posix/window_directory.h"
#include "platform/posix/window_protocol.h"
#include "platform/window_system.h"

namespace zembrock {
namespace fs = std::filesystem;
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kMaxTitleCharacters = 127;
// How often a connection is tried again while the host's queue of connections is full.
constexpr int kConnectRetryMs = 5;

struct Reply {
    WindowReply status = WindowReply::BadRequest;
    std::string payload;
};

// A socket that closes itself.
class SocketFd {
public:
    explicit SocketFd(int fd) : m_fd(fd) {}
    ~SocketFd() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    SocketFd(const SocketFd&) = delete;
    SocketFd& operator=(const SocketFd&) = delete;
    SocketFd(SocketFd&&) = delete;
    SocketFd& operator=(SocketFd&&) = delete;

    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Milliseconds left until the deadline, 0 when it has passed.
int RemainingMs(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, kWindowMessageTimeoutMs * 10LL));
}

// Waits until the socket is ready for events or the deadline passes. False at the deadline.
bool WaitFor(int fd, short events, SteadyClock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, RemainingMs(deadline));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

// Connects without ever blocking: a host whose queue of connections is full is tried again
// until the deadline, as a message to a busy window waits; a missing socket or a refused
// connection means the host is gone, which fails at once.
bool Connect(int fd, const fs::path& socketFile, SteadyClock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketFile.string();
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(static_cast<char*>(address.sun_path), path.c_str(), path.size() + 1);
    for (;;) {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API takes sockaddr*
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
            return true;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EINPROGRESS) {
            return WaitFor(fd, POLLOUT, deadline);
        }
        if (errno != EAGAIN || RemainingMs(deadline) == 0) {
            return false;
        }
        poll(nullptr, 0, std::min(kConnectRetryMs, RemainingMs(deadline)));
    }
}

bool SendAll(int fd, std::string_view bytes, SteadyClock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, deadline)) {
            continue;
        }
        return false;
    }
    return true;
}

bool ReceiveExactly(int fd, std::string& out, std::size_t count, SteadyClock::time_point deadline) {
    std::size_t have = out.size();
    out.resize(have + count);
    while (count > 0) {
        const ssize_t got = recv(fd, out.data() + have, count, 0);
        if (got > 0) {
            have += static_cast<std::size_t>(got);
            count -= static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLIN, deadline)) {
            continue;
        }
        return false;  // the host closed the connection, failed, or did not answer in time
    }
    return true;
}

// The window system of hosts that publish their windows in one folder (see window_protocol.h).
// Finding and reading read the hosts' files only; messages go over the host's socket, each
// exchange bounded by its time-out from the first step to the last.
class PosixWindowSystem final : public WindowSystem {
public:
    explicit PosixWindowSystem(fs::path folder) : m_folder(std::move(folder)) {}

    WindowHandle FindWindow(const std::string& className, const std::string& title) override {
        for (const PublishedHost& host : ReadLiveHosts(m_folder)) {
            for (const WindowRecord& window : host.windows) {
                if (window.parent == 0 && window.className == className && window.name == title) {
                    return window.handle;
                }
            }
        }
        return 0;
    }

    WindowHandle FindChild(WindowHandle parent, const std::string& className,
                           const std::string& name) override {
        const auto host = ReadLiveHost(m_folder, HandleProcessId(parent));
        if (!host || parent == 0 || host->Find(parent) == nullptr) {
            return 0;
        }
        for (const WindowRecord& window : host->windows) {
            if (window.parent == parent && window.className == className && window.name == name) {
                return window.handle;
            }
        }
        return 0;
    }

    WindowHandle NextSibling(WindowHandle window) override {
        const auto host = ReadLiveHost(m_folder, HandleProcessId(window));
        const WindowRecord* record = host ? host->Find(window) : nullptr;
        if (record == nullptr) {
            return 0;
        }
        if (record->parent == 0) {
            // The top-level windows are siblings of one another, in the order they are listed.
            const std::vector<WindowHandle> all = TopLevelWindows();
            const auto found = std::find(all.begin(), all.end(), window);
            return found == all.end() || found + 1 == all.end() ? 0 : *(found + 1);
        }
        const auto self =
            std::find_if(host->windows.begin(), host->windows.end(),
                         [window](const WindowRecord& other) { return other.handle == window; });
        const auto next = std::find_if(self + 1, host->windows.end(), [record](const WindowRecord& other) {
            return other.parent == record->parent;
        });
        return next == host->windows.end() ? 0 : next->handle;
    }

    std::uint32_t OwnerProcessId(WindowHandle window) override {
        const auto host = ReadLiveHost(m_folder, HandleProcessId(window));
        return host && host->Find(window) != nullptr ? host->stem.processId : 0;
    }

    std::vector<WindowHandle> TopLevelWindows() override {
        std::vector<WindowHandle> handles;
        for (const PublishedHost& host : ReadLiveHosts(m_folder)) {
            for (const WindowRecord& window : host.windows) {
                if (window.parent == 0) {
                    handles.push_back(window.handle);
                }
            }
        }
        std::sort(handles.begin(), handles.end());
        return handles;
    }

    std::string WindowTitle(WindowHandle window) override {
        const auto host = ReadLiveHost(m_folder, HandleProcessId(window));
        const WindowRecord* record = host ? host->Find(window) : nullptr;
        return record == nullptr ? std::string() : record->name.substr(0, kMaxTitleCharacters);
    }

    bool SetText(WindowHandle window, const std::string& text) override {
        return Done(Exchange(window, WindowOp::SetText, text, kWindowMessageTimeoutMs));
    }

    bool PressEnter(WindowHandle control) override {
        return Done(Exchange(control, WindowOp::PressEnter, {}, kWindowMessageTimeoutMs));
    }

    std::optional<std::string> ReadText(WindowHandle control) override {
        auto reply = Exchange(control, WindowOp::ReadText, {}, kWindowMessageTimeoutMs);
        if (!Done(reply)) {
            return std::nullopt;
        }
        return std::move(reply->payload);
    }

    bool Probe(WindowHandle window, std::uint32_t timeoutMs) override {
        return Done(Exchange(window, WindowOp::Probe, {}, timeoutMs));
    }

    bool Show(WindowHandle window, bool visible) override {
        return Done(
            Exchange(window, WindowOp::Show, std::string(1, visible ? '\1' : '\0'), kWindowMessageTimeoutMs));
    }

private:
    static bool Done(const std::optional<Reply>& reply) {
        return reply && reply->status == WindowReply::Done;
    }

    // One request and its reply, or nullopt when the window does not exist, its host is gone,
    // or the reply has not fully arrived by the deadline.
    std::optional<Reply> Exchange(WindowHandle window, WindowOp op, std::string_view payload,
                                  std::uint32_t timeoutMs) {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
        const auto host = ReadLiveHost(m_folder, HandleProcessId(window));
        if (!host || host->Find(window) == nullptr || payload.size() > kMaxPayloadBytes) {
            return std::nullopt;
        }
        const SocketFd socketFd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const int fd = socketFd.Get();
        if (fd < 0 || !Connect(fd, m_folder / (host->stem.Text() + std::string(kSocketSuffix)), deadline) ||
            !SendAll(fd, EncodeRequest(op, window, payload), deadline)) {
            return std::nullopt;
        }
        std::string header;
        if (!ReceiveExactly(fd, header, kReplyHeaderBytes, deadline)) {
            return std::nullopt;
        }
        const std::uint32_t length = ReadWord(header, 4);
        if (length > kMaxPayloadBytes) {
            return std::nullopt;
        }
        Reply reply;
        reply.status = static_cast<WindowReply>(ReadWord(header, 0));
        if (!ReceiveExactly(fd, reply.payload, length, deadline)) {
            return std::nullopt;
        }
        return reply;
    }

    fs::path m_folder;
};

}  // namespace

std::unique_ptr<WindowSystem> SystemWindowSystem() {
    return std::make_unique<PosixWindowSystem>(WindowsFolder());
}

}  // namespace zembrock
