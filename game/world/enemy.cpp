// Making enemies and changing their kind.
#include "world/enemy.h"

#include "core/frame_clock.h"
#include "world/enemy_definition.h"
#include "world/enemy_kinds.h"

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
    const EnemyKindRow& row = enemyKind(enemy.kind);
    enemy.vx = row.startSpeed;
    if (row.start) row.start(enemy, now);
}
