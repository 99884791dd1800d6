#include "canvas_drawing.h"

#include <QPainter>

QRect objectCell(int kind) {
    return QRect((kind % 16) * CELL, (kind / 16) * CELL, CELL, CELL);
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
        for (const PlacedRecord& r : slot.objects)
            if (r.inUse)
                painter.drawImage(QPoint(r.x - viewLeft, r.y), pictures.mapObjects,
                                  objectCell(r.kind));
        for (const PlacedRecord& r : slot.enemies) {
            if (!r.inUse) continue;
            const EnemyDefinition& d = definitions.of(r.kind);
            if (d.width <= 0 || d.height <= 0) continue;
            painter.drawImage(QPoint(r.x - viewLeft, r.y - d.height), pictures.enemies,
                              QRect(d.x, d.y, d.width, d.height));
        }
    }
    if (cursor.isValid())
        mergeRectangle(canvas, cursor, qRgb(0, 0, 255), qRgb(255, 255, 0), true, true);
    return canvas;
}
