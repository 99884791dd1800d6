// Whole-file reads and writes for the asset builders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path);
std::optional<std::string> readFileText(const std::string& path);

// Writes only when the bytes differ from what is on disk, so unchanged outputs keep
// their timestamps and rebuilds stay cheap. Creates missing parent folders.
// Returns false (with a message in error) when the file cannot be written;
// written, when given, tells whether the file was written.
bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string& error, bool* written = nullptr);
