#include "canvas_drawing.h"

#include <QPainter>

#include <algorithm>

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
                  const CanvasPictures& pictures, const QRect& cursor) {
    QImage canvas(CANVAS_WIDTH, CANVAS_HEIGHT, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        const QSize size = canvas.size();
        for (const PlacedRecord& r : slot.objects) {
            if (!r.inUse) continue;
            const QRect cell = objectCell(r.kind);
            drawClipped(painter, size, int64_t(r.x) - viewLeft, r.y, pictures.mapObjects, cell.x(),
                        cell.y(), CELL, CELL);
        }
        for (const PlacedRecord& r : slot.enemies) {
            if (!r.inUse) continue;
            const EnemyDefinition& d = definitions.of(r.kind);
            if (d.width <= 0 || d.height <= 0) continue;
            drawClipped(painter, size, int64_t(r.x) - viewLeft, int64_t(r.y) - d.height,
                        pictures.enemies, d.x, d.y, d.width, d.height);
        }
    }
    if (cursor.isValid())
        mergeRectangle(canvas, cursor, qRgb(0, 0, 255), qRgb(255, 255, 0), true, true);
    return canvas;
}
