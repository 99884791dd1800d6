#include "world/object_update.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/sound.h"
#include "world/enemy.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace {

constexpr double PI = OBJECT_PI;
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

void fallingBlock(MapObject& o, double dt) {
    if (o.vy > 0 || (o.x + 16 > player.x && o.x < player.x + 16)) o.vy += 400 * dt;
    freeFall(o, dt);
}

void circlingPlatform(MapObject& o, double dt) {
    const double turnRate = o.kind == KIND_CIRCLING_SLOW ? 0.2 : 0.3;
    o.phase += PI * turnRate * dt;
    const double oldX = o.x;
    o.x = o.pivotX + 64 * sinOf(o.phase);
    o.y = o.pivotY + 64 * cosOf(o.phase);
    o.vx = o.x - oldX; // pixels moved this frame: the player riding it moves as much
    wrap(o);
}

// Swings along the lower half of a circle.
void pendulum(MapObject& o, double dt) {
    o.phase += 0.5 * PI * dt;
    wrap(o);
    const double reach = o.kind == KIND_PENDULUM_SHORT ? 32 : 64;
    o.x = o.pivotX + reach * cosOf(o.phase);
    const double drop = reach * sinOf(o.phase);
    o.y = o.pivotY + (o.phase > PI ? -drop : drop);
}

void sideways(MapObject& o, double dt) {
    o.phase += 0.2 * PI * dt;
    const double oldX = o.x;
    o.x = o.pivotX + 104 + 104 * cosOf(o.phase);
    o.vx = o.x - oldX;
    wrap(o);
}

void upAndDown(MapObject& o, double dt) {
    o.phase += 0.2 * PI * dt;
    o.y = o.pivotY - 104 - 104 * cosOf(o.phase);
    wrap(o);
}

void circlingBall(MapObject& o, double dt) {
    o.phase += 0.35 * PI * dt;
    wrap(o);
    const double reach = o.kind == KIND_CIRCLING_BALL ? 32 : 64;
    o.x = o.pivotX + reach * cosOf(o.phase);
    o.y = o.pivotY + reach * sinOf(o.phase);
}

bool playerStandsOn(const MapObject& o) {
    const int ground = player.groundObject;
    return ground >= 0 && size_t(ground) < world.objects.size() &&
           &world.objects[size_t(ground)] == &o;
}

// Sinks 250 ms after the player has landed on it. phase holds the landing time.
void fallingPlatform(MapObject& o, double dt) {
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
void cannon(MapObject& o, double) {
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

using Motion = void (*)(MapObject&, double dt);

// clang-format off
const struct {
    std::initializer_list<uint8_t> kinds;
    Motion motion;
} MOTIONS[] = {
    {{KIND_FALLING_BLOCK},                                 fallingBlock},
    {{KIND_CIRCLING_SLOW, KIND_CIRCLING_FAST},             circlingPlatform},
    {{KIND_PENDULUM_SHORT, KIND_PENDULUM_LONG},            pendulum},
    {{KIND_HAZARD_SIDEWAYS, KIND_PLATFORM_SIDEWAYS},       sideways},
    {{KIND_HAZARD_UPDOWN, KIND_PLATFORM_UPDOWN},           upAndDown},
    {{KIND_CIRCLING_BALL, KIND_CIRCLING_BALL_LONG},        circlingBall},
    {{KIND_FALLING_PLATFORM},                              fallingPlatform},
    {{KIND_CANNON_LEFT, KIND_CANNON_RIGHT},                cannon},
};
// clang-format on

const std::array<Motion, 256>& motionsByKind() {
    static const std::array<Motion, 256> table = [] {
        std::array<Motion, 256> motions{};
        for (const auto& row : MOTIONS)
            for (uint8_t kind : row.kinds)
                motions[kind] = row.motion;
        return motions;
    }();
    return table;
}

} // namespace

void updateObject(MapObject& object) {
    if (worldFrozen()) return;
    if (Motion motion = motionsByKind()[object.kind]) motion(object, frameTime);
}
