#include "platform/blit.h"

#include "platform/display.h"
#include "platform/palette.h"
#include "platform/sheets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {

struct Copy {
    int x, y, left, top, right, bottom;
};

// Clips a copy to the 640x480 back buffer as the game always has: the
// right and bottom edges first, then the left and top. False when nothing
// remains to draw. Worked in 64 bits: a stage may put a picture anywhere an
// int reaches, and a source corner pushed out of int range by the clip lies
// outside every sheet, so it draws nothing.
bool clipToDisplay(Copy& c) {
    int64_t x = c.x, y = c.y, left = c.left, top = c.top, right = c.right, bottom = c.bottom;
    if (x + (right - left) > DISPLAY_WIDTH) right = left - x + DISPLAY_WIDTH;
    if (y + (bottom - top) > DISPLAY_HEIGHT) bottom = top - y + DISPLAY_HEIGHT;
    if (x < 0) {
        left -= x;
        x = 0;
    }
    if (y < 0) {
        top -= y;
        y = 0;
    }
    if (right < left || bottom < top) return false;
    constexpr int64_t LOWEST = std::numeric_limits<int>::min();
    constexpr int64_t HIGHEST = std::numeric_limits<int>::max();
    for (const int64_t v : {left, top, right, bottom})
        if (v < LOWEST || v > HIGHEST) return false;
    c = Copy{int(x), int(y), int(left), int(top), int(right), int(bottom)};
    return true;
}

// The rectangle copy refuses a source rectangle outside its surface and a
// destination outside its target, drawing nothing, as a display driver does.
bool fits(const Surface& s, int left, int top, int right, int bottom) {
    return left >= 0 && top >= 0 && right <= s.width && bottom <= s.height;
}

void copyRect(const Surface& source, const Copy& c, Surface& target, bool keyed) {
    const int w = c.right - c.left, h = c.bottom - c.top;
    if (w <= 0 || h <= 0) return;
    if (!fits(source, c.left, c.top, c.right, c.bottom)) return;
    if (!fits(target, c.x, c.y, c.x + w, c.y + h)) return;
    for (int r = 0; r < h; ++r) {
        const uint8_t* in = source.row(c.top + r) + c.left;
        uint8_t* out = target.row(c.y + r) + c.x;
        if (!keyed) {
            std::memcpy(out, in, size_t(w));
            continue;
        }
        // Written as a select rather than a skip, so the compiler can do
        // many pixels at once.
        for (int i = 0; i < w; ++i)
            out[i] = in[i] != 0 ? in[i] : out[i];
    }
}

// Software copies write pixel by pixel and skip what lies outside the target.
template <typename Write>
int softwareCopy(int x, int y, int sheet, int left, int top, int right, int bottom, int key,
                 Write write) {
    Copy c{x, y, left, top, right, bottom};
    if (!clipToDisplay(c)) return 0;
    if (drawingTargetSheet() >= 0 && drawingTargetSheet() == sheet) return 0;
    Surface* source = sheetSurface(sheet);
    Surface& target = drawingTarget();
    if (!source || target.pixels.empty()) return 0;
    if (!fits(*source, c.left, c.top, c.right, c.bottom)) return 0;
    for (int r = c.top; r < c.bottom; ++r) {
        const uint8_t* in = source->row(r);
        for (int col = c.left; col < c.right; ++col) {
            const uint8_t s = in[col];
            if (key >= 0 && s == key) continue;
            write(target, c, col, r, s);
        }
    }
    return 1;
}

void putPixel(Surface& target, int x, int y, uint8_t index) {
    if (x >= 0 && y >= 0 && x < target.width && y < target.height) target.row(y)[x] = index;
}

void fillRect(Surface& target, int left, int top, int right, int bottom, uint8_t index) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, target.width);
    bottom = std::min(bottom, target.height);
    for (int y = top; y < bottom; ++y)
        std::memset(target.row(y) + left, index, size_t(std::max(0, right - left)));
}

// A pen of width w covers a w by w square around each point of the path.
void penDot(Surface& target, int x, int y, int penWidth, uint8_t index) {
    if (penWidth <= 1) {
        putPixel(target, x, y, index);
        return;
    }
    const int from = -(penWidth / 2);
    fillRect(target, x + from, y + from, x + from + penWidth, y + from + penWidth, index);
}

// Bresenham from (x1, y1) towards (x2, y2); as LineTo, the last point is left out
// for a one-pixel pen.
void penLine(Surface& target, int x1, int y1, int x2, int y2, int penWidth, uint8_t index) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (x1 == x2 && y1 == y2) {
            if (penWidth > 1) penDot(target, x1, y1, penWidth, index);
            break;
        }
        penDot(target, x1, y1, penWidth, index);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y1 += sy;
        }
    }
}

} // namespace

