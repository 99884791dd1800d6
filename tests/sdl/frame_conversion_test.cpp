// The window's conversion of the shown part of the display to colour.
#include "platform/sdl/frame_conversion.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FrameConversion, ConvertsOnlyTheRectangleThroughThePalette) {
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    const int pitch = 8;
    std::vector<uint8_t> display(size_t(pitch) * 6, 200); // the part outside reads 200
    for (int y = 1; y < 4; ++y)
        for (int x = 2; x < 6; ++x)
            display[size_t(y * pitch + x)] = uint8_t(10 * y + x);
    std::vector<uint32_t> out(12, 0);
    convertToArgb(display.data(), pitch, {2, 1, 4, 3}, palette, out.data());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int index = 10 * (y + 1) + x + 2;
            const uint32_t expected = 0xFF000000u | uint32_t(index) << 16 |
                                      uint32_t(255 - index) << 8 | uint32_t(index / 2);
            EXPECT_EQ(out[size_t(y * 4 + x)], expected) << x << "," << y;
        }
    }
}
