// GDI-style text: created fonts, text out and text in a box, drawn into the
// drawing target as the palette index nearest to the text colour.
#include "platform/text.h"

#include "formats/shift_jis.h"
#include "platform/display.h"
#include "platform/loaders/font_rasteriser.h"
#include "platform/palette.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t DEBUG_TEXT_SIZE = 256;

// "標準明朝" in Shift-JIS.
constexpr char MINCHO_FACE[] = "\x95\x57\x8F\x80\x96\xBE\x92\xA9";
constexpr int32_t FW_NORMAL = 400;
constexpr uint8_t SHIFTJIS_CHARSET = 128;

constexpr uint32_t DEBUG_TEXT_COLOUR = 0xFFFFFF;
constexpr uint32_t DEBUG_BACKGROUND_COLOUR = 0x800000;
constexpr int DEBUG_TEXT_HEIGHT = 12;

std::unique_ptr<FontDescription> fontDescriptionBlock;

// What the device context holds between begin and end. A fresh context draws
// black text on an opaque white background until the colours are set.
struct GdiTextState {
    bool begun = false;
    RasterFont* font = nullptr;
    uint32_t textColour = 0x000000;
    uint32_t backgroundColour = 0xFFFFFF;
    bool transparent = false;
};
GdiTextState gdi;

struct ClipRect {
    int left;
    int top;
    int right;
    int bottom;

    bool empty() const { return left >= right || top >= bottom; }
    ClipRect intersect(const ClipRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
};

// Far beyond any surface and any text width, so that sums of coordinates and
// widths cannot overflow; nothing there could be seen anyway.
constexpr int COORDINATE_LIMIT = 1 << 24;

bool isSaneCoordinate(int value) {
    return value > -COORDINATE_LIMIT && value < COORDINATE_LIMIT;
}

int saneCoordinate(int value) {
    return std::clamp(value, -COORDINATE_LIMIT, COORDINATE_LIMIT);
}

ClipRect targetRect(const Surface& target) {
    return {0, 0, target.width, target.height};
}

void fillRect(Surface& target, const ClipRect& rect, uint8_t index) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::fill(target.row(y) + rect.left, target.row(y) + rect.right, index);
    }
}

// One line of GDI text with its cell's top-left at (x, y): the cell box
// filled first unless transparent, then the glyph pixels in the text colour.
void drawTextRun(int x, int y, const std::string& utf8, const ClipRect& clip) {
    if (!isSaneCoordinate(x) || !isSaneCoordinate(y)) {
        return;
    }
    Surface& target = drawingTarget();
    ClipRect visible = clip.intersect(targetRect(target));
    if (gdi.font == nullptr || utf8.empty() || visible.empty()) {
        return;
    }
    int cellHeight = rasterCellHeight(gdi.font);
    if (!gdi.transparent) {
        int width = measureRasterText(gdi.font, utf8);
        ClipRect cell = ClipRect{x, y, x + width, y + cellHeight}.intersect(visible);
        if (!cell.empty()) {
            fillRect(target, cell, nearestPaletteIndex(gdi.backgroundColour));
        }
    }
    if (y + cellHeight <= visible.top || y >= visible.bottom) {
        return; // no row of the cell can be seen: skip the rendering
    }
    CoverageMask mask = renderRasterText(gdi.font, utf8);
    uint8_t ink = nearestPaletteIndex(gdi.textColour);
    ClipRect drawn = ClipRect{x, y, x + mask.width, y + mask.height}.intersect(visible);
    for (int py = drawn.top; py < drawn.bottom; ++py) {
        uint8_t* row = target.row(py);
        for (int px = drawn.left; px < drawn.right; ++px) {
            if (mask.inked(px - x, py - y)) {
                row[px] = ink;
            }
        }
    }
}

// Game texts are Shift-JIS; the rasteriser takes UTF-8. Control characters
// other than line breaks have no picture in these fonts and are dropped.
std::string textForDrawing(const char* sjis, bool keepLineBreaks) {
    std::string utf8 = sjisToUtf8(sjis);
    std::erase_if(utf8, [keepLineBreaks](char c) {
        bool lineBreak = c == '\n' || c == '\r';
        return static_cast<unsigned char>(c) < 0x20 && !(keepLineBreaks && lineBreak);
    });
    return utf8;
}

