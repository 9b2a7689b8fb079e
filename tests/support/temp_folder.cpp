#include "support/temp_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace zembrock::test {

TempFolder::TempFolder() {
    // A random stem per test process keeps test processes that run at once apart.
    static const unsigned stem = std::random_device{}();
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("zembrock-test-" + std::to_string(stem) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files left by a test must not keep their folder alive.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace zembrock::test