void keyedBlit(int x, int y, int sheet, int left, int top, int right, int bottom) {
    Copy c{x, y, left, top, right, bottom};
    Surface* source = sheetSurface(sheet);
    if (source && clipToDisplay(c)) copyRect(*source, c, backBuffer(), true);
}

void opaqueBlit(int x, int y, int sheet, int left, int top, int right, int bottom) {
    Copy c{x, y, left, top, right, bottom};
    Surface* source = sheetSurface(sheet);
    if (source && clipToDisplay(c)) copyRect(*source, c, backBuffer(), false);
}

void screenCaptureBlit(int x, int y, int sheet, int left, int top, int right, int bottom) {
    Copy c{x, y, left, top, right, bottom};
    Surface* target = sheetSurface(sheet);
    if (target && clipToDisplay(c)) copyRect(backBuffer(), c, *target, false);
}

void captureShownPicture(int sheet) {
    const int x = shownPictureX(), y = shownPictureY();
    Copy c{0, 0, x, y, x + SCREEN_WIDTH, y + SCREEN_HEIGHT};
    Surface* target = sheetSurface(sheet);
    if (target) copyRect(primarySurface(), c, *target, false);
}

void scaledKeyedBlit(int x, int y, int sheet, int left, int top, int right, int bottom, int width,
                     int height) {
    Surface* source = sheetSurface(sheet);
    if (!source || width <= 0 || height <= 0) return;
    if (!fits(*source, left, top, right, bottom)) return;
    const int64_t w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return;
    Surface& target = backBuffer();
    // Only the rows and columns that land on the back buffer are walked.
    const int64_t firstRow = std::max<int64_t>(0, -int64_t(y));
    const int64_t endRow = std::min<int64_t>(height, int64_t(target.height) - y);
    const int64_t firstColumn = std::max<int64_t>(0, -int64_t(x));
    const int64_t endColumn = std::min<int64_t>(width, int64_t(target.width) - x);
    for (int64_t r = firstRow; r < endRow; ++r) {
        const uint8_t* in = source->row(int(top + r * h / height)) + left;
        uint8_t* out = target.row(int(y + r));
        for (int64_t col = firstColumn; col < endColumn; ++col) {
            const uint8_t s = in[col * w / width];
            if (s != 0) out[x + col] = s;
        }
    }
}

int blitCoordinate(double position) {
    constexpr double REACH = 1 << 20;
    if (!(position > -REACH)) return -int(REACH);
    if (position > REACH) return int(REACH);
    return int(position);
}

int halfBlendBlit(int x, int y, int sheet, int left, int top, int right, int bottom, int key) {
    return softwareCopy(x, y, sheet, left, top, right, bottom, key,
                        [](Surface& target, const Copy& c, int col, int r, uint8_t s) {
                            const int dx = c.x + col - c.left, dy = c.y + r - c.top;
                            if (dx >= target.width || dy >= target.height) return;
                            uint8_t& d = target.row(dy)[dx];
                            d = uint8_t((d + s) / 2);
                        });
}

int flippedCellCopy(int x, int y, int sheet, int left, int top, int right, int bottom, int mode,
                    int key) {
    return softwareCopy(x, y, sheet, left, top, right, bottom, key,
                        [mode](Surface& target, const Copy& c, int col, int r, uint8_t s) {
                            int dx = c.x + col - c.left, dy = c.y + r - c.top;
                            if (mode == FLIP_LEFT_RIGHT || mode == FLIP_BOTH)
                                dx = c.x + c.right - 1 - col;
                            if (mode == FLIP_UPSIDE_DOWN || mode == FLIP_BOTH)
                                dy = c.y + c.bottom - 1 - r;
                            putPixel(target, dx, dy, s);
                        });
}

void drawLine(int x1, int y1, int x2, int y2, uint32_t colour, int penWidth) {
    penLine(drawingTarget(), x1, y1, x2, y2, penWidth, nearestPaletteIndex(colour));
}

void drawRectangle(int left, int top, int right, int bottom, uint32_t fillColour,
                   uint32_t penColour, int penWidth) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    Surface& target = drawingTarget();
    fillRect(target, left, top, right, bottom, nearestPaletteIndex(fillColour));
    const uint8_t pen = nearestPaletteIndex(penColour);
    const int r = right - 1, b = bottom - 1;
    if (penWidth <= 1) {
        for (int x = left; x <= r; ++x) {
            putPixel(target, x, top, pen);
            putPixel(target, x, b, pen);
        }
        for (int y = top; y <= b; ++y) {
            putPixel(target, left, y, pen);
            putPixel(target, r, y, pen);
        }
        return;
    }
    penLine(target, left, top, r, top, penWidth, pen);
    penLine(target, r, top, r, b, penWidth, pen);
    penLine(target, r, b, left, b, penWidth, pen);
    penLine(target, left, b, left, top, penWidth, pen);
}
