#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <array>

#include "platform/network.h"

namespace zembrock {

std::string LocalIPv4Address() {
    std::string address = "127.0.0.1";
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return address;
    }
    // The first interface that is up, not the loopback, and has an IPv4 address.
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0U || (entry->ifa_flags & IFF_LOOPBACK) != 0U) {
            continue;
        }
        std::array<char, INET_ADDRSTRLEN> text{};
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's address record
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, text.data(), text.size()) != nullptr) {
            address = text.data();
            break;
        }
    }
    freeifaddrs(interfaces);
    return address;
}

}  // namespace zembrock
