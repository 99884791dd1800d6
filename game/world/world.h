// The one world: everything of the stage being played.
#pragma once

#include "world/contact.h"
#include "world/effects.h"
#include "world/enemy.h"
#include "world/map_object.h"
#include "world/projectiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int POOL_SLOTS = 128;

struct World {
    std::vector<MapObject> objects;        // load order; removed objects keep their place
    std::vector<MapObject> pendingObjects; // made during a frame, appended at its end
    std::vector<Enemy> enemies;
    std::vector<Enemy> pendingEnemies;
    std::array<Projectile, POOL_SLOTS> projectiles;
    std::array<Effect, POOL_SLOTS> effects;

    uint32_t totalScore = 0;
    int32_t retryCount = 0;
    double elapsedTime = 0; // seconds on the stage, at most 999
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
    uint8_t background = 0; // 0 day, 1 night
    std::string fileName;   // stage file inside the "stage" folder; empty until the first load
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

// Empties the lists and the pools, puts the player at the stage's start and
// sets the entry flag: what the stage loader does before it fills the world.
void resetWorld();

// One frame of the world: the stage clock, the camera, every map object and
// every active enemy (each moved, then drawn), then what the frame made.
void worldStep();

// Fills the mirrored sheets again from the sheets they mirror: the player's,
// the projectiles' and those of the enemies on the stage (after the sheets
// were loaded again on re-activation).
void rebuildMirroredSheets();

// Interaction (collecting, breaking, hurting) is off while the player dies
// or after the goal.
bool worldFrozen();
