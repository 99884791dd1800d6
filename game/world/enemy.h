// An enemy of the stage: its box, kind, state and animation, and what it does.
#pragma once

#include "world/animator.h"
#include "world/body.h"
#include "world/contact.h"

#include <cstdint>

// clang-format off
enum EnemyKind : uint8_t {
    ENEMY_WALKER         = 0,  // stomped into a resting shell
    ENEMY_WALKER_HEAVY   = 1,
    ENEMY_RESTING_SHELL  = 2,
    ENEMY_SLIDING_SHELL  = 3,
    ENEMY_WALKER_FAST    = 4,
    ENEMY_JUMPER         = 5,
    ENEMY_JUMPER_FAST    = 6,
    ENEMY_FLYER_HEAVY    = 7,  // drops to a kind 1 when hit
    ENEMY_FLYER          = 8,  // drops to a kind 0 when hit
    ENEMY_CANNON_SHOT    = 9,
    ENEMY_CHASER         = 10,
    ENEMY_THROWN_SHOT    = 11,
    ENEMY_THROWER        = 12,
    ENEMY_HOMING_FLYER   = 13,
};
// clang-format on

struct Enemy : Body {
    uint8_t facing = 0; // 1 right, 0 left; the pictures face right
    uint8_t active = 0;
    uint8_t knockedOut = 0;
    uint8_t kind = 0;
    uint8_t airborne = 0;
    uint8_t hitCount = 0;
    Animator animator;
    uint32_t defeatTime = 0; // stomped flat at this time; 0 otherwise
    uint32_t throwTimer = 0;

    bool defeated() const { return defeatTime != 0; }
    // Whether the player and projectiles can meet it.
    bool touchable() const { return active && !defeated() && !knockedOut; }
};

// An enemy at (x, y) (bottom-left) of the given kind, read from its definition.
Enemy makeEnemy(double x, double y, int kind);

// Reads the kind's definition into the enemy and gives it the kind's start
// values; it stays inactive when the definition is missing or incomplete.
void setEnemyKind(Enemy& enemy, int kind);

// One frame of behaviour, physics and drawing.
void updateEnemy(Enemy& enemy);

// Draws the enemy as it stands: its current frame facing its way, upside down
// once knocked out, squashed flat once stomped.
void drawEnemy(const Enemy& enemy);

// The player or a projectile meets the enemy; true when the contact counted.
bool enemyContact(Enemy& enemy, Contact contact);

// Knocked upside down out of the stage, with 80 points.
void knockOut(Enemy& enemy);
