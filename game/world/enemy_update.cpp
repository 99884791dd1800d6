// One frame of an enemy: its behaviour by kind, gravity, motion, drawing.
#include "world/enemy_behaviours.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/blit.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "world/collision.h"
#include "world/enemy_kinds.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

void reverse(Enemy& e) {
    e.vx = -e.vx;
    e.facing = !e.facing;
}

bool movingRight(const Enemy& e) {
    return e.vx >= 0;
}

int enemyAhead(const Enemy& e) {
    return movingRight(e) ? enemyRightProbe(e) : enemyLeftProbe(e);
}

int objectAhead(Enemy& e) {
    return movingRight(e) ? rightProbe(e) : leftProbe(e);
}

// Flush against the object it walked into, on the side it looked.
void putAgainst(Enemy& e, const MapObject& o, bool right) {
    e.x = right ? o.x - e.width + e.inset : o.x + 16 - e.inset;
}

bool movingTowards(const Enemy& other, const Enemy& e) {
    return (other.vx < 0 && e.vx > 0) || (other.vx > 0 && e.vx < 0);
}

void turnAtEnemy(Enemy& e, int found) {
    Enemy& other = world.enemies[size_t(found)];
    if (!enemyKind(other.kind).othersTurnAtIt) return;
    if (movingTowards(other, e)) reverse(other);
    reverse(e);
}

// Walls turn the walker round; so does the invisible barrier, which stops nothing.
void turnAtObject(Enemy& e, int found, bool right) {
    MapObject& o = world.objects[size_t(found)];
    if (!objectKind(o.kind).turnsEnemies) {
        if (!touch(o, CONTACT_LEFT, e, false)) return;
        putAgainst(e, o, right);
    }
    reverse(e);
}

// Looks ahead for an enemy and a map object, then turns at what it found.
void walkerStep(Enemy& e) {
    const bool right = movingRight(e);
    const int enemy = enemyAhead(e);
    const int object = objectAhead(e);
    if (enemy != NOTHING_FOUND) turnAtEnemy(e, enemy);
    if (object != NOTHING_FOUND) turnAtObject(e, object, right);
}

} // namespace

// --- Behaviours by kind ------------------------------------------------------

void walker(Enemy& e) {
    walkerStep(e);
}

void restingShell(Enemy& e) {
    e.vx = 0;
}

void slidingShell(Enemy& e) {
    const bool right = movingRight(e);
    const int found = enemyAhead(e);
    const int object = objectAhead(e);
    if (found != NOTHING_FOUND) {
        Enemy& other = world.enemies[size_t(found)];
        if (!enemyKind(other.kind).shot) {
            const bool otherSliding = other.kind == ENEMY_SLIDING_SHELL;
            knockOut(other);
            if (otherSliding) {
                knockOut(e);
                return;
            }
        }
    }
    if (object == NOTHING_FOUND) return;
    MapObject& o = world.objects[size_t(object)];
    // A sliding shell bumps blocks as a head does.
    if (!touch(o, CONTACT_SHELL, e, true)) return;
    playEffect(SE_UNI);
    putAgainst(e, o, right);
    reverse(e);
}

namespace {

// The chaser turns towards a player more than 48 pixels away.
void turnTowardsPlayer(Enemy& e) {
    if (e.airborne) return;
    if (player.x < e.x - 48 && e.vx > 0) {
        e.vx = -e.vx;
        e.facing = 0;
    } else if (player.x > e.x + 48 && e.vx < 0) {
        e.vx = -e.vx;
        e.facing = 1;
    }
}

void jumpAtPlayer(Enemy& e, double jumpSpeed, bool chases) {
    if (groundProbe(e) != NOTHING_FOUND) {
        if (chases) turnTowardsPlayer(e);
        if (std::fabs(player.x - e.x) <= 64) {
            e.airborne = 1;
            e.vy = jumpSpeed;
        }
    }
    if (e.airborne) {
        const int above = ceilingProbe(e);
        if (above != NOTHING_FOUND) e.y = world.objects[size_t(above)].y + e.height;
    }
    walkerStep(e);
}

} // namespace

void jumper(Enemy& e) {
    jumpAtPlayer(e, -200, false);
}

void chaser(Enemy& e) {
    jumpAtPlayer(e, -240, true);
}

void keepsItsSpeed(Enemy&) {}

void thrownShot(Enemy& e) {
    e.vy += 400 * frameTime;
}

namespace {

void throwShots(const Enemy& e) {
    const double x = e.x + e.width / 2 - 4;
    const double y = e.y - e.height - 4;
    // clang-format off
    const struct { double vx, vy; } shots[] = {{0, -150}, {-50, -150}, {50, -150}};
    // clang-format on
    for (const auto& shot : shots) {
        Enemy thrown = makeEnemy(x, y, ENEMY_THROWN_SHOT);
        thrown.vx = shot.vx;
        thrown.vy = shot.vy;
        world.pendingEnemies.push_back(thrown);
    }
}

} // namespace

// The first stop to throw comes after 0 to 2 seconds of walking.
void startThrowing(Enemy& e, uint32_t now) {
    e.throwTimer = now - uint32_t(drawRandom() % 2000);
}

