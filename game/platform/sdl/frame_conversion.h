// The conversion of the shown part of the display to 32-bit colour for the
// window's texture.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// Writes the rectangle's pixels of the display (pitch bytes a row) through
// the palette as 0xAARRGGBB, row after row, into out (width * height values).
void convertToArgb(const uint8_t* pixels, int pitch, const platform::DisplayRect& rect,
                   const PaletteEntry* palette, uint32_t* out);
