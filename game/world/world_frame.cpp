#include "world/world_frame.h"

#include "world/effects.h"
#include "world/projectiles.h"
#include "world/world.h"

StageEnd worldFrame() {
    worldStep();
    updatePlayer();
    updateProjectiles();
    updateEffects();
    return playerStatusStep();
}
