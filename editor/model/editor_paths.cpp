#include "editor_paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& overriddenFolder() {
    static QString folder;
    return folder;
}

} // namespace

QString editorFolder() {
    if (!overriddenFolder().isEmpty()) return overriddenFolder();
    return QCoreApplication::applicationDirPath();
}

void setEditorFolder(const QString& folder) {
    overriddenFolder() = folder;
}

QString gamePath(const QString& relative) {
    return QDir::cleanPath(editorFolder() + "/../" + relative);
}

QString editorPath(const QString& name) {
    return QDir::cleanPath(editorFolder() + "/" + name);
}
