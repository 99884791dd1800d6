#include "canvas_drawing.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace {

constexpr int SKY_COLOUR = 135;
constexpr int HIDDEN_BLOCK = 5;
constexpr int ENEMY_BARRIER = 6;
constexpr QRgb OBJECT_FRAME = qRgb(255, 0, 255);
constexpr QRgb ENEMY_FRAME = qRgb(255, 96, 0);
constexpr QRgb FRAME_NUMBER = qRgb(255, 255, 255);

// Colour 0 of the picture's palette (black without one) shows through, as the
// game's colour key makes it.
QImage keyed(const QImage& picture) {
    if (picture.isNull()) return {};
    const QRgb key = picture.colorCount() > 0 ? picture.color(0) : qRgb(0, 0, 0);
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) == (key | 0xFF000000u))
                line[x] = 0;
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool cellIsEmpty(const QImage& keyedMap, int kind) {
    const QRect cell = objectCell(kind);
    if (!keyedMap.rect().contains(cell)) return true;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qAlpha(keyedMap.pixel(x, y)) != 0) return false;
    return true;
}

// Digits three pixels wide and five high, a row to a string.
constexpr std::array<std::array<const char*, 5>, 10> DIGITS = {{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", "..#", "..#", "..#"},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

void putPixel(QImage& canvas, int64_t x, int64_t y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < canvas.width() && y < canvas.height())
        canvas.setPixel(int(x), int(y), colour);
}

// A cell's frame with the kind number in its middle; the cell's corner may lie
// anywhere in a record's range.
void drawFrame(QImage& canvas, int64_t x, int64_t y, int kind, QRgb colour) {
    if (x + CELL <= 0 || y + CELL <= 0 || x >= canvas.width() || y >= canvas.height()) return;
    for (int i = 0; i < CELL; ++i) {
        putPixel(canvas, x + i, y, colour);
        putPixel(canvas, x + i, y + CELL - 1, colour);
        putPixel(canvas, x, y + i, colour);
        putPixel(canvas, x + CELL - 1, y + i, colour);
    }
    // The number sits low in the cell on a black ground of its own, so that
    // it can be read over the kind's picture.
    const QString number = QString::number(kind);
    const int64_t left = x + (CELL - (4 * number.size() - 1)) / 2, top = y + CELL - 7;
    for (int64_t groundY = top - 1; groundY <= top + 5; ++groundY)
        for (int64_t groundX = left - 1; groundX <= left + 4 * number.size() - 1; ++groundX)
            putPixel(canvas, groundX, groundY, qRgb(0, 0, 0));
    for (qsizetype d = 0; d < number.size(); ++d) {
        const auto& rows = DIGITS[size_t(number[d].digitValue())];
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (rows[size_t(row)][column] == '#')
                    putPixel(canvas, left + 4 * d + column, top + row, FRAME_NUMBER);
    }
}

} // namespace

CanvasPictures canvasPictures(const QImage& mapObjects, const QImage& enemies,
                              const QImage& palette) {
    CanvasPictures pictures;
    pictures.mapObjects = mapObjects.convertToFormat(QImage::Format_RGB32);
    pictures.enemies = enemies.convertToFormat(QImage::Format_RGB32);
    pictures.keyedMapObjects = keyed(mapObjects);
    pictures.keyedEnemies = keyed(enemies);
    // Without the palette picture the game's palette stays black.
    if (palette.colorCount() > SKY_COLOUR)
        pictures.daySky = palette.color(SKY_COLOUR) | 0xFF000000u;
    for (int kind = 0; kind < MAP_OBJECT_KINDS; ++kind)
        pictures.unseenKinds[size_t(kind)] = kind == HIDDEN_BLOCK || kind == ENEMY_BARRIER ||
                                             cellIsEmpty(pictures.keyedMapObjects, kind);
    return pictures;
}

QRect objectCell(int kind) {
    return QRect((kind % 16) * CELL, (kind / 16) * CELL, CELL, CELL);
}

void drawClipped(QPainter& painter, QSize pictureSize, int64_t x, int64_t y, const QImage& source,
                 int64_t sourceX, int64_t sourceY, int64_t width, int64_t height) {
    // How far the rectangle's left and top edges move in, and where its
    // right and bottom edges end, to stay inside both pictures.
    const int64_t skipX = std::max({int64_t(0), -sourceX, -x});
    const int64_t skipY = std::max({int64_t(0), -sourceY, -y});
    const int64_t endX =
        std::min({width, int64_t(source.width()) - sourceX, int64_t(pictureSize.width()) - x});
    const int64_t endY =
        std::min({height, int64_t(source.height()) - sourceY, int64_t(pictureSize.height()) - y});
    if (endX <= skipX || endY <= skipY) return;
    // Every value below now lies inside one of the two pictures.
    painter.drawImage(
        QPoint(int(x + skipX), int(y + skipY)), source,
        QRect(int(sourceX + skipX), int(sourceY + skipY), int(endX - skipX), int(endY - skipY)));
}

void mergeRectangle(QImage& picture, const QRect& rect, QRgb fill, QRgb outline, bool filled,
                    bool outlined) {
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    // As a drawn rectangle: the outline on the picture, the fill inside it.
    if (filled) painter.fillRect(outlined ? rect.adjusted(1, 1, -1, -1) : rect, QColor(fill));
    if (outlined) {
        painter.setPen(QColor(outline));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

QImage drawCanvas(const StageSlot& slot, int viewLeft, const EnemyDefinitions& definitions,
                  const CanvasPictures& pictures, const QRect& cursor,
                  const CanvasOptions& options) {
    QImage canvas(CANVAS_WIDTH, CANVAS_HEIGHT, QImage::Format_RGB32);
    canvas.fill(slot.background == 0 ? pictures.daySky : qRgb(0, 0, 0));
    {
        QPainter painter(&canvas);
        const QSize size = canvas.size();
        for (const PlacedRecord& r : slot.objects) {
            if (!r.inUse) continue;
            const QRect cell = objectCell(r.kind);
            drawClipped(painter, size, int64_t(r.x) - viewLeft, r.y, pictures.keyedMapObjects,
                        cell.x(), cell.y(), CELL, CELL);
        }
        for (const PlacedRecord& r : slot.enemies) {
            if (!r.inUse) continue;
            const EnemyDefinition& d = definitions.of(r.kind);
            if (d.width <= 0 || d.height <= 0) continue;
            drawClipped(painter, size, int64_t(r.x) - viewLeft, int64_t(r.y) - d.height,
                        pictures.keyedEnemies, d.x, d.y, d.width, d.height);
        }
    }
    if (options.outlineUnseen) {
        for (const PlacedRecord& r : slot.objects)
            if (r.inUse && pictures.unseenKinds[r.kind])
                drawFrame(canvas, int64_t(r.x) - viewLeft, r.y, r.kind, OBJECT_FRAME);
        // An enemy without a picture was placed from the cell at its y.
        for (const PlacedRecord& r : slot.enemies) {
            const EnemyDefinition& d = definitions.of(r.kind);
            if (r.inUse && (d.width <= 0 || d.height <= 0))
                drawFrame(canvas, int64_t(r.x) - viewLeft, r.y, r.kind, ENEMY_FRAME);
        }
    }
    if (cursor.isValid())
        mergeRectangle(canvas, cursor, qRgb(0, 0, 255), qRgb(255, 255, 0), true, true);
    return canvas;
}
