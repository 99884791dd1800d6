// Files the fuzz targets hand to readers that only take a file name: one
// folder per process under the system's temporary folder, removed when the
// process ends normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// The built game folder the targets take their data from: the folder named
// by VELTA_FUZZ_GAME_DATA, or else the build's own.
std::filesystem::path builtGameFolder();

// This process's scratch folder, made on first use.
const std::filesystem::path& scratchFolder();

// A fresh empty subfolder of the scratch folder (emptied if it was there).
std::filesystem::path freshSubfolder(const std::string& name);

void writeBytes(const std::filesystem::path& file, const uint8_t* data, size_t size);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// The input as text, for readers that take a string.
inline std::string_view asText(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

} // namespace fuzz
