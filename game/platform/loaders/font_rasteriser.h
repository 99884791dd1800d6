// Outline fonts for the GDI-style text: a face found by name through
// fontconfig, opened with SDL_ttf so that its cell (ascent + descent) is a
// given number of pixels tall, and text rendered without anti-aliasing into a
// coverage mask that the caller writes into an 8-bit picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RasterFont; // owned by the font cache

struct CoverageMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> ink; // width * height, 1 where a glyph pixel is set

    bool inked(int x, int y) const { return ink[size_t(y) * size_t(width) + size_t(x)] != 0; }
};

// The file (and face index within it) chosen for a face name given in UTF-8.
// Windows names are mapped to the faces installed here: the Mincho names to
// IPAMincho, the Gothic names to IPAGothic, "Times" to Liberation Serif; any
// other name goes to fontconfig with a preference for Japanese coverage, as
// the fonts are created with the Shift-JIS character set. Empty path when no
// face can be found at all.
struct FontFile {
    std::string path;
    int index = 0;
    std::string family; // the face's first family name, e.g. "IPAMincho"
};
FontFile findFontFile(const std::string& faceName);

// The font for a face name at a cell height in pixels, opened once and then
// served from a cache; nullptr when no face can be opened.
RasterFont* openRasterFont(const std::string& faceName, int cellHeight);

// The cell height the font was opened for: the line height of its text.
int rasterCellHeight(const RasterFont* font);

// Advance width of a single-line UTF-8 text in pixels (no kerning, as GDI).
int measureRasterText(RasterFont* font, const std::string& utf8);

// The text rendered as one line, its top-left at the cell's top-left; the
// mask is at most the cell height tall.
CoverageMask renderRasterText(RasterFont* font, const std::string& utf8);

// Closes every cached font (at shutdown); later calls open them again.
void closeRasterFonts();
