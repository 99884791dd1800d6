// One frame of the player: buttons, motion, collision, animation, drawing.
#include "world/player.h"

#include "core/fades.h"
#include "core/frame_clock.h"
#include "core/game_pi.h"
#include "core/play_state.h"
#include "core/random.h"
#include "platform/blit.h"
#include "platform/input.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "world/collision.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player_collision.h"
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The flags of one frame, taken before anything moves.
struct Frame {
    uint32_t now;
    double dt;
    bool dash;
    bool crouch;
    bool canAct;
    double topSpeed;
};

bool held(int button) {
    return input.state(button) == STATE_HELD;
}
bool justPressed(int button) {
    return input.state(button) == STATE_PRESSED;
}
bool justReleased(int button) {
    return input.state(button) == STATE_RELEASED;
}

bool sequenceRunning() {
    return world.dyingFlag || world.clearedFlag || world.entryFlag;
}

int line() {
    return player.animator.line;
}

void select(int n, const Frame& f) {
    player.animator.selectLine(n, f.now);
}

bool crouchLineShown() {
    return line() == LINE_CROUCHING || line() == LINE_CROUCH_THROWING;
}

// The height the player throws from and aims from.
int throwHeight() {
    return crouchLineShown() ? 16 : 32;
}

Frame takeFrame() {
    Frame f;
    f.now = gameClock();
    f.dt = frameTime;
    f.dash = held(BUTTON_C) && !sequenceRunning();
    f.crouch = held(BUTTON_DOWN) && !player.airborne && !player.aiming && !sequenceRunning();
    const bool hurtOver = player.hurtTime == 0 || f.now - player.hurtTime >= 500;
    f.canAct = !fadeRunning() && !sequenceRunning() && hurtOver;
    f.topSpeed = f.dash ? 140 : 60;
    return f;
}

MapObject* objectAt(int index) {
    if (index < 0 || size_t(index) >= world.objects.size()) return nullptr;
    return &world.objects[size_t(index)];
}

double acceleration(const Frame& f) {
    if (player.airborne) return 120;
    return f.dash ? 352 : 250;
}

void crouchLine(const Frame& f) {
    if (f.crouch)
        select(LINE_CROUCHING, f);
    else if (line() == LINE_CROUCHING)
        select(LINE_STANDING, f);
}

int runLine(const Frame& f) {
    return f.dash ? LINE_DASHING : LINE_WALKING;
}

void steer(const Frame& f) {
    if (!f.canAct || f.crouch) return;
    if (held(BUTTON_LEFT)) {
        select(player.vx > 20 ? LINE_SKIDDING : runLine(f), f);
        if (player.vx > 0 && player.vx < 20) player.vx = -20;
        player.vx -= acceleration(f) * f.dt;
        player.facing = 0;
    }
    if (held(BUTTON_RIGHT)) {
        select(player.vx >= -20 ? runLine(f) : LINE_SKIDDING, f);
        if (player.vx > -20 && player.vx < 0) player.vx = 20;
        player.vx += acceleration(f) * f.dt;
        player.facing = 1;
    }
}

void startAiming(const Frame& f) {
    if (!justPressed(BUTTON_A) || !f.canAct || player.aiming || f.crouch || player.spanners == 0)
        return;
    player.aiming = 1;
    player.aimShown = 0;
    player.aimDirection = 0;
    player.aimAngle = 0;
}

double throwAngle(const Frame& f) {
    const bool right = player.facing == 1;
    double angle =
        f.crouch ? (right ? 0 : GAME_PI) : (right ? player.aimAngle : GAME_PI - player.aimAngle);
    const int r1 = drawRandom();
    const int r2 = drawRandom();
    const double up = (r1 % 78) * 0.005, down = (r2 % 78) * 0.0075;
    angle += right ? up - down : down - up;
    if (f.crouch) {
        angle += right ? -0.2 : 0.2;
        if (held(BUTTON_UP)) angle = right ? -1.0 : 4.1415926538;
    }
    return angle;
}

void throwSpanner(const Frame& f) {
    if (!justReleased(BUTTON_A) || fadeRunning() || sequenceRunning() || player.spanners == 0)
        return;
    if (!player.aiming && !f.crouch) return;
    player.aiming = 0;
    player.spanners -= 1;
    playEffect(SE_YAA);
    const double angle = throwAngle(f);
    const double x = player.facing ? player.x + 16 : player.x - 6;
    const double y = player.y - throwHeight() / 2 + 4;
    spawnProjectile(x, y, angle, PROJECTILE_SPANNER);
    player.throwTime = f.now;
}

