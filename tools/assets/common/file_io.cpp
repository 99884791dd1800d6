#include "common/file_io.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path) {
    // A folder opens as a stream here, and reading it throws.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::optional<std::string> readFileText(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string& error, bool* written) {
    namespace fs = std::filesystem;
    if (written) *written = false;
    if (auto existing = readFileBytes(path); existing && *existing == bytes) return true;

    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    if (ec) {
        error = "cannot create folder " + target.parent_path().string() + ": " + ec.message();
        return false;
    }
    // Write beside the target and rename, so a failed write never leaves half a file.
    const fs::path temporary = target.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        // A small file sits in the stream's buffer until it closes: only the
        // close tells whether the disk took it.
        out.close();
        if (!out) {
            error = "cannot write " + temporary.string();
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    if (written) *written = true;
    return true;
}
