// Writes an RGB picture as PNG (stored, uncompressed deflate) or 24-bit BMP,
// chosen by the file name's extension (".bmp" for BMP, anything else PNG).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool writePicture(const std::string& fileName, int width, int height,
                  const std::vector<uint8_t>& rgb);
