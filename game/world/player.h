// The player character's record and its animation set.
#pragma once

#include "world/animator.h"
#include "world/body.h"

#include <cstdint>

struct MapObject;

enum PlayerLine {
    LINE_STANDING = 0,
    LINE_WALKING = 1,
    LINE_DASHING = 2,
    LINE_SKIDDING = 3,
    LINE_JUMPING = 4,
    LINE_CROUCHING = 5,
    LINE_THROWING = 6,
    LINE_CROUCH_THROWING = 7,
    LINE_HURT = 8,
    LINE_DYING = 9,
    LINE_LEAVING = 10,
    LINE_GOAL_POSE = 11,
    LINE_ENTERING = 12,
};

struct Player : Body {
    Player() : Body{0, 0, 0, 0, 16, 32, 3} {}
    MapObject* groundObject = nullptr;
    uint8_t facing = 1; // 1 right, 0 left
    uint8_t aiming = 0;
    uint8_t aimShown = 0;
    int32_t score = 0;
    uint8_t spanners = 0;
    uint8_t coins = 0;
    uint8_t lives = 0;
    uint8_t gaugeSize = 0;
    int8_t damage = 0;
    uint8_t crouchJump = 0;
    uint8_t airborne = 0;
    Animator animator;
    uint32_t throwTime = 0;
    uint32_t hurtTime = 0;
    double pendingBounce = 0;
    double aimAngle = 0;
    uint8_t aimDirection = 0;
};

extern Player player;

// Builds the player's frames and lines once at start-up, selects the entry
// line and mirrors the frames into the left-facing sheet.
void playerStartupBuild();
// Mirrors the player's frames from chr.bmp's sheet into its mirror sheet.
void buildPlayerMirror();
