// The one world: everything of the stage being played.
#pragma once

#include <cstdint>
#include <string>

struct World {
    uint32_t totalScore = 0;
    int32_t retryCount = 0;
    double elapsedTime = 0;
    int32_t stageRightEdge = -9999;
    int32_t worldNumber = 0;
    int32_t stageNumber = 0;
    double cameraX = 0;
    uint32_t deathTime = 0;
    uint8_t itemTakenFlag = 0;
    uint8_t newGameFlag = 0;
    uint8_t dyingFlag = 0;
    uint8_t clearedFlag = 0;
    uint8_t entryFlag = 0;
    uint8_t background = 0;
    std::string fileName; // stage file inside the "stage" folder; empty until the first load
    std::string musicName;
    std::string clearMessage;
    // What the last clear of a file leaves for the ending.
    std::string endingText; // the clear message with "^" turned into line breaks
    uint32_t finalScore = 0;
    char scoreCode[8] = {};
    uint8_t newHighScoreFlag = 0; // the final score entered the ranking
    uint8_t mainGameFlag = 0;     // the main game's file was cleared
};

extern World world;
