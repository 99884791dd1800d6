// Writing pictures: PNG through libpng, and the headers of uncompressed BMP
// files, for the game's frame pictures, the asset builder and the tests.
#pragma once

#include <cstdint>
#include <vector>

// pixels holds width * height * channels bytes, top row first: 3 channels
// (red, green, blue) or 4 (and alpha). Empty when the picture cannot be encoded.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               int channels);

// The 14-byte file header and the 40-byte information header of a bottom-up,
// uncompressed BMP whose colour table of coloursUsed entries (4 bytes each)
// follows them and whose rows of bitsPerPixel pixels are padded to four bytes.
void putBmpHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel,
                   uint32_t coloursUsed);

// A 24-bit BMP of rgb (width * height * 3 bytes, top row first).
std::vector<uint8_t> encodeRgbBmp(int width, int height, const std::vector<uint8_t>& rgb);

// Bytes in one row of a BMP: the pixels' bits rounded up to four bytes.
uint32_t bmpRowBytes(int width, int bitsPerPixel);
