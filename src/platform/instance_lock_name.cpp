#include <cstdint>
#include <string>

#include "platform/instance_lock.h"

namespace zembrock {
namespace {

// FNV-1a: stable from one build of the program to the next.
std::uint64_t StableHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

}  // namespace

std::string InstanceLockName(const std::string& programFolder) {
    return "zembrock-launcher-" + std::to_string(StableHash(programFolder));
}

}  // namespace zembrock
