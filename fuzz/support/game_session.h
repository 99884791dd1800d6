// The game on the headless backend for fuzz targets: a game folder of this
// process (a scratch copy of the built game's data), a fresh start for every
// input, and a few dozen frames of play with a fixed pattern of buttons.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace fuzz {

// The game folder: the built game's pictures, palette, effects, music, enemy
// definitions and stage files, made on first use from builtGameFolder(). It
// is the current folder while a game runs, from its start to closeGame().
const std::filesystem::path& scratchGameFolder();

// Makes the scratch game folder the one data files are found from, without
// starting a game, for targets that call a loader alone. Once per process.
void useScratchGameFolderForData();

// Starts the game afresh with the command line and runs its boot pass, as
// the game's start does. beforeStart runs on the fresh backend, before the
// game starts (to plug in a joystick, say). False when the game did not
// start or quit at once.
bool bootGame(const std::string& commandLine, const std::function<void()>& beforeStart = {});

// Starts the game afresh and a new game at the stage (index counted from 0)
// of the file in the stage folder, as the title's menu does. False when the
// game did not start; a stage that could not be loaded is still played.
bool startNewGameAt(const std::string& stageFile, int stageIndex);

// Plays up to count frames, running right, jumping, dashing and throwing on
// a fixed schedule; stops when the game ends. Returns the frames played.
int playFrames(int count);
// The same with no button held.
int idleFrames(int count);

// Closes what the game opened, so that the next input starts from nothing.
void closeGame();

} // namespace fuzz
