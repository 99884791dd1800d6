// Properties of effect.bmp and mapobj.bmp that the drawing code relies on
// beyond "the cell holds pixels": the fade tiles' exact make-up, a font whose
// characters can be told apart, and object states that look different.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kGameDir = VELTA_DIST_DIR;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// An 8-bit BMP as the builder writes it: pixels top-down after loading.
struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<Rgb> palette;

    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

uint32_t readLe(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + i];
    return v;
}

Sheet loadSheet(const std::string& name) {
    std::ifstream in(kGameDir / name, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Sheet s;
    if (b.size() < 54 + 1024 || readLe(b, 28, 2) != 8) return s;
    const uint32_t offset = readLe(b, 10, 4);
    const int width = static_cast<int>(readLe(b, 18, 4));
    const int32_t rawHeight = static_cast<int32_t>(readLe(b, 22, 4));
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    if (offset + stride * height > b.size()) return s;
    s.width = width;
    s.height = height;
    for (int i = 0; i < 256; ++i)
        s.palette.push_back({b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]});
    s.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int row = rawHeight < 0 ? y : height - 1 - y;
        for (int x = 0; x < width; ++x)
            s.pixels[static_cast<size_t>(y) * width + x] = b[offset + row * stride + x];
    }
    return s;
}

struct Rect {
    int x, y, w, h;
};

std::vector<uint8_t> cellPixels(const Sheet& s, Rect r) {
    std::vector<uint8_t> out;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            out.push_back(s.at(x, y));
    return out;
}

int opaqueCount(const Sheet& s, Rect r) {
    int n = 0;
    for (uint8_t v : cellPixels(s, r))
        n += v != 0;
    return n;
}

bool isNearBlack(Rgb c) {
    return c.r < 24 && c.g < 24 && c.b < 24;
}
bool isLight(Rgb c) {
    return c.r + c.g + c.b >= 3 * 170;
}

Rect fadeTile(int level) {
    return {32 * level, 96, 32, 32};
}
Rect glyphCell(int g) {
    return {8 * (g % 32), 240 + 8 * (g / 32), 8, 8};
}
Rect mapCell(int kind) {
    return {16 * (kind % 16), 16 * (kind / 16), 16, 16};
}

class EffectSheet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { sheet = loadSheet("effect.bmp"); }
    static Sheet sheet;
};
Sheet EffectSheet::sheet;

TEST_F(EffectSheet, FadeTilesDarkenStepByStepWithAnEvenOpaqueBlack) {
    ASSERT_EQ(sheet.width, 256);
    ASSERT_EQ(sheet.height, 256);
    EXPECT_EQ(opaqueCount(sheet, fadeTile(0)), 0) << "level 0 must leave the screen untouched";

    const uint8_t dark = sheet.at(fadeTile(7).x, fadeTile(7).y);
    ASSERT_NE(dark, 0) << "level 7 must be the opaque black, not the transparent key";
    EXPECT_TRUE(isNearBlack(sheet.palette[dark]));
    EXPECT_EQ(opaqueCount(sheet, fadeTile(7)), 32 * 32);

    int previous = 0;
    for (int level = 1; level <= 7; ++level) {
        const Rect tile = fadeTile(level);
        for (uint8_t v : cellPixels(sheet, tile))
            ASSERT_TRUE(v == 0 || v == dark) << "level " << level;
        const int count = opaqueCount(sheet, tile);
        EXPECT_GT(count, previous) << "level " << level << " is not darker than the one before";
        previous = count;
        // An ordered dither: every 8x8 quarter of the tile is equally dark, so the
        // 9x8 tiling over the screen shows no seams or blotches.
        const int perBlock = opaqueCount(sheet, {tile.x, tile.y, 8, 8});
        for (int by = 0; by < 32; by += 8)
            for (int bx = 0; bx < 32; bx += 8)
                EXPECT_EQ(opaqueCount(sheet, {tile.x + bx, tile.y + by, 8, 8}), perBlock)
                    << "level " << level;
    }
}

