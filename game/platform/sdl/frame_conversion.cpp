#include "platform/sdl/frame_conversion.h"

#include <cstddef>

void convertToArgb(const uint8_t* pixels, int pitch, const platform::DisplayRect& rect,
                   const PaletteEntry* palette, uint32_t* out) {
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = 0xFF000000u | uint32_t(palette[i].red) << 16 |
                     uint32_t(palette[i].green) << 8 | palette[i].blue;
    for (int y = 0; y < rect.height; ++y) {
        const uint8_t* in = pixels + size_t(rect.y + y) * size_t(pitch) + size_t(rect.x);
        for (int x = 0; x < rect.width; ++x)
            *out++ = colours[in[x]];
    }
}
