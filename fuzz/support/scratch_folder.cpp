#include "support/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace fuzz {

namespace {

std::filesystem::path made;

void removeScratchFolder() {
    std::error_code ignored;
    if (!made.empty()) std::filesystem::remove_all(made, ignored);
}

} // namespace

std::filesystem::path builtGameFolder() {
    if (const char* given = std::getenv("VELTA_FUZZ_GAME_DATA")) return given;
    return VELTA_FUZZ_GAME_DATA;
}

const std::filesystem::path& scratchFolder() {
    if (made.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velta-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("velta fuzz: cannot make a scratch folder");
            std::abort();
        }
        made = pattern;
        std::atexit(removeScratchFolder);
    }
    return made;
}

std::filesystem::path freshSubfolder(const std::string& name) {
    const std::filesystem::path folder = scratchFolder() / name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

void writeBytes(const std::filesystem::path& file, const uint8_t* data, size_t size) {
    writeBytes(file, asText(data, size));
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "velta fuzz: cannot write %s\n", file.c_str());
        std::abort();
    }
}

} // namespace fuzz
