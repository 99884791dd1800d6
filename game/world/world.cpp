#include "world/world.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/sheets.h"
#include "world/object_update.h"
#include "world/player.h"

World world;

namespace {

constexpr double CLOCK_LIMIT = 999;
constexpr double CAMERA_LEAD = 144; // the player stays at this screen x while the stage scrolls

void advanceStageClock() {
    if (worldFrozen()) return;
    world.elapsedTime += frameTime;
    if (world.elapsedTime > CLOCK_LIMIT) world.elapsedTime = CLOCK_LIMIT;
}

// The camera follows the player and stops at the stage's right end. A stage
// narrower than the screen gives a negative camera once the player passes 144.
void followPlayer() {
    if (player.x < CAMERA_LEAD) {
        world.cameraX = 0;
        return;
    }
    const double c = player.x - CAMERA_LEAD;
    world.cameraX = world.stageRightEdge - 288 > int(c) ? c : world.stageRightEdge - 288;
}

void stepObjects() {
    // By index: updates may append dropped items to the list.
    for (size_t i = 0; i < world.objects.size(); ++i) {
        if (world.objects[i].kind == 0) continue;
        updateObject(world.objects[i]);
        if (objectDrawn(world.objects[i])) drawObject(world.objects[i]);
    }
}

void stepEnemies() {
    for (size_t i = 0; i < world.enemies.size(); ++i)
        if (world.enemies[i].active) updateEnemy(world.enemies[i]);
}

void appendPending() {
    world.objects.insert(world.objects.end(), world.pendingObjects.begin(),
                         world.pendingObjects.end());
    world.pendingObjects.clear();
    world.enemies.insert(world.enemies.end(), world.pendingEnemies.begin(),
                         world.pendingEnemies.end());
    world.pendingEnemies.clear();
}

} // namespace

bool worldFrozen() {
    return world.dyingFlag || world.clearedFlag;
}

void resetWorld() {
    world.objects.clear();
    world.pendingObjects.clear();
    world.enemies.clear();
    world.pendingEnemies.clear();
    resetProjectiles();
    resetEffects();
    resetPlayerForStage();
    resetStatusSequence();
    world.dyingFlag = 0;
    world.clearedFlag = 0;
    world.entryFlag = 1;
    world.cameraX = 0;
    world.background = 0;
    world.elapsedTime = 0;
    world.musicName.clear();
    world.clearMessage.clear();
}

void rebuildMirroredSheets() {
    buildPlayerMirror();
    buildProjectileMirror();
    for (const Enemy& enemy : world.enemies) {
        if (!enemy.active) continue;
        enemy.animator.buildMirror(SHEET_ENEMY, SHEET_ENEMY_MIRROR, FLIP_LEFT_RIGHT);
        if (enemy.knockedOut)
            enemy.animator.buildMirror(SHEET_ENEMY, SHEET_ENEMY_UPSIDE_DOWN,
                                       enemy.facing ? FLIP_UPSIDE_DOWN : FLIP_BOTH);
    }
}

void worldStep() {
    advanceStageClock();
    followPlayer();
    stepObjects();
    stepEnemies();
    appendPending();
}
