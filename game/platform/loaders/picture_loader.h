// Reads a BMP picture of any bit depth into 0xRRGGBB pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // row-major, 0xRRGGBB
};

// False when the file is missing, is not a picture SDL's BMP reader accepts,
// or promises more than it holds or more than any sheet of the game is
// (bmp_check.h).
bool loadRgbPicture(const std::string& fileName, RgbPicture& picture);
