// What the scenes do when a stage ends: the next stage or the ending after
// the goal, a retry or the game over after a lost life, and the starts of a
// game from the title, the extra-stage selection and the continue.
#pragma once

#include "world/player.h"

#include <string>

// Acts on what the player's status step asked for, in the same pass.
void finishStage(StageEnd end);

// A new game on the file, from its first stage (the title, the extra stages).
void startGame(const std::string& fileName);

// The continue after a game over: the current file from the first stage of
// the current world, with a new game's values.
void continueGame();

// The fade-in that follows the end of a clear, a retry or a game over, after
// a short pause in which the clock runs on.
void fadeBackIn();
