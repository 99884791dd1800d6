// The player character: the record, its animation set and what it does.
#pragma once

#include "world/animator.h"
#include "world/body.h"

#include <cstdint>

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

constexpr int NO_OBJECT = -1;

struct Player : Body {
    Player() : Body{0, 0, 0, 0, 16, 32, 3} {}

    int32_t groundObject = NO_OBJECT; // index in the world's object list
    uint8_t facing = 1;               // 1 right, 0 left
    uint8_t aiming = 0;
    uint8_t aimShown = 0;
    int32_t score = 0;
    uint8_t spanners = 0;
    uint8_t coins = 0;
    uint8_t lives = 0;
    uint8_t gaugeSize = 0;
    int8_t damage = 0; // dies at gauge size + 4
    uint8_t crouchJump = 0;
    uint8_t airborne = 0;
    Animator animator;
    uint32_t throwTime = 0;
    uint32_t hurtTime = 0;
    double pendingBounce = 0;
    double aimAngle = 0; // -1 .. 1 radians, negative upwards
    uint8_t aimDirection = 0;
};

extern Player player;

// Builds the player's frames and lines once at start-up, selects the entry
// line and mirrors the frames into the left-facing sheet.
void playerStartupBuild();
// Mirrors the player's frames from chr.bmp's sheet into its mirror sheet.
void buildPlayerMirror();

// The start of a stage: at (0, 224), still, facing right, on the ground,
// entering.
void resetPlayerForStage();

// One frame of buttons, motion, collision, animation and drawing.
void updatePlayer();
// Draws the player as it stands: its current frame facing its way, see-through
// while hurt.
void drawPlayer();

// What the status step asks of the scene at the end of a death or the goal.
enum class StageEnd {
    None,
    ClearStage,    // the goal sequence has ended: the next stage or the ending
    CloseTestPlay, // the goal in a test play ends the program
    RetryStage,    // a life was lost and lives are left
    GameOver,      // a life was lost and none are left
};
// Caps, the death sequence and the goal sequence, once per frame after the pools.
StageEnd playerStatusStep();
// Forgets a sequence's fade-out (a new stage starts).
void resetStatusSequence();

// An enemy of the given kind hurts the player.
void hurtPlayer(int enemyKind);
// The player bounces off an enemy it stomped.
void stompBounce();
// Points, with a pop-up at the centre of a thing's box (EXTRA_LIFE_POP_UP
// shows the extra-life picture and adds nothing).
void award(int32_t points, const Body& at);
// Whether the player is dead: damage has reached gauge size + 4.
void killPlayer();
