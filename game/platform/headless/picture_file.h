// RGB pictures as files: PNG (through libpng) or 24-bit BMP, chosen by the
// file name's extension (".bmp" for BMP, anything else PNG).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool writePicture(const std::string& fileName, int width, int height,
                  const std::vector<uint8_t>& rgb);

// Reads a PNG file as 8-bit RGB, whatever its colour type and depth; false
// when it cannot be read.
bool readPngPicture(const std::string& fileName, int& width, int& height,
                    std::vector<uint8_t>& rgb);
