#include "core/file_io.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zembrock {
namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // The stream buffer reports a failing read by throwing, whatever the stream's exception mask.
    try {
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            return std::nullopt;
        }
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

bool IsReadOnlyFile(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (error || !fs::exists(status)) {
        return false;
    }
    constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & kAnyWrite) == fs::perms::none;
}

bool ReplaceFileAtomically(const fs::path& file, std::string_view bytes) {
    if (IsReadOnlyFile(file)) {
        return false;
    }
    // A name of our own beside the target, unique within this process; a stale one left by a
    // crash is simply overwritten next time.
    static std::atomic<unsigned> counter{0};
    fs::path temporary = file;
    temporary += ".tmp~" + std::to_string(counter++);

    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }

    std::error_code error;
    if (fs::exists(file, error)) {
        fs::permissions(temporary, fs::status(file, error).permissions(), error);
    }
    fs::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool AppendToFile(const fs::path& file, std::string_view bytes) {
    if (IsReadOnlyFile(file)) {
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace zembrock