// A text split into whole UTF-8 characters.
std::vector<std::string> splitCharacters(const std::string& utf8) {
    std::vector<std::string> characters;
    size_t i = 0;
    while (i < utf8.size()) {
        size_t length = 1;
        while (i + length < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        characters.push_back(utf8.substr(i, length));
        i += length;
    }
    return characters;
}

bool isSpace(const std::string& character) {
    return character == " ";
}

// Japanese characters (everything outside ASCII in a Shift-JIS text) may be
// broken between, as a Japanese DrawText does.
bool isBreakableCharacter(const std::string& character) {
    return static_cast<unsigned char>(character[0]) >= 0x80;
}

class LineBreaker {
  public:
    LineBreaker(RasterFont* font, std::vector<std::string> characters, int boxWidth)
        : font_(font), characters_(std::move(characters)), boxWidth_(boxWidth) {}

    // Appends the lines of one paragraph (a text without line feeds).
    void breakInto(std::vector<std::string>& lines) {
        size_t count = characters_.size();
        if (count == 0) {
            lines.emplace_back();
            return;
        }
        size_t start = 0;
        while (start < count) {
            size_t end = lastFittingBreak(start);
            if (end == start) {
                end = lastFittingCharacter(start);
            }
            lines.push_back(joined(start, withoutTrailingSpaces(start, end)));
            start = end;
            // The spaces where a line wraps are not carried to the next line.
            while (start < count && isSpace(characters_[start])) {
                ++start;
            }
        }
    }

  private:
    // A line may end before position i when i is the end, the next character
    // is a space or either neighbour is a Japanese character.
    bool isBreakBefore(size_t i) const {
        if (i >= characters_.size()) {
            return true;
        }
        return isSpace(characters_[i]) || isBreakableCharacter(characters_[i]) ||
               isBreakableCharacter(characters_[i - 1]);
    }

    size_t withoutTrailingSpaces(size_t start, size_t end) const {
        while (end > start && isSpace(characters_[end - 1])) {
            --end;
        }
        return end;
    }

    std::string joined(size_t start, size_t end) const {
        std::string text;
        for (size_t i = start; i < end; ++i) {
            text += characters_[i];
        }
        return text;
    }

    bool fits(size_t start, size_t end) const {
        return measureRasterText(font_, joined(start, withoutTrailingSpaces(start, end))) <=
               boxWidth_;
    }

    // The furthest break whose line fits the box; start when none does.
    size_t lastFittingBreak(size_t start) const {
        size_t best = start;
        for (size_t end = start + 1; end <= characters_.size(); ++end) {
            if (!isBreakBefore(end)) {
                continue;
            }
            if (!fits(start, end)) {
                // Widths only grow past a non-space character.
                if (!isSpace(characters_[end - 1])) {
                    break;
                }
                continue;
            }
            best = end;
        }
        return best;
    }

    // A word wider than the box: as many of its characters as fit, at least one.
    size_t lastFittingCharacter(size_t start) const {
        size_t end = start + 1;
        while (end < characters_.size() && fits(start, end + 1)) {
            ++end;
        }
        return end;
    }

    RasterFont* font_;
    std::vector<std::string> characters_;
    int boxWidth_;
};

// Splits at "\r\n", "\n" and "\r", then wraps each paragraph to the box width.
std::vector<std::string> layOutLines(const std::string& utf8, int boxWidth) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = utf8.find_first_of("\r\n", start);
        std::string paragraph = utf8.substr(start, end == std::string::npos ? end : end - start);
        LineBreaker(gdi.font, splitCharacters(paragraph), boxWidth).breakInto(lines);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
        if (utf8[end] == '\r' && start < utf8.size() && utf8[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

int alignedLeft(int left, int right, int lineWidth, int alignment) {
    switch (alignment) {
    case ALIGN_LEFT:
        return left;
    case ALIGN_RIGHT:
        return right - lineWidth;
    default:
        return left + (right - left - lineWidth) / 2;
    }
}

} // namespace

void allocateFontDescription() {
    fontDescriptionBlock = std::make_unique<FontDescription>();
    std::memset(fontDescriptionBlock.get(), 0, sizeof(FontDescription));
}

void freeFontDescription() {
    fontDescriptionBlock.reset();
    gdi = GdiTextState{};
    closeRasterFonts();
}

const FontDescription* fontDescription() {
    return fontDescriptionBlock.get();
}

void beginGdiText(int height, const char* face) {
    // Text drawn before start-up allocates the block (or after shutdown freed
    // it) still gets one rather than writing through nothing.
    if (!fontDescriptionBlock) {
        allocateFontDescription();
    }
    FontDescription& description = *fontDescriptionBlock;
    description.height = height;
    description.width = 0;
    description.escapement = 0;
    description.orientation = 0;
    description.weight = FW_NORMAL;
    description.italic = 0;
    description.underline = 0;
    description.strikeOut = 0;
    description.charSet = SHIFTJIS_CHARSET;
    std::memset(description.faceName, 0, sizeof description.faceName);
    std::strncpy(description.faceName, face != nullptr ? face : MINCHO_FACE,
                 sizeof description.faceName - 1);

    gdi = GdiTextState{};
    gdi.begun = true;
    gdi.font = openRasterFont(sjisToUtf8(description.faceName), description.height);
}

void setTextColours(uint32_t textColour, uint32_t backgroundColour, int transparent) {
    gdi.textColour = textColour;
    gdi.backgroundColour = backgroundColour;
    gdi.transparent = transparent != 0;
}

void textOut(int x, int y, const char* text) {
    if (!gdi.begun || text == nullptr) {
        return;
    }
    drawTextRun(x, y, textForDrawing(text, false), targetRect(drawingTarget()));
}

void textInBox(int left, int top, int right, int bottom, const char* text, int alignment) {
    left = saneCoordinate(left);
    top = saneCoordinate(top);
    right = saneCoordinate(right);
    bottom = saneCoordinate(bottom);
    ClipRect box{left, top, right, bottom};
    if (!gdi.begun || gdi.font == nullptr || text == nullptr ||
        box.intersect(targetRect(drawingTarget())).empty()) {
        return;
    }
    int lineHeight = rasterCellHeight(gdi.font);
    int y = top;
    for (const std::string& line : layOutLines(textForDrawing(text, true), right - left)) {
        if (y >= bottom) {
            break;
        }
        int width = measureRasterText(gdi.font, line);
        drawTextRun(alignedLeft(left, right, width, alignment), y, line, box);
        y += lineHeight;
    }
}

void endGdiText() {
    gdi.begun = false;
    gdi.font = nullptr;
}

void debugText(int x, int y, const char* format, ...) {
    char text[DEBUG_TEXT_SIZE];
    text[0] = '\0';
    if (format != nullptr) {
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof text, format, arguments);
        va_end(arguments);
    }
    // Leaves any text the caller had begun as it was.
    GdiTextState outer = gdi;
    beginGdiText(DEBUG_TEXT_HEIGHT);
    setTextColours(DEBUG_TEXT_COLOUR, DEBUG_BACKGROUND_COLOUR, 0);
    textOut(x, y, text);
    endGdiText();
    gdi = outer;
}
