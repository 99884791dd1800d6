#include "editor_icon.h"

#include "canvas_drawing.h"

#include <QPainter>

namespace {

constexpr int GROUND_KIND = 1;
constexpr int COIN_KIND = 3;
constexpr int ICON_SIZE = 32;

} // namespace

QImage editorIconPicture(const QImage& mapObjects) {
    QImage icon(ICON_SIZE, ICON_SIZE, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    if (mapObjects.isNull()) return icon;
    QPainter painter(&icon);
    painter.drawImage(QRect(0, 16, 16, 16), mapObjects, objectCell(GROUND_KIND));
    painter.drawImage(QRect(16, 16, 16, 16), mapObjects, objectCell(GROUND_KIND));
    painter.drawImage(QRect(8, 0, 16, 16), mapObjects, objectCell(COIN_KIND));
    return icon;
}

QIcon editorIcon(const QImage& mapObjects) {
    return QIcon(QPixmap::fromImage(editorIconPicture(mapObjects)));
}
