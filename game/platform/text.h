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

// The 60-byte font description block of start-up and shutdown.
void allocateFontDescription();
void freeFontDescription();

// GDI text. face nullptr selects the Mincho face used by every scene; the
// start-up log passes "Times".
void beginGdiText(int height, const char* face = nullptr);
void setTextColours(uint32_t textColour, uint32_t backgroundColour, int transparent);
void textOut(int x, int y, const char* text);
enum TextAlignment { ALIGN_RIGHT = 20, ALIGN_LEFT = 21, ALIGN_CENTRE = 0 };
void textInBox(int left, int top, int right, int bottom, const char* text, int alignment);
void endGdiText();

// White on dark blue, height 12, at (x, y).
void debugText(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
