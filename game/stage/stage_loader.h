// Building the world from one stage block of a stage file, and carrying a
// game from stage to stage.
#pragma once

#include <string>

// The index of the stage the world holds, counted from 0 in file order.
int currentStageIndex();

// Run right before the first stage load of a game.
void newGameReset();

// Resets the world and fills it from the stage numbered index (its low byte)
// of "stage/<fileName>"; starts the stage's music. False when the file
// cannot be read or has no such stage.
bool loadStage(const std::string& fileName, int index);

enum class StageClear {
    NoFile,    // nothing was loaded
    NextStage, // the next stage of the file is loaded
    LastStage, // the file has no further stage: the ending follows
};
// The clear bonus into the total score, then the next stage; after the last
// one, the player's score too and the ending text.
StageClear stageClear();

// The current stage again after a lost life; false when no file is loaded.
bool stageRetry();
