// Where the editor finds the game's files and keeps the player's.
//
// As the game does, the editor has two layouts. In a game folder of the
// player's own (built or unpacked), the editor runs from its "editor"
// subfolder and everything of the game is one folder up, stage files
// included. An installed editor runs beside the installed game, reads the
// game's data from the data folder installed beside their programs' folder,
// and opens and saves the player's stage files in the player's own stage
// folder ($XDG_DATA_HOME/velta/stage), where the installed game finds them.
#pragma once

#include <QString>

struct EditorFolders {
    bool portable = true;
    QString editor;      // the editor's own files (exp.dat, its icon)
    QString game;        // the game's data
    QString gameProgram; // the game, started by the test play
    QString stages;      // where stage files are opened and saved by default
};

// The rule, for an editor program in programFolder: the portable layout when
// the game's data is one folder up and that folder can be written, else the
// installed layout with the player's stage folder under userDataHome.
EditorFolders chooseEditorFolders(const QString& programFolder, const QString& userDataHome);

// The folders of this run: chosen from the program's folder and the player's
// data folder when first asked for.
const EditorFolders& editorFolders();
// For tests: these folders in place of the chosen ones (reset: empty editor).
void setEditorFolders(const EditorFolders& folders);

QString editorFolder();
// For tests: the portable layout with folder as the editor's own folder; an
// empty folder goes back to the chosen folders.
void setEditorFolder(const QString& folder);

// A path of the game's files, given as the editor names it from its own
// folder ("../stage/"), made absolute and clean.
QString gamePath(const QString& relative);
// A path in the editor's own folder ("exp.dat").
QString editorPath(const QString& name);
// Where the player's stage files are opened and saved by default.
QString stageFolder();

// True when path lies in the game folder of the installed layout, which the
// editor never writes.
bool insideInstalledGame(const QString& path);

// Creates the player's stage folder of the installed layout; false, with the
// reason, when it cannot be made or written.
bool prepareStageFolder(QString& problem);
