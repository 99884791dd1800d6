// Text: the 8x8 sprite font and 4x8 digits of sheet 7, and GDI-style text
// drawn with outline fonts into the drawing target. Game texts are Shift-JIS
// byte strings; they are converted for drawing.
#pragma once

#include <cstdint>

// printf-style formatting into one shared 1024-byte buffer; each call
// overwrites the previous result.
const char* formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The glyph number of a character in the sprite font (53 for unknown ones).
int glyphNumber(char c);
void spriteText(int x, int y, const char* text);
void digitText(int x, int y, int value);

// The 60-byte font description block of start-up and shutdown, laid out as
// the LOGFONTA that the game fills for every font it creates.
struct FontDescription {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charSet;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char faceName[32]; // Shift-JIS, NUL-terminated
};
static_assert(sizeof(FontDescription) == 60);

void allocateFontDescription();
// Also closes the outline fonts opened for GDI text.
void freeFontDescription();
// The block, nullptr while it is not allocated.
const FontDescription* fontDescription();

// GDI text, drawn into the drawing target as the palette index nearest to the
// text colour. face (Shift-JIS) nullptr selects the Mincho face used by every
// scene; the start-up log passes "Times". The height is the cell height, which
// is also the line height of text in a box.
void beginGdiText(int height, const char* face = nullptr);
void setTextColours(uint32_t textColour, uint32_t backgroundColour, int transparent);
void textOut(int x, int y, const char* text);
enum TextAlignment { ALIGN_RIGHT = 20, ALIGN_LEFT = 21, ALIGN_CENTRE = 0 };
// Lines break at line feeds and wrap between words (and between Japanese
// characters); a word wider than the box is broken between its characters.
// "&" is an ordinary character. Clipped to the box.
void textInBox(int left, int top, int right, int bottom, const char* text, int alignment);
void endGdiText();

// White on dark blue, height 12, at (x, y).
void debugText(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
