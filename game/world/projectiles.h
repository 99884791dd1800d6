// The projectile pool: the spanners the player throws and the bombs of bomb
// blocks, flying under gravity until they hit something or leave the screen.
#pragma once

#include "world/animator.h"
#include "world/body.h"

#include <cstdint>

enum ProjectileType : uint8_t { PROJECTILE_SPANNER = 0, PROJECTILE_BOMB = 1 };

struct Projectile : Body {
    double angle = 0; // launch angle in radians, 0 right, negative upwards
    Animator animator;
    uint8_t active = 0;

    int type() const { return animator.line; }
};

// Deactivates every slot and builds its frames; the first call of the run
// also mirrors them into sheet 6.
void resetProjectiles();
// Mirrors the projectile frames from sheet 2 into sheet 6 (after the sheets
// were loaded again).
void buildProjectileMirror();
// The first free slot, started at (x, y); -1 when all are in use.
int spawnProjectile(double x, double y, double angle, int type);
void burstProjectile(Projectile& projectile);
void updateProjectiles();
