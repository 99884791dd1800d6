// Rectangle copies between sheets and the back buffer, shapes and the present.
// Rectangles are left, top, right, bottom with right and bottom exclusive.
#pragma once

#include <cstdint>

// Sheet to back buffer, colour index 0 skipped.
void keyedBlit(int x, int y, int sheet, int left, int top, int right, int bottom);
// Sheet to back buffer, every pixel copied.
void opaqueBlit(int x, int y, int sheet, int left, int top, int right, int bottom);
// Back buffer rectangle to a sheet.
void screenCaptureBlit(int x, int y, int sheet, int left, int top, int right, int bottom);
// The logical screen as the display last showed it (the primary's shown
// rectangle) to a sheet at (0, 0).
void captureShownPicture(int sheet);
// Sheet rectangle stretched into (x, y)-(x + width, y + height), index 0 skipped; not clipped
// by the caller's promise, but never written outside the back buffer.
void scaledKeyedBlit(int x, int y, int sheet, int left, int top, int right, int bottom, int width,
                     int height);
// A position on the logical screen, worked out in doubles from a world position,
// as a blit coordinate. Positions beyond a million pixels are pinned there:
// they are off the display either way, and every int sum on them stays defined.
int blitCoordinate(double position);

// Software copies into the drawing target. Return 1 when drawn, 0 otherwise.
int halfBlendBlit(int x, int y, int sheet, int left, int top, int right, int bottom, int key);
enum FlipMode { FLIP_LEFT_RIGHT = 0, FLIP_UPSIDE_DOWN = 1, FLIP_BOTH = 2 };
int flippedCellCopy(int x, int y, int sheet, int left, int top, int right, int bottom, int mode,
                    int key);

// Shapes on the drawing target; colours are GDI colour references 0x00bbggrr.
void drawLine(int x1, int y1, int x2, int y2, uint32_t colour, int penWidth);
void drawRectangle(int left, int top, int right, int bottom, uint32_t fillColour,
                   uint32_t penColour, int penWidth);
