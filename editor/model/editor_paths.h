// Where the editor finds the game's files: everything of the game is one
// folder up from the editor's own folder, the program's folder.
#pragma once

#include <QString>

QString editorFolder();
// For tests: the folder the editor takes for its own.
void setEditorFolder(const QString& folder);

// A path of the game's files, given as the editor names it from its own
// folder ("../stage/"), made absolute and clean.
QString gamePath(const QString& relative);
// A path in the editor's own folder ("exp.dat").
QString editorPath(const QString& name);
