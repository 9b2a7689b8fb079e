#pragma once

#include <string>

namespace zembrock {

// The local host's primary IPv4 address as dotted text ("127.0.0.1" when it has none).
std::string LocalIPv4Address();

}  // namespace zembrock
