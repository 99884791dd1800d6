#include "world/projectiles.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/blit.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "world/collision.h"
#include "world/effects.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"

#include <cmath>

namespace {

bool mirrorBuilt = false;

void buildAnimator(Animator& a) {
    a.clear();
    // clang-format off
    a.addFrame(0, 0, 8, 8);
    a.addFrame(8, 0, 16, 8);
    a.addFrame(0, 8, 8, 16);
    a.addFrame(8, 8, 16, 16);
    for (int i = 0; i <= 3; ++i) a.addFrame(32 + 8 * i, 0, 40 + 8 * i, 8);
    for (int i = 0; i <= 3; ++i) a.addFrame(32 + 8 * i, 8, 40 + 8 * i, 16);
    const int spanner[] = {0, 2, 1, 3};
    const int bomb[] = {4, 5, 6, 7, 8, 9, 10, 11};
    // clang-format on
    a.setLine(PROJECTILE_SPANNER, 50, true, spanner, 4);
    a.setLine(PROJECTILE_BOMB, 50, true, bomb, 8);
}

// The centre of the projectile's box, where its spark shows.
void sparkAt(const Projectile& p) {
    spawnEffect(p.x + p.width / 2, p.y - p.height / 2, 0, 0, EFFECT_SPARK);
}

bool overlaps(const Projectile& p, const Enemy& e) {
    return p.x <= e.x + e.width - e.inset && p.x + p.width >= e.x + e.inset &&
           p.y - p.height <= e.y && p.y >= e.y - e.height;
}

bool hitEnemies(Projectile& p) {
    bool hit = false;
    for (Enemy& e : world.enemies) {
        if (!p.active) break;
        if (!e.touchable() || !overlaps(p, e)) continue;
        if (enemyContact(e, CONTACT_PROJECTILE)) {
            playEffect(SE_BREAK);
            p.active = 0;
            hit = true;
        }
    }
    return hit;
}

int firstObjectMet(Projectile& p) {
    for (int (*probe)(Body&) : {leftProbe, rightProbe, ceilingProbe, groundProbe}) {
        const int found = probe(p);
        if (found != NOTHING_FOUND) return found;
    }
    return NOTHING_FOUND;
}

void collide(Projectile& p) {
    const FrameRect frame = p.animator.currentFrame();
    p.width = frame.right - frame.left;
    p.height = frame.bottom - frame.top;
    p.inset = 0;
    if (hitEnemies(p)) {
        playEffect(SE_KIN);
        sparkAt(p);
        burstProjectile(p);
    }
    // The map objects are tried whether or not an enemy was hit, with whatever
    // the slot now holds: a bomb's burst may have put a new spanner there.
    const int found = firstObjectMet(p);
    if (found != NOTHING_FOUND &&
        touch(world.objects[size_t(found)], CONTACT_PROJECTILE, p, true)) {
        p.active = 0;
        playEffect(SE_KIN);
        sparkAt(p);
        burstProjectile(p);
    }
}

void draw(const Projectile& p) {
    const FrameRect cell = p.animator.currentFrame();
    const int x = blitCoordinate(std::trunc(p.x) - world.cameraX);
    const int y = blitCoordinate(std::trunc(p.y)) - p.height;
    keyedBlit(x, y, p.vx > 0 ? SHEET_BEAM : SHEET_BEAM_MIRROR, cell.left, cell.top, cell.right,
              cell.bottom);
}

void update(Projectile& p) {
    const double dt = frameTime;
    if (!world.dyingFlag) {
        p.vy += 400 * dt;
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        collide(p);
        p.animator.step(gameClock());
    }
    draw(p);
    const double screenX = p.x - world.cameraX;
    if (screenX < -64 || screenX > 336 || p.y < -64 || p.y > 304) p.active = 0;
}

} // namespace

void resetProjectiles() {
    for (Projectile& p : world.projectiles) {
        p = Projectile{};
        buildAnimator(p.animator);
    }
    if (!mirrorBuilt) {
        buildProjectileMirror();
        mirrorBuilt = true;
    }
}

void buildProjectileMirror() {
    Animator frames;
    buildAnimator(frames);
    frames.buildMirror(SHEET_BEAM, SHEET_BEAM_MIRROR, FLIP_LEFT_RIGHT);
}

int spawnProjectile(double x, double y, double angle, int type) {
    for (size_t slot = 0; slot < world.projectiles.size(); ++slot) {
        Projectile& p = world.projectiles[slot];
        if (p.active) continue;
        p.active = 1;
        p.x = x;
        p.y = y;
        p.angle = angle;
        p.animator.selectLine(type, gameClock());
        if (type == PROJECTILE_SPANNER) {
            const int r1 = drawRandom();
            const int r2 = drawRandom();
            const float a = float(angle);
            p.vx = double(std::cos(a)) * (200 + (r1 % 80)) + player.vx / 2;
            p.vy = double(std::sin(a)) * (200 + (r2 % 80)) + player.vy / 2;
        } else {
            p.vx = 0;
            p.vy = -100;
        }
        return int(slot);
    }
    return -1;
}

void burstProjectile(Projectile& p) {
    if (p.type() == PROJECTILE_SPANNER) {
        spawnEffect(p.x, p.y, 0, 0, EFFECT_EXPLOSION);
        return;
    }
    for (int i = 0; i < 6; ++i) {
        const int rx = drawRandom(), ry = drawRandom();
        const int delay = i == 0 ? 0 : drawRandom() % (100 * i);
        spawnEffect(p.x - 24 + (rx % 48), p.y - 24 + (ry % 48), 0, 0, EFFECT_EXPLOSION, SE_BREAK,
                    delay);
    }
    // A fan of five spanners from up-right to up-left, all from the bomb's
    // last place: the first may take the bomb's own slot once it has gone.
    const double dt = frameTime;
    const double x = p.x - p.vx * dt, y = p.y - p.vy * dt;
    for (int j = 0; j < 5; ++j)
        spawnProjectile(x, y, -0.785 - j * 0.25 * 1.57, PROJECTILE_SPANNER);
}

void updateProjectiles() {
    for (Projectile& p : world.projectiles)
        if (p.active) update(p);
}