// Standing on a moving object carries the player with it.
void rideGroundObject() {
    const MapObject* o = objectAt(player.groundObject);
    if (!o || world.dyingFlag) return;
    const ObjectKindRow& row = objectKind(o->kind);
    if (row.carriesUpDown) player.y = o->y - 16;
    if (row.carriesAcross) player.x += o->vx;
}

void checkFooting(const Frame& f) {
    const int ground = groundProbe(player);
    if (ground != NOTHING_FOUND) {
        player.groundObject = ground;
        if (world.entryFlag) player.vy = 0;
    } else if (!world.entryFlag) {
        // Walked off an edge.
        player.vy = 0;
        player.airborne = 1;
        player.crouchJump = f.crouch;
        player.groundObject = NO_OBJECT;
    }
}

void jump(const Frame& f) {
    if (!justPressed(BUTTON_B) || !f.canAct) return;
    playEffect(SE_JUMP);
    player.airborne = 1;
    player.crouchJump = f.crouch;
    const double speed = std::fabs(player.vx);
    player.vy = -215 - (speed > 50 ? speed / 4 : 0);
    if (const MapObject* o = objectAt(player.groundObject)) {
        if (objectKind(o->kind).carriesAcross) player.vx += o->vx / 2;
    }
    player.groundObject = NO_OBJECT;
}

void land(const Frame& f) {
    if (player.vy < 0) {
        player.groundObject = NO_OBJECT;
        return;
    }
    const int ground = player.groundObject != NO_OBJECT ? player.groundObject : groundProbe(player);
    MapObject* o = objectAt(ground);
    if (!o || !touch(*o, CONTACT_FEET, player, true)) return;
    player.vy = 0;
    player.y = o->y - 16;
    player.airborne = 0;
    player.groundObject = ground;
    if (line() == LINE_JUMPING) select(LINE_STANDING, f);
}

bool belowTheStage() {
    return player.y - 32 > 320;
}

// Out of sight below the stage after touching the goal: the goal sequence
// plays on there as if the player had landed.
bool clearedBelowTheStage() {
    return world.clearedFlag && belowTheStage();
}

// A player who reached the goal and then fell out of the stage has still
// cleared it: it stops out of sight and the goal sequence finishes as on
// landing. Killing it, or putting it back at the top, would leave that
// sequence waiting for ever for a landing.
void fallOutOfTheStage() {
    if (player.vy < 0 || !belowTheStage()) return;
    if (clearedBelowTheStage())
        player.vy = 0;
    else if (withoutDyingSwitch)
        player.y = 0;
    else
        killPlayer();
}

void onTheGround(const Frame& f) {
    rideGroundObject();
    checkFooting(f);
    jump(f);
}

void inTheAir(const Frame& f) {
    if (held(BUTTON_B) && f.canAct && player.vy < 0) player.vy -= 210 * f.dt;
    player.vy += 550 * f.dt;
    if (!clearedBelowTheStage()) select(player.crouchJump ? LINE_CROUCHING : LINE_JUMPING, f);
    land(f);
    fallOutOfTheStage();
}

void limitSpeeds(const Frame& f) {
    player.vy = std::clamp(player.vy, -300.0, 300.0);
    player.vx = std::clamp(player.vx, -f.topSpeed, f.topSpeed);
}

// Friction stops the player once no direction is pressed and the speed is
// down to 20.
void friction(const Frame& f) {
    const bool noDirection =
        input.state(BUTTON_LEFT) == STATE_UP && input.state(BUTTON_RIGHT) == STATE_UP;
    if (player.vx < 0) {
        player.vx += 55 * f.dt;
        if (noDirection && f.canAct && player.vx >= -20) {
            if (line() != LINE_CROUCHING) select(LINE_STANDING, f);
            player.vx = 0;
        }
    }
    if (player.vx > 0) {
        player.vx -= 55 * f.dt;
        if (noDirection && f.canAct && player.vx <= 20) {
            if (line() != LINE_CROUCHING) select(LINE_STANDING, f);
            player.vx = 0;
        }
    }
}

// A floor catches the feet only within its 16-pixel band, and a long frame (a
// hitch of the system) at the fall cap moves up to 30 pixels. Such a move is
// made in parts of at most 15 pixels, each resolved, until one is stopped; a
// frame of ordinary length moves in one part, exactly as before.
void moveVertically(const Frame& f) {
    constexpr double PART_LIMIT = 15;
    const double distance = player.vy * f.dt;
    const int parts = int(std::ceil(std::fabs(distance) / PART_LIMIT));
    if (parts <= 1) {
        player.y += distance;
        resolvePlayerVertically();
        return;
    }
    for (int i = 0; i < parts; ++i) {
        const double unresolved = player.y + distance / parts;
        player.y = unresolved;
        resolvePlayerVertically();
        if (player.y != unresolved) return; // landed or bumped: the move is spent
    }
}

