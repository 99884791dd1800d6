// Reading a data file that may be anything the player put in its place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The whole file at path when it is a regular file of at most maxBytes;
// nothing for a folder, a device or a FIFO, whose reading could wait for
// ever, nor for a larger file.
std::optional<std::string> readRegularFile(const std::string& path, size_t maxBytes);