// Walks for two seconds, stops and throws three shots, then walks on.
void thrower(Enemy& e) {
    const uint32_t now = gameClock();
    Animator& a = e.animator;
    if (a.line == 0) {
        if (now - e.throwTimer < 2001) {
            walkerStep(e);
            return;
        }
        e.vx = 0;
        e.throwTimer = 0;
        a.selectLine(1, now);
        return;
    }
    if (a.line != 1 || !a.finished()) return;
    if (now - a.changedAt >= 200) {
        e.vx = e.facing ? 20 : -20;
        a.selectLine(0, now);
    } else if (e.throwTimer == 0) {
        throwShots(e);
        e.throwTimer = now - uint32_t(drawRandom() % 50);
    }
}

// Accelerates towards the player, turning two and a half times as hard.
void homingFlyer(Enemy& e) {
    const double a = 100 * frameTime;
    if (player.x >= e.x) {
        e.facing = 1;
        e.vx += e.vx < 0 ? 2.5 * a : a;
    } else {
        e.facing = 0;
        e.vx -= e.vx > 0 ? 2.5 * a : a;
    }
    if (player.y >= e.y)
        e.vy += e.vy < 0 ? 2.5 * a : a;
    else
        e.vy -= e.vy > 0 ? 2.5 * a : a;
}

namespace {

// --- Physics and drawing -------------------------------------------------------

bool insideActivationWindow(const Enemy& e) {
    if (enemyKind(e.kind).alwaysActive) return true;
    const double screenX = e.x - world.cameraX;
    return screenX >= -288 && screenX <= 864;
}

void fallKnockedOut(Enemy& e, double dt) {
    e.airborne = 0;
    e.vy += 550 * dt;
    if (e.y - 32 > 288) e.active = 0;
}

void gravity(Enemy& e, double dt) {
    e.vy += 400 * dt;
    if (e.vy > 0) {
        const int ground = groundProbe(e);
        if (ground != NOTHING_FOUND) {
            MapObject& o = world.objects[size_t(ground)];
            if (touch(o, CONTACT_FEET, e, false)) {
                e.vy = 0;
                e.y = o.y - 16;
                e.airborne = 0;
            }
        }
        if (e.y - 32 > 288) e.active = 0;
    } else {
        const int above = ceilingProbe(e);
        if (above != NOTHING_FOUND) {
            MapObject& o = world.objects[size_t(above)];
            if (touch(o, CONTACT_HEAD, e, false)) {
                e.vy = 0;
                e.y = o.y + e.height + 1;
            }
        }
    }
}

void walkOffEdges(Enemy& e) {
    if (e.airborne || !enemyKind(e.kind).walksOffEdges || e.knockedOut) return;
    if (groundProbe(e) == NOTHING_FOUND) {
        e.vy = 0;
        e.airborne = 1;
    }
}

void move(Enemy& e, const EnemyKindRow& row, double dt) {
    e.vy = std::clamp(e.vy, -300.0, 300.0);
    if (!worldFrozen()) {
        if (!e.defeated()) e.x += e.vx * dt;
        e.y += e.vy * dt;
    }
    if (e.x < -double(e.width) && !row.alwaysActive) e.active = 0;
    // Shots that have left the stage to the right or below it would otherwise
    // stay active for ever, frozen out of sight or falling without end.
    if (row.shot && (e.x > world.stageRightEdge || e.y - e.height > 256)) e.active = 0;
}

} // namespace

void drawEnemy(const Enemy& e) {
    const FrameRect cell = e.animator.currentFrame();
    const int x = blitCoordinate(e.x - world.cameraX);
    const int facingSheet = e.facing ? SHEET_ENEMY : SHEET_ENEMY_MIRROR;
    if (e.defeated()) {
        // Stomped flat: the picture squashed to 4 pixels for a second. A
        // frame as wide as no sheet is draws nothing, so its width may be pinned.
        const int64_t width = int64_t(cell.right) - cell.left;
        scaledKeyedBlit(x, blitCoordinate(e.y - 4), facingSheet, cell.left, cell.top, cell.right,
                        cell.bottom, int(std::clamp<int64_t>(width, 0, INT32_MAX)), 4);
        return;
    }
    const int sheet = e.knockedOut ? SHEET_ENEMY_UPSIDE_DOWN : facingSheet;
    keyedBlit(x, blitCoordinate(e.y - e.height), sheet, cell.left, cell.top, cell.right,
              cell.bottom);
}

void updateEnemy(Enemy& e) {
    if (!insideActivationWindow(e)) return;
    const uint32_t now = gameClock();
    const double dt = frameTime;
    const EnemyKindRow& row = enemyKind(e.kind);
    if (!e.defeated() && !e.knockedOut) row.behaviour(e);
    if (e.knockedOut) fallKnockedOut(e, dt);
    if (e.airborne && enemyKind(e.kind).gravity) gravity(e, dt);
    walkOffEdges(e);
    move(e, enemyKind(e.kind), dt);
    if (!e.defeated() && !e.knockedOut && !worldFrozen()) e.animator.step(now);
    drawEnemy(e);
    if (e.defeated() && now - e.defeatTime > 1000) e.active = 0;
}

void knockOut(Enemy& e) {
    playEffect(SE_PEKO);
    e.knockedOut = 1;
    e.defeatTime = 0;
    e.vx = e.vx * -0.75;
    e.vy = -50;
    e.animator.buildMirror(SHEET_ENEMY, SHEET_ENEMY_UPSIDE_DOWN,
                           e.facing ? FLIP_UPSIDE_DOWN : FLIP_BOTH);
    award(80, e);
}
