// Sprite text, digit text and the shared format buffer.
#include "platform/text.h"

#include "platform/blit.h"
#include "platform/sheets.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr char SPRITE_GLYPHS[] = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-sxclh!._qe():a?";
constexpr int SPRITE_GLYPH_COUNT = sizeof SPRITE_GLYPHS - 1;
static_assert(SPRITE_GLYPH_COUNT == 53);
constexpr int UNKNOWN_GLYPH = 53;
constexpr int GLYPH_SIZE = 8;
constexpr int GLYPHS_PER_ROW = 32;
constexpr int GLYPH_TOP = 240;
constexpr int SPRITE_LINE_HEIGHT = 9;

constexpr int DIGIT_WIDTH = 4;
constexpr int DIGIT_TOP = 232;
constexpr int DIGIT_BOTTOM = 240;
constexpr int DIGIT_ADVANCE = 5;

constexpr size_t SHARED_TEXT_SIZE = 1024;

char sharedText[SHARED_TEXT_SIZE];

} // namespace

const char* formatText(const char* format, ...) {
    // Formatted through a local buffer so that an argument may be the shared
    // buffer itself; vsnprintf bounds the result and always terminates it.
    char formatted[SHARED_TEXT_SIZE];
    formatted[0] = '\0';
    if (format != nullptr) {
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(formatted, sizeof formatted, format, arguments);
        va_end(arguments);
    }
    std::memcpy(sharedText, formatted, sizeof sharedText);
    return sharedText;
}

int glyphNumber(char c) {
    const void* found = std::memchr(SPRITE_GLYPHS, c, SPRITE_GLYPH_COUNT);
    return found != nullptr ? int(static_cast<const char*>(found) - SPRITE_GLYPHS) : UNKNOWN_GLYPH;
}

void spriteText(int x, int y, const char* text) {
    if (text == nullptr) {
        return;
    }
    int lineStart = x;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            x = lineStart;
            y += SPRITE_LINE_HEIGHT;
            continue;
        }
        int glyph = glyphNumber(*c);
        int left = (glyph % GLYPHS_PER_ROW) * GLYPH_SIZE;
        int top = GLYPH_TOP + (glyph / GLYPHS_PER_ROW) * GLYPH_SIZE;
        keyedBlit(x, y, SHEET_EFFECT, left, top, left + GLYPH_SIZE, top + GLYPH_SIZE);
        x += GLYPH_SIZE;
    }
}

void digitText(int x, int y, int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    // Only digits have cells; a minus sign keeps its place but draws nothing.
    for (int n = 0; digits[n] != '\0'; ++n) {
        if (digits[n] < '0' || digits[n] > '9') {
            continue;
        }
        int left = (digits[n] - '0') * DIGIT_WIDTH;
        keyedBlit(x + DIGIT_ADVANCE * n, y, SHEET_EFFECT, left, DIGIT_TOP, left + DIGIT_WIDTH,
                  DIGIT_BOTTOM);
    }
}
