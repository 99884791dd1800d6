// Plays one stage of a stage file on the headless backend from an input
// script, as a new game started at that stage, and tells what happened.
#pragma once

#include "replay/replay_script.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ReplayOptions {
    std::string gameFolder; // holds the game's data; the stage file is in its "stage" folder
    std::string stageFile;
    int stageIndex = 0;
    ReplayScript script;
    int frames = -1;         // frames to play; -1: the script's last frame and ten seconds more
    bool untilClear = false; // stop once the stage is cleared
    // Frames whose picture is saved, as PNG files.
    std::vector<std::pair<int, std::string>> savedFrames;
    // Called after every frame of play, with its number (for tests).
    std::function<void(int frame)> afterFrame;
};

struct ReplayResult {
    bool started = false; // the game started and the stage was loaded
    int frames = 0;       // frames of play run
    int goalFrame = -1;   // the frame the goal was reached
    int clearFrame = -1;  // the frame the next stage or the ending began
    bool ending = false;  // the file had no further stage
    bool gameOver = false;
    bool closed = false; // the game ended itself
    int livesLost = 0;
    int hitsTaken = 0; // times the player's damage went up
    int lives = 0;
    int score = 0;
    uint32_t totalScore = 0;
    int stageIndex = 0; // where the play ended
    double x = 0;
    double y = 0;
    std::vector<std::string> savedPictures; // the files written
};

// Starts the game afresh in the folder (headless), plays and returns what
// happened. The game folder must hold the pictures, sounds and definitions.
ReplayResult runReplay(const ReplayOptions& options);

// Holds down the game's buttons whose bits are set (a script's buttons of one
// frame) on the headless keyboard, and lets the others go.
void holdButtons(uint8_t buttons);

// The result in a few lines of text, as velta-replay prints it.
std::string describeReplay(const ReplayResult& result);
