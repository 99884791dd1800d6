// An enemy of the stage: its box, kind, state and animation.
#pragma once

#include "world/animator.h"
#include "world/body.h"

#include <cstdint>

struct Enemy : Body {
    uint8_t facing = 0; // 1 right, 0 left; the pictures face right
    uint8_t active = 0;
    uint8_t knockedOut = 0;
    uint8_t kind = 0;
    uint8_t airborne = 0;
    uint8_t hitCount = 0;
    Animator animator;
    uint32_t defeatTime = 0;
    uint32_t throwTimer = 0;
};
