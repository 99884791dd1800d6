#include "world/object_kinds.h"

#include "core/frame_clock.h"
#include "core/game_pi.h"
#include "core/random.h"
#include "world/object_effects.h"
#include "world/object_motion.h"

#include <iterator>

namespace {

// --- Start values ------------------------------------------------------------

void startPlatform(MapObject& o) {
    o.inset = 0;
    o.phase = GAME_PI;
}

void startSwinging(MapObject& o) {
    o.phase = (drawRandom() % 628) * 0.01;
}

void startCannon(MapObject& o) {
    o.pivotX = gameClock(); // the time of the last shot
    o.phase = 500 + (drawRandom() % 5000);
}

// --- Row makers, one for each way a kind touches --------------------------------

constexpr ObjectKindRow scenery(uint8_t kind) {
    return {.kind = kind};
}

constexpr ObjectKindRow item(uint8_t kind, void (*collect)(MapObject&)) {
    return {.kind = kind, .group = GROUP_ITEM, .collect = collect};
}

constexpr ObjectKindRow block(uint8_t kind, void (*trigger)(MapObject&, Contact, Body&),
                              bool (*triggeredBy)(Contact, const Body&) = anyBumpOrHit) {
    return {.kind = kind, .group = GROUP_BLOCK, .triggeredBy = triggeredBy, .trigger = trigger};
}

constexpr ObjectKindRow spikes(uint8_t kind, bool (*kills)(Contact)) {
    return {.kind = kind, .group = GROUP_HAZARD, .kills = kills};
}

// A ball on a chain: swinging below its pivot or circling round it.
constexpr ObjectKindRow ball(uint8_t kind, void (*motion)(MapObject&, const ObjectKindRow&, double),
                             double turnRate, double reach, Chain chain) {
    return {.kind = kind,
            .group = GROUP_HAZARD,
            .start = startSwinging,
            .motion = motion,
            .turnRate = turnRate,
            .reach = reach,
            .kills = killsOnAnyContact,
            .body = HAZARD_PASSES,
            .chain = chain};
}

constexpr ObjectKindRow platform(uint8_t kind,
                                 void (*motion)(MapObject&, const ObjectKindRow&, double),
                                 double turnRate, double reach, bool across, bool upDown) {
    return {.kind = kind,
            .start = startPlatform,
            .motion = motion,
            .turnRate = turnRate,
            .reach = reach,
            .carriesAcross = across,
            .carriesUpDown = upDown};
}

constexpr ObjectKindRow gun(uint8_t kind) {
    return {.kind = kind, .start = startCannon, .motion = cannon};
}

constexpr Chain SHORT_SWING = {5, true}, LONG_SWING = {8, true};
constexpr Chain SHORT_CIRCLE = {5, false}, LONG_CIRCLE = {8, false};

// clang-format off
constexpr ObjectKindRow OBJECT_KINDS[] = {
    {.kind = KIND_REMOVED, .drawn = false},
    scenery(1),
    {.kind = KIND_SPIKE_BLOCK, .group = GROUP_HAZARD, .kills = killsOnAnyContact,
     .body = HAZARD_SOLID_UNTIL_DYING},
    item(KIND_COIN, collectCoin),
    {.kind = KIND_SPRING, .group = GROUP_SPRING},
    {.kind = KIND_HIDDEN_BLOCK, .group = GROUP_BLOCK, .triggeredBy = headBumpRising,
     .trigger = revealHiddenBlock, .passesUntilTriggered = true, .drawn = false},
    {.kind = KIND_ENEMY_BARRIER, .group = GROUP_PASSABLE, .drawn = false, .turnsEnemies = true},
    item(KIND_FOUR_SPANNERS, collectFourSpanners),
    item(KIND_TWO_SPANNERS, collectTwoSpanners),
    item(KIND_EXTRA_LIFE, collectExtraLife),
    spikes(KIND_SPIKES_UP, killsWhenLandedOn),
    spikes(KIND_SPIKES_DOWN, killsWhenBumped),
    spikes(KIND_SPIKES_LEFT, killsTheRightSide),
    spikes(KIND_SPIKES_RIGHT, killsTheLeftSide),
    {.kind = KIND_FALLING_BLOCK, .motion = fallingBlock},
    item(KIND_SMALL_HEAL, collectSmallHeal),
    scenery(16),
    block(KIND_TOGGLE_SOLID, toggleBlock, headBumpRising),
    {.kind = KIND_TOGGLE_OPEN, .group = GROUP_BLOCK, .triggeredBy = headBumpRising,
     .trigger = toggleBlock, .passesUntilTriggered = true},
    scenery(KIND_SWITCH_WALL_CLOSED),
    {.kind = KIND_SWITCH_WALL_OPEN, .group = GROUP_PASSABLE},
    block(KIND_SWITCH_BLOCK, flipSwitchWalls),
    platform(KIND_CIRCLING_SLOW,     circlingPlatform, 0.2, 64, true, true),
    platform(KIND_CIRCLING_FAST,     circlingPlatform, 0.3, 64, true, true),
    {.kind = KIND_GOAL, .group = GROUP_ITEM, .collect = reachGoal, .blinks = true},
    scenery(25),
    ball(KIND_PENDULUM_SHORT, pendulum, 0.5, 32, SHORT_SWING),
    {.kind = KIND_HAZARD_SIDEWAYS, .group = GROUP_HAZARD, .start = startSwinging,
     .motion = sideways, .turnRate = 0.2, .reach = 104, .kills = killsOnAnyContact,
     .body = HAZARD_PASSES},
    {.kind = KIND_HAZARD_UPDOWN, .group = GROUP_HAZARD, .start = startSwinging,
     .motion = upAndDown, .turnRate = 0.2, .reach = 104, .kills = killsOnAnyContact,
     .body = HAZARD_PASSES},
    ball(KIND_PENDULUM_LONG, pendulum, 0.5, 64, LONG_SWING),
    ball(KIND_CIRCLING_BALL, circlingBall, 0.35, 32, SHORT_CIRCLE),
    item(KIND_GAUGE_UP, collectGaugeUp),
    scenery(32),
    block(KIND_COIN_BLOCK, releaseFourCoins),
    scenery(KIND_USED_BLOCK),
    block(KIND_BRICK, breakBrick),
    {.kind = KIND_FRAGILE_BLOCK, .group = GROUP_BLOCK, .triggeredBy = playerOrHit,
     .trigger = breakFragileBlock, .passesUntilTriggered = true,
     .triggeredStopsOnlyHeads = true},
    block(KIND_SPANNER_BLOCK, releaseFourSpanners),
    platform(KIND_PLATFORM_SIDEWAYS, sideways,  0.2, 104, true, false),
    platform(KIND_PLATFORM_UPDOWN,   upAndDown, 0.2, 104, false, true),
    block(KIND_HEAL_BLOCK, releaseLargeHeal),
    block(KIND_GAUGE_BLOCK, releaseGaugeUp),
    {.kind = KIND_FALLING_PLATFORM, .motion = fallingPlatform, .carriesUpDown = true},
    {.kind = KIND_ONE_WAY_FLOOR, .group = GROUP_ONE_WAY},
    block(KIND_BOMB_BLOCK, explodeBombBlock),
    scenery(45),
    ball(KIND_CIRCLING_BALL_LONG, circlingBall, 0.35, 64, LONG_CIRCLE),
    item(KIND_LARGE_HEAL, collectLargeHeal),
    scenery(48), scenery(49), scenery(50), scenery(51), scenery(52), scenery(53), scenery(54),
    scenery(55), scenery(56), scenery(57), scenery(58), scenery(59), scenery(60),
    gun(KIND_CANNON_LEFT),
    gun(KIND_CANNON_RIGHT),
    item(KIND_FOUR_COINS, collectFourCoins),
};
// clang-format on

// Every kind from here up is plain scenery.
constexpr int SCENERY_FROM = 64;
constexpr ObjectKindRow PLAIN_SCENERY = scenery(SCENERY_FROM);

constexpr bool everyKindInItsRow() {
    if (std::size(OBJECT_KINDS) != SCENERY_FROM) return false;
    for (int i = 0; i < SCENERY_FROM; ++i)
        if (OBJECT_KINDS[i].kind != i) return false;
    return true;
}
static_assert(everyKindInItsRow(), "one row per kind below 64, in the order of the kinds");

} // namespace

const ObjectKindRow& objectKind(uint8_t kind) {
    return kind < SCENERY_FROM ? OBJECT_KINDS[kind] : PLAIN_SCENERY;
}

MapObject makeMapObject(double x, double y) {
    MapObject object;
    object.x = x;
    object.y = y;
    object.width = 16;
    object.height = 16;
    object.inset = 2;
    return object;
}

void assignKind(MapObject& object, uint8_t kind) {
    object.kind = kind;
    object.pivotX = object.x;
    object.pivotY = object.y;
    object.vx = 0;
    object.vy = 0;
    object.phase = 0;
    if (const auto start = objectKind(kind).start) start(object);
}
