// Making enemies and changing their kind.
#include "world/enemy.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "world/enemy_definition.h"

namespace {

// clang-format off
// Start speeds by kind; every kind from 14 up starts as a walker at -20.
constexpr double START_SPEEDS[] = {
    -20,  // 0  walker
    -20,  // 1  walker
    0,    // 2  resting shell
    -150, // 3  sliding shell
    -40,  // 4  walker
    -50,  // 5  jumper
    -100, // 6  jumper
    -40,  // 7  level flyer
    -40,  // 8  level flyer
    -150, // 9  cannon shot
    -50,  // 10 chaser
    -20,  // 11 thrown shot
    -20,  // 12 thrower
    -20,  // 13 homing flyer
};
// clang-format on

double startSpeed(int kind) {
    return kind >= 0 && kind < int(std::size(START_SPEEDS)) ? START_SPEEDS[kind] : -20;
}

} // namespace

Enemy makeEnemy(double x, double y, int kind) {
    Enemy enemy;
    enemy.x = x;
    enemy.y = y;
    setEnemyKind(enemy, kind);
    return enemy;
}

void setEnemyKind(Enemy& enemy, int kind) {
    const uint32_t now = gameClock();
    if (!loadEnemyDefinition(enemy, kind, now)) return;
    enemy.airborne = 0;
    enemy.facing = 0;
    enemy.vx = startSpeed(kind);
    // The first stop to throw comes after 0 to 2 seconds of walking.
    if (kind == ENEMY_THROWER) enemy.throwTimer = now - uint32_t(drawRandom() % 2000);
}
