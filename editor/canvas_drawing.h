// Drawing a stage slot as the canvas shows it: 288 by 256 pixels from the
// view's left edge on the stage's sky, objects, enemies and the cursor.
#pragma once

#include "enemy_definitions.h"
#include "stage_set.h"

#include <QImage>
#include <QRect>

#include <bitset>
#include <cstdint>

class QPainter;

constexpr int CANVAS_WIDTH = 288;
constexpr int CANVAS_HEIGHT = 256;
constexpr int CELL = 16;

constexpr int MAP_OBJECT_KINDS = 256;

struct CanvasPictures {
    QImage mapObjects; // mapobj.bmp: 16 by 16 cells, 16 to a row
    QImage enemies;    // enemy.bmp: the definitions' frames
    // The same as the game draws them: colour 0 of their palette shows what
    // lies behind.
    QImage keyedMapObjects;
    QImage keyedEnemies;
    // The sky of a day stage: colour 135 of mapobj.bmp's palette; a night
    // stage's is black.
    QRgb daySky = qRgb(0, 0, 0);
    // Object kinds the game never draws (the hidden block, the enemy barrier)
    // or whose cell holds nothing but colour 0.
    std::bitset<MAP_OBJECT_KINDS> unseenKinds;
};

// The canvas's pictures from mapobj.bmp, enemy.bmp and the game's palette
// picture pal.bmp as loaded (a null picture for one that could not be read).
CanvasPictures canvasPictures(const QImage& mapObjects, const QImage& enemies,
                              const QImage& palette);

struct CanvasOptions {
    // Objects of unseen kinds, and enemies without a picture, are shown as a
    // frame with their kind number, so that they can be found and erased.
    bool outlineUnseen = true;
};

// The stage's sky, objects, then enemies by their first frame (bottom at
// their y), the frames of what the game does not show, then the cursor
// rectangle filled blue and outlined yellow, merged onto the picture.
QImage drawCanvas(const StageSlot& slot, int viewLeft, const EnemyDefinitions& definitions,
                  const CanvasPictures& pictures, const QRect& cursor,
                  const CanvasOptions& options = {});

// The 16 by 16 cell of an object kind in mapobj.bmp.
QRect objectCell(int kind);

// Copies the width by height rectangle at (sourceX, sourceY) of source to
// (x, y) of the painter's picture of pictureSize. Positions and sizes come
// from files and may lie anywhere in their range: only the part inside both
// pictures is drawn, found in 64-bit arithmetic.
void drawClipped(QPainter& painter, QSize pictureSize, int64_t x, int64_t y, const QImage& source,
                 int64_t sourceX, int64_t sourceY, int64_t width, int64_t height);

// Merges a rectangle onto a picture: the fill, then a one-pixel outline,
// each OR-ed with what lies under it.
void mergeRectangle(QImage& picture, const QRect& rect, QRgb fill, QRgb outline, bool filled,
                    bool outlined);
