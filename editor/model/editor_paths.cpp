#include "editor_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

// Where an install puts the game's data, seen from the programs' folder; the
// build sets it from the install folders, so a moved install still works.
#ifndef VELTA_DATA_FROM_PROGRAMS
#define VELTA_DATA_FROM_PROGRAMS "../share/games/velta"
#endif

namespace {

// In every editor folder: the object explanations.
constexpr const char* EDITOR_MARK = "exp.dat";

std::optional<EditorFolders>& replacedFolders() {
    static std::optional<EditorFolders> folders;
    return folders;
}

QString clean(const QString& path) {
    return QDir::cleanPath(path);
}

bool writableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

EditorFolders portableFolders(const QString& editor) {
    EditorFolders folders;
    folders.editor = clean(editor);
    folders.game = clean(editor + "/..");
    folders.gameProgram = folders.game + "/velta";
    folders.stages = folders.game + "/stage";
    return folders;
}

} // namespace

EditorFolders chooseEditorFolders(const QString& programFolder, const QString& userDataHome) {
    const QString installedGame = clean(programFolder + "/" + VELTA_DATA_FROM_PROGRAMS);
    const bool installed = !QFileInfo::exists(programFolder + "/" + EDITOR_MARK) &&
                           QFileInfo::exists(installedGame + "/editor/" + EDITOR_MARK);
    if (!installed) {
        EditorFolders folders = portableFolders(programFolder);
        if (writableFolder(folders.game)) return folders;
        // A game folder that cannot be written: its files are read from
        // there, the player's own go to their folder.
        folders.portable = false;
        folders.stages = userDataHome.isEmpty() ? QString() : clean(userDataHome + "/velta/stage");
        return folders;
    }
    EditorFolders folders;
    folders.portable = false;
    folders.editor = installedGame + "/editor";
    folders.game = installedGame;
    folders.gameProgram = clean(programFolder + "/velta");
    folders.stages = userDataHome.isEmpty() ? QString() : clean(userDataHome + "/velta/stage");
    return folders;
}

const EditorFolders& editorFolders() {
    if (replacedFolders()) return *replacedFolders();
    static const EditorFolders chosen =
        chooseEditorFolders(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return chosen;
}

void setEditorFolders(const EditorFolders& folders) {
    if (folders.editor.isEmpty())
        replacedFolders().reset();
    else
        replacedFolders() = folders;
}

QString editorFolder() {
    return editorFolders().editor;
}

void setEditorFolder(const QString& folder) {
    setEditorFolders(folder.isEmpty() ? EditorFolders{} : portableFolders(folder));
}

QString gamePath(const QString& relative) {
    return clean(editorFolders().game + "/" + relative);
}

QString editorPath(const QString& name) {
    return clean(editorFolders().editor + "/" + name);
}

QString stageFolder() {
    return editorFolders().stages;
}

bool insideInstalledGame(const QString& path) {
    const EditorFolders& folders = editorFolders();
    if (folders.portable || folders.game.isEmpty()) return false;
    // Through links, and for a file not made yet through its folder.
    const auto real = [](const QString& folder) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        return (canonical.isEmpty() ? QFileInfo(folder).absoluteFilePath() : canonical) + "/";
    };
    return real(QFileInfo(path).absolutePath()).startsWith(real(folders.game));
}

bool prepareStageFolder(QString& problem) {
    const QString folder = stageFolder();
    if (editorFolders().portable) return true;
    if (folder.isEmpty()) {
        problem = "no home folder is known for the stage files";
        return false;
    }
    if (!QDir().mkpath(folder)) {
        problem = "cannot create the folder " + folder;
        return false;
    }
    if (!writableFolder(folder)) {
        problem = "cannot write in the folder " + folder;
        return false;
    }
    return true;
}