void move(const Frame& f) {
    player.height = crouchLineShown() ? 16 : 32;
    player.x += player.vx * f.dt;
    resolvePlayerHorizontally();
    moveVertically(f);
    if (player.pendingBounce != 0) {
        player.vy = player.pendingBounce;
        player.pendingBounce = 0;
    }
}

void throwPose(const Frame& f) {
    if (player.throwTime == 0) return;
    if (f.now - player.throwTime >= 250) {
        player.throwTime = 0;
        if (line() == LINE_THROWING || line() == LINE_CROUCH_THROWING) select(LINE_STANDING, f);
        return;
    }
    const bool crouched = (player.crouchJump && player.airborne) || f.crouch;
    select(crouched ? LINE_CROUCH_THROWING : LINE_THROWING, f);
}

void knockBack(const Frame& f) {
    if (player.hurtTime == 0) return;
    if (f.now - player.hurtTime < 500) {
        player.vx = player.facing ? -21 : 21;
        select(LINE_HURT, f);
    } else if (line() == LINE_HURT) {
        select(LINE_STANDING, f);
    }
}

void dyingPose(const Frame& f) {
    player.aiming = 0;
    select(groundProbe(player) != NOTHING_FOUND ? LINE_DYING : LINE_HURT, f);
}

// The goal sequence: the pose once landed (or fallen out of the stage), then
// leaving once the jingle is over. False once the player has left and is no
// longer drawn.
bool goalPose(const Frame& f) {
    player.aiming = 0;
    if (groundProbe(player) == NOTHING_FOUND && !clearedBelowTheStage()) {
        select(LINE_JUMPING, f);
        return true;
    }
    if (!player.animator.finished()) return true;
    if (line() == LINE_LEAVING) return false;
    if (line() != LINE_GOAL_POSE)
        select(LINE_GOAL_POSE, f);
    else if (effectStatus(SE_CLEAR) != EFFECT_PLAYING)
        select(LINE_LEAVING, f);
    return true;
}

void endEntry(const Frame& f) {
    if (world.entryFlag && player.animator.finished()) {
        world.entryFlag = 0;
        select(LINE_STANDING, f);
    }
}

// The aim marker swings between one radian above and below level.
void aimMarker(const Frame& f) {
    if (!player.aiming) return;
    const double a = player.facing ? player.aimAngle : GAME_PI - player.aimAngle;
    if (player.aimShown) {
        const int x = blitCoordinate(player.x - world.cameraX + std::cos(a) * 50);
        const int y = blitCoordinate(player.y - throwHeight() / 2 - 10 + std::sin(a) * 50);
        keyedBlit(x, y, SHEET_BEAM, 0, 16, 15, 31);
    }
    player.aimShown = 1;
    if (held(BUTTON_UP)) player.aimDirection = 0;
    if (held(BUTTON_DOWN)) player.aimDirection = 1;
    player.aimAngle = std::clamp(player.aimAngle, -1.0, 1.0);
    player.aimAngle += player.aimDirection ? 2 * f.dt : -2 * f.dt;
    if (player.aimAngle >= 1) player.aimDirection = 0;
    if (player.aimAngle <= -1) player.aimDirection = 1;
}

} // namespace

void drawPlayer() {
    const FrameRect cell = player.animator.currentFrame();
    const int x = blitCoordinate(player.x - world.cameraX);
    const int y = blitCoordinate(player.y - 32);
    const int sheet = player.facing ? SHEET_PLAYER : SHEET_PLAYER_MIRROR;
    if (player.hurtTime == 0)
        keyedBlit(x, y, sheet, cell.left, cell.top, cell.right, cell.bottom);
    else
        halfBlendBlit(x, y, sheet, cell.left, cell.top, cell.right, cell.bottom, 0);
}

void updatePlayer() {
    const Frame f = takeFrame();
    crouchLine(f);
    steer(f);
    startAiming(f);
    throwSpanner(f);
    if (player.airborne)
        inTheAir(f);
    else
        onTheGround(f);
    limitSpeeds(f);
    friction(f);
    move(f);
    throwPose(f);
    knockBack(f);
    if (world.dyingFlag) dyingPose(f);
    if (world.clearedFlag && !goalPose(f)) return;
    endEntry(f);
    if (!fadeRunning()) player.animator.step(f.now);
    drawPlayer();
    if (player.hurtTime != 0 && f.now - player.hurtTime > 1500) player.hurtTime = 0;
    aimMarker(f);
}
