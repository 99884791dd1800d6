#include "editor_folder.h"

#include "editor_paths.h"
#include "support/fixture_files.h"

#include <QFile>

namespace fs = std::filesystem;

EditorFolder::EditorFolder() : game_(makeTempFolder("editor")) {
    const fs::path dist = VELTA_DIST_DIR;
    for (const char* name : {"mapobj.bmp", "enemy.bmp", "pal.bmp", "velta.html"})
        fs::copy_file(dist / name, game_ / name);
    fs::copy(dist / "dat", game_ / "dat", fs::copy_options::recursive);
    fs::copy(dist / "bgm", game_ / "bgm", fs::copy_options::recursive);
    fs::create_directories(game_ / "stage");
    fs::create_directories(game_ / "editor");
    fs::copy_file(dist / "editor" / "exp.dat", game_ / "editor" / "exp.dat");
    fs::copy_file(dist / "editor" / "VeltaEdit_en.qm", game_ / "editor" / "VeltaEdit_en.qm");
    setEditorFolder(QString::fromStdString((game_ / "editor").string()));
}

EditorFolder::~EditorFolder() {
    setEditorFolder(QString());
}

QString EditorFolder::gamePath(const std::string& relative) const {
    return QString::fromStdString((game_ / relative).string());
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(bytes);
}
