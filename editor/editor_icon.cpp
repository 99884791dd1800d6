#include "editor_icon.h"

#include "editor_paths.h"

#include <QPixmap>

namespace {

constexpr int ABOUT_BOX_SIZE = 32;
constexpr int WINDOW_SIZES[] = {16, 32, 48, 64};

QImage iconFile() {
    QImage image(editorPath("icon.bmp"));
    if (image.isNull()) return image;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0)
        image.setColor(0, qRgba(0, 0, 0, 0));
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage atSize(const QImage& image, int size) {
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

QImage editorIconPicture() {
    const QImage image = iconFile();
    if (!image.isNull()) return atSize(image, ABOUT_BOX_SIZE);
    QImage empty(ABOUT_BOX_SIZE, ABOUT_BOX_SIZE, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    return empty;
}

QIcon editorIcon() {
    const QImage image = iconFile();
    QIcon icon;
    if (image.isNull()) return icon;
    for (int size : WINDOW_SIZES)
        icon.addPixmap(QPixmap::fromImage(atSize(image, size)));
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}
