#include "world/effects.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "world/world.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr uint32_t SCORE_SHOWN_MS = 800;

void buildAnimator(Animator& a) {
    a.clear();
    // clang-format off
    a.addFrame(0, 0, 16, 16);
    a.addFrame(16, 0, 32, 16);
    a.addFrame(32, 0, 48, 16);
    for (int i = 0; i <= 7; ++i) a.addFrame(32 * i, 32, 32 * i + 32, 64);
    a.addFrame(0, 64, 32, 96);
    a.addFrame(32, 64, 64, 96);
    a.addFrame(48, 0, 56, 8);
    const int spark[] = {0, 1, 2, 1};
    const int explosion[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const int debris[] = {13};
    // clang-format on
    a.setLine(EFFECT_SPARK, 40, false, spark, 4);
    a.setLine(EFFECT_EXPLOSION, 50, false, explosion, 10);
    a.setLine(EFFECT_DEBRIS, 0, false, debris, 1);
    a.setLine(EFFECT_SCORE, 0, false, debris, 1);
}

// Where the picture's top-left lies from the point the effect is made at.
void centre(Effect& f) {
    // clang-format off
    const struct { double dx, dy; } shifts[] = {{8, 8}, {16, 16}, {4, 4}, {12, 0}};
    // clang-format on
    const auto& shift = shifts[f.type()];
    f.x -= shift.dx;
    f.y -= shift.dy;
}

void move(Effect& f, uint32_t now, double dt) {
    switch (f.type()) {
    case EFFECT_DEBRIS:
        f.vy += 400 * dt;
        break;
    case EFFECT_SCORE:
        f.vy = 0;
        f.y -= 40 * dt;
        if (now - f.spawnTime >= SCORE_SHOWN_MS) f.active = 0;
        break;
    default: // sparks and explosions end with their last frame, which still shows
        if (f.animator.finished()) f.active = 0;
        break;
    }
    f.x += f.vx * dt;
    f.y += f.vy * dt;
}

void drawScore(const Effect& f, int x, int y) {
    if (f.delayOrValue == EXTRA_LIFE_POP_UP) {
        keyedBlit(x, y, SHEET_EFFECT, 0, 224, 24, 232);
        return;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", int(f.delayOrValue));
    for (int i = 0; digits[i] != '\0'; ++i) {
        if (digits[i] < '0' || digits[i] > '9') continue;
        const int d = digits[i] - '0';
        keyedBlit(x + 5 * i, y, SHEET_EFFECT, 4 * d, 232, 4 * d + 4, 240);
    }
}

void draw(Effect& f, uint32_t now) {
    const int x = blitCoordinate(std::trunc(f.x) - world.cameraX);
    const int y = blitCoordinate(f.y);
    if (f.type() == EFFECT_SCORE) {
        drawScore(f, x, y);
        return;
    }
    if (!world.dyingFlag) f.animator.step(now);
    const FrameRect cell = f.animator.currentFrame();
    keyedBlit(x, y, SHEET_EFFECT, cell.left, cell.top, cell.right, cell.bottom);
}

void update(Effect& f) {
    const uint32_t now = gameClock();
    if (f.type() != EFFECT_SCORE && now - f.spawnTime < uint32_t(f.delayOrValue)) return;
    if (f.sound != NO_SOUND) {
        playEffect(f.sound);
        f.sound = NO_SOUND;
    }
    if (!world.dyingFlag) move(f, now, frameTime);
    draw(f, now);
    const double screenX = f.x - world.cameraX;
    if (screenX < -64 || screenX > 336 || f.y < -64 || f.y > 304) f.active = 0;
}

} // namespace

void resetEffects() {
    for (Effect& f : world.effects) {
        f = Effect{};
        buildAnimator(f.animator);
    }
}

int spawnEffect(double x, double y, double vx, double vy, int type, int sound,
                int32_t delayOrValue) {
    for (size_t slot = 0; slot < world.effects.size(); ++slot) {
        Effect& f = world.effects[slot];
        if (f.active) continue;
        const uint32_t now = gameClock();
        f.active = 1;
        f.x = x;
        f.y = y;
        f.vx = vx;
        f.vy = vy;
        f.sound = sound;
        f.delayOrValue = delayOrValue;
        f.spawnTime = now;
        // Restarted at its first entry even when the slot last showed the same type.
        f.animator.line = uint8_t(type);
        f.animator.position = 1;
        f.animator.changedAt = now;
        centre(f);
        return int(slot);
    }
    return -1;
}

void updateEffects() {
    for (Effect& f : world.effects)
        if (f.active) update(f);
}
