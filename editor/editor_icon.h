// The editor's icon, made from the map object picture: a coin over ground.
#pragma once

#include <QIcon>
#include <QImage>

QImage editorIconPicture(const QImage& mapObjects);
QIcon editorIcon(const QImage& mapObjects);
