// Drawing map objects: their cells of mapobj.bmp, the chains of the swinging
// kinds, the goal's blink and objects coming out of a block.
#include "world/object_update.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/sheets.h"
#include "world/object_kinds.h"
#include "world/world.h"

#include <cmath>

namespace {

constexpr int CELL = 16;
constexpr uint32_t GOAL_BLINK_MS = 250;

// One blink for every goal, kept across stages.
struct GoalBlink {
    bool on = false;
    uint32_t toggledAt = 0;
} goalBlink;

void advanceEmergence(MapObject& o) {
    if (o.emergeOffset <= 0) return;
    o.emergeOffset -= 40 * frameTime;
    if (o.emergeOffset < 0) o.emergeOffset = 0;
}

// The links of a chain from the pivot towards the ball.
void drawChain(const MapObject& o, int links, double reach, bool swinging) {
    const float angle = swinging ? -float(o.phase) : float(o.phase);
    const double side = !swinging || o.phase > OBJECT_PI ? 1 : -1;
    for (int i = 0; i < links; ++i) {
        const double d = double(i) / links * reach;
        const int x = blitCoordinate(o.pivotX - world.cameraX + 4 + std::cos(angle) * d);
        const int y = blitCoordinate(o.pivotY - 12 + std::sin(angle) * d * side);
        keyedBlit(x, y, SHEET_EFFECT, 56, 0, 64, 8);
    }
}

void drawWholeCell(const MapObject& o) {
    const int left = (o.kind % 16) * CELL, top = (o.kind / 16) * CELL;
    keyedBlit(blitCoordinate(o.x - world.cameraX), blitCoordinate(o.y - 16), SHEET_MAPOBJ, left,
              top, left + CELL, top + CELL);
}

bool goalBlinkOn() {
    const uint32_t now = gameClock();
    if (now - goalBlink.toggledAt >= GOAL_BLINK_MS) {
        goalBlink.on = !goalBlink.on;
        goalBlink.toggledAt = now;
    }
    return goalBlink.on;
}

} // namespace

bool objectDrawn(const MapObject& o) {
    return o.kind != KIND_REMOVED && o.kind != KIND_HIDDEN_BLOCK && o.kind != KIND_ENEMY_BARRIER;
}

void drawObject(MapObject& o) {
    advanceEmergence(o);
    switch (o.kind) {
    case KIND_PENDULUM_SHORT:
        drawChain(o, 5, 32, true);
        drawWholeCell(o);
        return;
    case KIND_PENDULUM_LONG:
        drawChain(o, 8, 64, true);
        drawWholeCell(o);
        return;
    case KIND_CIRCLING_BALL:
        drawChain(o, 5, 32, false);
        drawWholeCell(o);
        return;
    case KIND_CIRCLING_BALL_LONG:
        drawChain(o, 8, 64, false);
        drawWholeCell(o);
        return;
    default:
        break;
    }
    int column = o.kind % 16;
    if (o.kind == KIND_GOAL && goalBlinkOn()) column += 1;
    const int left = column * CELL, top = (o.kind / 16) * CELL;
    const double e = o.emergeOffset;
    // An emerging object shows only the part already out of its block.
    keyedBlit(blitCoordinate(o.x - world.cameraX), blitCoordinate(o.y - 16 + e), SHEET_MAPOBJ, left,
              top, left + CELL, top + CELL - int(e));
}
