#include "world/object_effects.h"

#include "platform/input.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

#include <cmath>

namespace {

bool bHeld() {
    return input.state(BUTTON_B) == STATE_HELD;
}

// Four pieces flying up and apart from a broken block.
void debrisOf(const MapObject& block) {
    // clang-format off
    const struct { double dx, dy, vx, vy; } pieces[] = {
        {5, -5, -30, -150}, {11, -5, 30, -150}, {5, -11, -20, -100}, {11, -11, 20, -100},
    };
    // clang-format on
    for (const auto& piece : pieces)
        spawnEffect(block.x + piece.dx, block.y + piece.dy, piece.vx, piece.vy, EFFECT_DEBRIS);
}

} // namespace

// --- Items ----------------------------------------------------------------

void collectCoin(MapObject&) {
    playEffect(SE_COIN);
    player.coins += 1;
}

void collectFourCoins(MapObject& item) {
    playEffect(SE_COIN);
    playEffect(SE_REC);
    award(400, item);
    player.coins += 4;
}

void collectFourSpanners(MapObject& item) {
    playEffect(SE_SPANNER);
    player.spanners += 4;
    award(80, item);
}

void collectTwoSpanners(MapObject& item) {
    playEffect(SE_SPANNER);
    player.spanners += 2;
    award(40, item);
}

void collectExtraLife(MapObject& item) {
    playEffect(SE_1UP);
    player.lives += 1;
    award(EXTRA_LIFE_POP_UP, item);
}

void collectSmallHeal(MapObject& item) {
    playEffect(SE_REC);
    player.damage -= 2;
    award(40, item);
}

void collectLargeHeal(MapObject& item) {
    playEffect(SE_REC);
    player.damage -= 4;
    award(70, item);
}

void collectGaugeUp(MapObject& item) {
    playEffect(SE_REC);
    playEffect(SE_GOAL);
    world.itemTakenFlag = 1;
    player.gaugeSize += 4;
    award(1000, item);
}

void reachGoal(MapObject&) {
    playEffect(SE_GOAL);
    playEffect(SE_CLEAR);
    player.vx = 0;
    player.vy = player.vy < 0 ? player.vy / 2 : 0;
    stopAndFreeMusic();
    world.clearedFlag = 1;
}

// --- Blocks ---------------------------------------------------------------

void revealHiddenBlock(MapObject& block, Contact, Body&) {
    playEffect(SE_SWAPBLK2);
    block.kind = KIND_USED_BLOCK;
}

void toggleBlock(MapObject& block, Contact, Body&) {
    playEffect(SE_SWAPBLK2);
    block.kind = block.kind == KIND_TOGGLE_SOLID ? KIND_TOGGLE_OPEN : KIND_TOGGLE_SOLID;
}

void flipSwitchWalls(MapObject&, Contact, Body&) {
    playEffect(SE_SWAPBLK);
    for (MapObject& o : world.objects) {
        if (o.kind == KIND_SWITCH_WALL_OPEN)
            o.kind = KIND_SWITCH_WALL_CLOSED;
        else if (o.kind == KIND_SWITCH_WALL_CLOSED)
            o.kind = KIND_SWITCH_WALL_OPEN;
    }
}

namespace {

// The item comes out of the cell above over 0.4 s and is added at the end of the frame.
void releaseItem(MapObject& block, uint8_t item) {
    playEffect(SE_OUT);
    MapObject released = makeMapObject(block.x, block.y - 16);
    assignKind(released, item);
    released.emergeOffset = 16;
    world.pendingObjects.push_back(released);
    block.kind = KIND_USED_BLOCK;
}

} // namespace

void releaseFourCoins(MapObject& block, Contact, Body&) {
    releaseItem(block, KIND_FOUR_COINS);
}

void releaseFourSpanners(MapObject& block, Contact, Body&) {
    releaseItem(block, KIND_FOUR_SPANNERS);
}

void releaseLargeHeal(MapObject& block, Contact, Body&) {
    releaseItem(block, KIND_LARGE_HEAL);
}

void releaseGaugeUp(MapObject& block, Contact, Body&) {
    releaseItem(block, world.itemTakenFlag ? KIND_COIN : KIND_GAUGE_UP);
}

void breakBrick(MapObject& block, Contact, Body&) {
    playEffect(SE_BREAK);
    debrisOf(block);
    player.score += 50;
    block.kind = KIND_REMOVED;
}

void breakFragileBlock(MapObject& block, Contact contact, Body& actor) {
    playEffect(SE_BREAK);
    if (contact == CONTACT_FEET && actor.vy > 0) {
        actor.vy = -190 - 0.175 * std::fabs(actor.vy);
        if (bHeld()) actor.vy -= 100;
    }
    debrisOf(block);
    player.score += 50;
    block.kind = KIND_REMOVED;
}

void explodeBombBlock(MapObject& block, Contact, Body&) {
    const int slot =
        spawnProjectile(block.x + 4, block.y + 4, -1.5707963267948966, PROJECTILE_BOMB);
    if (slot >= 0) burstProjectile(world.projectiles[size_t(slot)]);
    debrisOf(block);
    block.kind = KIND_REMOVED;
}

// --- Who triggers a block --------------------------------------------------

bool headBumpRising(Contact contact, const Body&) {
    return contact == CONTACT_HEAD && player.vy < 0;
}

namespace {

bool hitByThrowOrShell(Contact contact) {
    return contact == CONTACT_PROJECTILE || contact == CONTACT_SHELL;
}

} // namespace

bool anyBumpOrHit(Contact contact, const Body& actor) {
    return headBumpRising(contact, actor) || hitByThrowOrShell(contact);
}

bool playerOrHit(Contact contact, const Body& actor) {
    return &actor == &player || hitByThrowOrShell(contact);
}

// --- The spring and the hazards -----------------------------------------------

void fireSpring(const MapObject& spring) {
    playEffect(SE_JUMPDAI);
    player.vy = bHeld() ? -350 : -250;
    player.y = spring.y - 16;
}

bool killsOnAnyContact(Contact) {
    return true;
}

bool killsWhenLandedOn(Contact contact) {
    return contact == CONTACT_FEET && player.vy > 0;
}

bool killsWhenBumped(Contact contact) {
    return contact == CONTACT_HEAD && player.vy < 0;
}

bool killsTheRightSide(Contact contact) {
    return contact == CONTACT_RIGHT;
}

bool killsTheLeftSide(Contact contact) {
    return contact == CONTACT_LEFT;
}
