#include "platform/win32/windows_api.h"
// Sockets, which the lean Windows headers leave out,
#include <winsock2.h>
// and the IP helper's adapter list, which needs them.
#include <iphlpapi.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/network.h"

namespace zembrock {
namespace {

constexpr const char* kLoopback = "127.0.0.1";
// Room for the adapters of a usual machine; a larger list is asked for again at its own size.
constexpr ULONG kInitialListBytes = 16 * 1024;
constexpr int kListTries = 3;

// The IPv4 adapters of this machine, or an empty list when they cannot be read. The records
// point into the returned buffer; ULONGLONG elements keep it aligned for them.
std::vector<ULONGLONG> ReadAdapters() {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG bytes = kInitialListBytes;
    for (int attempt = 0; attempt < kListTries; ++attempt) {
        std::vector<ULONGLONG> buffer((bytes + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the call fills raw memory
        auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
        const ULONG result = GetAdaptersAddresses(AF_INET, flags, nullptr, first, &bytes);
        if (result == ERROR_SUCCESS) {
            return buffer;
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return {};
}

std::string DottedText(const sockaddr_in& address) {
    std::array<unsigned char, 4> octets{};
    std::memcpy(octets.data(), &address.sin_addr, octets.size());
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) +
           "." + std::to_string(octets[3]);
}

}  // namespace

std::string LocalIPv4Address() {
    std::vector<ULONGLONG> buffer = ReadAdapters();
    if (buffer.empty()) {
        return kLoopback;
    }
    // The first adapter that is up, not the loopback, and has an IPv4 address.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the list GetAdaptersAddresses wrote
    for (const auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
            continue;
        }
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (address != nullptr && address->sa_family == AF_INET) {
                // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): an IPv4 socket address
                return DottedText(*reinterpret_cast<const sockaddr_in*>(address));
            }
        }
    }
    return kLoopback;
}

}  // namespace zembrock
