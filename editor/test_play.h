// Test play: the stage set goes to the scratch file "__ed.vtg" in the stage
// folder ("../stage/", or the player's own for an installed game), the game
// starts on it at the stage being edited and the editor waits for it.
#pragma once

#include "stage_set.h"

#include <QString>
#include <QStringList>

class QWidget;

// The game counts only the stage blocks in the file, and slots without a
// record the file keeps are left out of it: the stage being edited is the
// number of written slots before it.
int testPlayStageIndex(const StageSet& set);

// The game's command line after the program: "%.2d %.8d __ed.vtg" with the
// stage and view left + 144, the middle of the canvas.
QStringList testPlayArguments(const StageSet& set);

QString scratchFilePath();
QString gameProgramPath();

enum class TestPlayResult { Played, NothingToPlay, WriteFailed, GameNotStarted };

// Writes the scratch file, runs the game and waits for it with the editor's
// windows disabled (they still draw themselves, but take no input), then
// deletes the scratch file, also when the game could not be started or
// failed. Every failure has been shown in a message
// box when this returns.
TestPlayResult runTestPlay(const StageSet& set, QWidget* parent);
