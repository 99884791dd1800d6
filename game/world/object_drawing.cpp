// Drawing map objects: their cells of mapobj.bmp, the chains of the swinging
// kinds, the goal's blink and objects coming out of a block.
#include "world/object_update.h"

#include "core/frame_clock.h"
#include "core/game_pi.h"
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
void drawChain(const MapObject& o, const ObjectKindRow& row) {
    const bool swings = row.chain.swings;
    const int links = row.chain.links;
    const float angle = swings ? -float(o.phase) : float(o.phase);
    const double side = !swings || o.phase > GAME_PI ? 1 : -1;
    for (int i = 0; i < links; ++i) {
        const double d = double(i) / links * row.reach;
        const int x = blitCoordinate(o.pivotX - world.cameraX + 4 + std::cos(angle) * d);
        const int y = blitCoordinate(o.pivotY - 12 + std::sin(angle) * d * side);
        keyedBlit(x, y, SHEET_EFFECT, 56, 0, 64, 8);
    }
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
    return objectKind(o.kind).drawn;
}

void drawObject(MapObject& o) {
    advanceEmergence(o);
    const ObjectKindRow& row = objectKind(o.kind);
    if (row.chain.links) drawChain(o, row);
    int column = o.kind % 16;
    if (row.blinks && goalBlinkOn()) column += 1;
    const int left = column * CELL, top = (o.kind / 16) * CELL;
    const double e = o.emergeOffset;
    // An emerging object shows only the part already out of its block.
    keyedBlit(blitCoordinate(o.x - world.cameraX), blitCoordinate(o.y - 16 + e), SHEET_MAPOBJ, left,
              top, left + CELL, top + CELL - int(e));
}
