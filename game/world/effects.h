// The effect pool: sparks, explosions, block debris and score pop-ups, which
// only show. An effect may wait before it appears and play a sound when it does.
#pragma once

#include "world/animator.h"
#include "world/body.h"

#include <cstdint>

enum EffectType : uint8_t {
    EFFECT_SPARK = 0,
    EFFECT_EXPLOSION = 1,
    EFFECT_DEBRIS = 2,
    EFFECT_SCORE = 3,
};

constexpr int NO_SOUND = -1;
// The score pop-up's value that shows the extra-life picture instead of points.
constexpr int32_t EXTRA_LIFE_POP_UP = 65536;

struct Effect : Body {
    Animator animator;
    uint32_t spawnTime = 0;
    int32_t delayOrValue = 0; // types 0..2: milliseconds before it shows; type 3: the points
    int sound = NO_SOUND;     // played once when it shows
    uint8_t active = 0;

    int type() const { return animator.line; }
};

void resetEffects();
// The first free slot, centred on (x, y); -1 when all are in use.
int spawnEffect(double x, double y, double vx = 0, double vy = 0, int type = EFFECT_EXPLOSION,
                int sound = NO_SOUND, int32_t delayOrValue = 0);
void updateEffects();
