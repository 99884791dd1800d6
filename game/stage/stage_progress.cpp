#include "stage/stage_progress.h"

#include "world/world.h"

void newGameReset() {
    world.cameraX = 0;
    world.newGameFlag = 1;
    world.itemTakenFlag = 0;
    world.worldNumber = 0;
    world.stageNumber = 0;
    world.fileName.clear();
}
