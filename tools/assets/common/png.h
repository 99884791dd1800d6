// PNG pictures for review (contact sheets), encoded with libpng.
#pragma once

#include <cstdint>
#include <vector>

// rgb holds width * height * 3 bytes, top row first. Empty when the picture
// cannot be encoded.
std::vector<uint8_t> encodeRgbPng(int width, int height, const std::vector<uint8_t>& rgb);
// rgba holds width * height * 4 bytes (red, green, blue, alpha), top row first.
std::vector<uint8_t> encodeRgbaPng(int width, int height, const std::vector<uint8_t>& rgba);
