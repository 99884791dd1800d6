// BMP headers checked against their file before any decoder sees them: a
// header is only a promise, and a decoder allocates what it promises.
#pragma once

#include <cstddef>
#include <string_view>

// No sheet of the game is larger than this on either side.
constexpr int MAX_PICTURE_SIDE = 4096;
// The largest file such a picture can take: every header, a full colour
// table and 32-bit pixels.
constexpr size_t MAX_PICTURE_FILE_BYTES =
    14 + 124 + 256 * 4 + size_t(MAX_PICTURE_SIDE) * MAX_PICTURE_SIDE * 4;

// True for a BMP file of a known header kind whose width and height are
// 1..maxSide, whose bit depth, compression and colour count go together, and
// whose colour table and pixel data lie within the file.
bool bmpFitsFile(std::string_view bytes, int maxSide = MAX_PICTURE_SIDE);

// True for a palette picture: an 8-bit BMP with a 40-byte information header
// and a full 256-entry colour table right behind it, all within the file.
bool bmpHasFullColourTable(std::string_view bytes);
