// 8-bit indexed BMP files with a full 256-entry colour table right behind the
// 40-byte information header (the game reads pal.bmp's table raw at offset 54).
#pragma once

#include "common/indexed_image.h"

#include <cstdint>
#include <string>
#include <vector>

// Bottom-up rows padded to four bytes; colour table entries are B, G, R, 0.
std::vector<uint8_t> encodeIndexedBmp(const IndexedImage& image, const Palette& palette);

// Reads an uncompressed 8-bit BMP (bottom-up or top-down). A short colour table
// leaves the remaining entries black. Returns false with a message on anything else.
bool decodeIndexedBmp(const std::vector<uint8_t>& bytes, IndexedImage& image, Palette& palette,
                      std::string& error);
