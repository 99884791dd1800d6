#include "world/object_motion.h"

#include "core/frame_clock.h"
#include "core/game_pi.h"
#include "core/random.h"
#include "platform/sound.h"
#include "world/enemy.h"
#include "world/object_update.h"
#include "world/player.h"
#include "world/world.h"

#include <cmath>

namespace {

constexpr double FULL_TURN = 6.2831853076;

// The moving kinds take sin and cos of their phase in single precision.
double sinOf(double phase) {
    return std::sin(float(phase));
}
double cosOf(double phase) {
    return std::cos(float(phase));
}

void wrap(MapObject& o) {
    if (o.phase > FULL_TURN) o.phase = 0;
}

// Only the falling kinds fall, and nothing stops them.
void freeFall(MapObject& o, double dt) {
    o.x += o.vx * dt;
    o.y += o.vy * dt;
    if (o.y - 16 > 320 || o.y < -64) o.kind = KIND_REMOVED;
}

} // namespace

void fallingBlock(MapObject& o, const ObjectKindRow&, double dt) {
    if (o.vy > 0 || (o.x + 16 > player.x && o.x < player.x + 16)) o.vy += 400 * dt;
    freeFall(o, dt);
}

void circlingPlatform(MapObject& o, const ObjectKindRow& row, double dt) {
    o.phase += GAME_PI * row.turnRate * dt;
    const double oldX = o.x;
    o.x = o.pivotX + row.reach * sinOf(o.phase);
    o.y = o.pivotY + row.reach * cosOf(o.phase);
    o.vx = o.x - oldX; // pixels moved this frame: the player riding it moves as much
    wrap(o);
}

// Swings along the lower half of a circle.
void pendulum(MapObject& o, const ObjectKindRow& row, double dt) {
    o.phase += row.turnRate * GAME_PI * dt;
    wrap(o);
    o.x = o.pivotX + row.reach * cosOf(o.phase);
    const double drop = row.reach * sinOf(o.phase);
    o.y = o.pivotY + (o.phase > GAME_PI ? -drop : drop);
}

// Over twice the reach, from the pivot to the right and back.
void sideways(MapObject& o, const ObjectKindRow& row, double dt) {
    o.phase += row.turnRate * GAME_PI * dt;
    const double oldX = o.x;
    o.x = o.pivotX + row.reach + row.reach * cosOf(o.phase);
    o.vx = o.x - oldX;
    wrap(o);
}

// Over twice the reach, from the pivot up and back.
void upAndDown(MapObject& o, const ObjectKindRow& row, double dt) {
    o.phase += row.turnRate * GAME_PI * dt;
    o.y = o.pivotY - row.reach - row.reach * cosOf(o.phase);
    wrap(o);
}

void circlingBall(MapObject& o, const ObjectKindRow& row, double dt) {
    o.phase += row.turnRate * GAME_PI * dt;
    wrap(o);
    o.x = o.pivotX + row.reach * cosOf(o.phase);
    o.y = o.pivotY + row.reach * sinOf(o.phase);
}

namespace {

bool playerStandsOn(const MapObject& o) {
    const int ground = player.groundObject;
    return ground >= 0 && size_t(ground) < world.objects.size() &&
           &world.objects[size_t(ground)] == &o;
}

} // namespace

// Sinks 250 ms after the player has landed on it. phase holds the landing time.
void fallingPlatform(MapObject& o, const ObjectKindRow&, double dt) {
    const uint32_t now = gameClock();
    if (o.vy > 0)
        o.vy += 200 * dt;
    else if (o.phase != 0 && now - o.phase > 250)
        o.vy = 0.2;
    if (playerStandsOn(o) && o.phase == 0 && player.vy >= 0) o.phase = now;
    freeFall(o, dt);
}

// Fires a cannon shot now and then while near the screen. pivot x holds the
// time of the last shot, phase the milliseconds until the next.
void cannon(MapObject& o, const ObjectKindRow&, double) {
    const double screenX = o.x - world.cameraX;
    if (screenX <= -64 || screenX >= 352) return;
    const uint32_t now = gameClock();
    if (now - uint32_t(int64_t(o.pivotX)) <= uint32_t(int64_t(o.phase))) return;
    playEffect(SE_TAIHO);
    const bool left = o.kind == KIND_CANNON_LEFT;
    Enemy shot = makeEnemy(left ? o.x - 16 : o.x + 16, o.y + 1, ENEMY_CANNON_SHOT);
    const int speed = 120 + (drawRandom() % 50);
    shot.vx = left ? -speed : speed;
    shot.vy = 0;
    shot.facing = left ? 0 : 1;
    world.pendingEnemies.push_back(shot);
    o.phase = 420 + (drawRandom() % 2000);
    o.pivotX = now;
}

void updateObject(MapObject& object) {
    if (worldFrozen()) return;
    const ObjectKindRow& row = objectKind(object.kind);
    if (row.motion) row.motion(object, row, frameTime);
}