TEST_F(EffectSheet, FontGlyphsAreDistinctAndReadOnAnyBackground) {
    ASSERT_EQ(sheet.width, 256);
    EXPECT_EQ(opaqueCount(sheet, glyphCell(0)), 0) << "the space must draw nothing";
    const std::string glyphs = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-sxclh!._qe():a?";
    for (int g = 1; g <= 53; ++g) {
        const auto cell = cellPixels(sheet, glyphCell(g));
        const char shown = g < static_cast<int>(glyphs.size()) ? glyphs[g] : '#';
        EXPECT_GT(opaqueCount(sheet, glyphCell(g)), 0)
            << "glyph " << g << " '" << shown << "' is empty";
        for (int other = 1; other < g; ++other)
            EXPECT_NE(cell, cellPixels(sheet, glyphCell(other)))
                << "glyphs " << other << " and " << g << " look the same";
        // Letters, digits and punctuation: a light body that shows on black and
        // a dark edge that shows on the sky.
        if (std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!._():?").find(shown) !=
            std::string::npos) {
            bool light = false, dark = false;
            for (uint8_t v : cell) {
                if (v == 0) continue;
                light = light || isLight(sheet.palette[v]);
                dark = dark || isNearBlack(sheet.palette[v]);
            }
            EXPECT_TRUE(light && dark)
                << "glyph '" << shown << "' lacks a light body or a dark edge";
        }
    }
}

TEST_F(EffectSheet, PopUpDigitsAreDistinctAndStayInsideTheirCells) {
    for (int d = 0; d < 10; ++d) {
        const Rect cell{4 * d, 232, 4, 8};
        EXPECT_GT(opaqueCount(sheet, cell), 0) << "digit " << d;
        for (int other = 0; other < d; ++other)
            EXPECT_NE(cellPixels(sheet, cell), cellPixels(sheet, {4 * other, 232, 4, 8}))
                << "digits " << other << " and " << d << " look the same";
    }
    EXPECT_EQ(opaqueCount(sheet, {40, 232, 8, 8}), 0) << "nothing may spill right of digit 9";
    EXPECT_GT(opaqueCount(sheet, {0, 224, 24, 8}), 0) << "extra-life pop-up";
}

TEST(MapObjectSheet, StatesThePlayerMustTellApartLookDifferent) {
    const Sheet sheet = loadSheet("mapobj.bmp");
    ASSERT_EQ(sheet.width, 256);
    ASSERT_EQ(sheet.height, 256);
    // clang-format off
    const struct {
        int a, b;
        const char* what;
    } pairs[] = {
        {24, 25, "goal blink frames"},
        {17, 18, "toggle block solid and open"},
        {19, 20, "switch wall closed and open"},
        {10, 11, "spikes up and down"},
        {12, 13, "spikes left and right"},
        {10, 12, "spikes up and left"},
        {61, 62, "cannons left and right"},
        {33, 34, "item block and used block"},
        {35, 36, "brick and fragile block"},
        {3, 63, "coin and four coins"},
        {7, 8, "four and two spanners"},
        {15, 47, "small and large heal"},
    };
    // clang-format on
    for (const auto& p : pairs) {
        EXPECT_GT(opaqueCount(sheet, mapCell(p.a)), 0) << p.what;
        EXPECT_GT(opaqueCount(sheet, mapCell(p.b)), 0) << p.what;
        EXPECT_NE(cellPixels(sheet, mapCell(p.a)), cellPixels(sheet, mapCell(p.b))) << p.what;
    }
    // The open toggle block and the open switch wall must look passable: far
    // fewer drawn pixels than their solid states.
    EXPECT_LT(opaqueCount(sheet, mapCell(18)) * 3, opaqueCount(sheet, mapCell(17)));
    EXPECT_LT(opaqueCount(sheet, mapCell(20)) * 3, opaqueCount(sheet, mapCell(19)));
    // The one-way floor is a thin plank: its top row is the walking surface and
    // the lower half of the cell stays open.
    EXPECT_EQ(opaqueCount(sheet, {mapCell(43).x, mapCell(43).y, 16, 1}), 16);
    EXPECT_EQ(opaqueCount(sheet, {mapCell(43).x, mapCell(43).y + 8, 16, 8}), 0);
    EXPECT_EQ(opaqueCount(sheet, mapCell(0)), 0) << "kind 0 is a removed object";
}

} // namespace
