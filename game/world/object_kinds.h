// The object kinds, one row of OBJECT_KINDS each: how a kind touches what
// meets it, its start values, motion, drawing and how it carries the player.
// The kind is also the object's picture: column kind mod 16, row kind div 16
// of mapobj.bmp.
#pragma once

#include "world/body.h"
#include "world/contact.h"
#include "world/map_object.h"

#include <cstdint>

// clang-format off
enum ObjectKind : uint8_t {
    KIND_REMOVED            = 0,
    KIND_SPIKE_BLOCK        = 2,  // kills on any contact
    KIND_COIN               = 3,
    KIND_SPRING             = 4,
    KIND_HIDDEN_BLOCK       = 5,  // not drawn, not solid until bumped
    KIND_ENEMY_BARRIER      = 6,  // not drawn; enemies turn at it
    KIND_FOUR_SPANNERS      = 7,
    KIND_TWO_SPANNERS       = 8,
    KIND_EXTRA_LIFE         = 9,
    KIND_SPIKES_UP          = 10, // kill when landed on
    KIND_SPIKES_DOWN        = 11, // kill when bumped from below
    KIND_SPIKES_LEFT        = 12, // kill when touched with the player's right side
    KIND_SPIKES_RIGHT       = 13, // kill when touched with the player's left side
    KIND_FALLING_BLOCK      = 14,
    KIND_SMALL_HEAL         = 15,
    KIND_TOGGLE_SOLID       = 17,
    KIND_TOGGLE_OPEN        = 18,
    KIND_SWITCH_WALL_CLOSED = 19,
    KIND_SWITCH_WALL_OPEN   = 20,
    KIND_SWITCH_BLOCK       = 21,
    KIND_CIRCLING_SLOW      = 22, // platforms circling at 0.2 pi and 0.3 pi a second
    KIND_CIRCLING_FAST      = 23,
    KIND_GOAL               = 24,
    KIND_PENDULUM_SHORT     = 26,
    KIND_HAZARD_SIDEWAYS    = 27,
    KIND_HAZARD_UPDOWN      = 28,
    KIND_PENDULUM_LONG      = 29,
    KIND_CIRCLING_BALL      = 30,
    KIND_GAUGE_UP           = 31,
    KIND_COIN_BLOCK         = 33, // releases four coins
    KIND_USED_BLOCK         = 34,
    KIND_BRICK              = 35,
    KIND_FRAGILE_BLOCK      = 36,
    KIND_SPANNER_BLOCK      = 37, // releases four spanners
    KIND_PLATFORM_SIDEWAYS  = 38,
    KIND_PLATFORM_UPDOWN    = 39,
    KIND_HEAL_BLOCK         = 40, // releases a large heal
    KIND_GAUGE_BLOCK        = 41, // releases a gauge up, or a coin once one was taken
    KIND_FALLING_PLATFORM   = 42,
    KIND_ONE_WAY_FLOOR      = 43,
    KIND_BOMB_BLOCK         = 44,
    KIND_CIRCLING_BALL_LONG = 46,
    KIND_LARGE_HEAL         = 47,
    KIND_CANNON_LEFT        = 61,
    KIND_CANNON_RIGHT       = 62,
    KIND_FOUR_COINS         = 63,
};
// clang-format on

// What a touch does with an actor, by the object's kind.
enum TouchGroup : uint8_t {
    GROUP_SOLID,    // stops (scenery, plain solids, and the removed kind 0)
    GROUP_HAZARD,   // may kill the player; solid or not by kind
    GROUP_ITEM,     // collected or reached; never stops
    GROUP_SPRING,   // fires under the player's feet
    GROUP_BLOCK,    // may be triggered
    GROUP_PASSABLE, // never stops
    GROUP_ONE_WAY,  // stops only from above
};

// Whether a hazard stops what meets it.
enum HazardBody : uint8_t {
    HAZARD_SOLID,             // the spikes
    HAZARD_SOLID_UNTIL_DYING, // the spike block
    HAZARD_PASSES,            // the swinging and moving hazards
};

// The chain drawn from the pivot of a swinging or circling kind.
struct Chain {
    uint8_t links = 0;   // 0: none
    bool swings = false; // along the lower half circle, not round the whole
};

struct ObjectKindRow {
    uint8_t kind;
    TouchGroup group = GROUP_SOLID;
    void (*start)(MapObject&) = nullptr; // start values
    void (*motion)(MapObject&, const ObjectKindRow&, double dt) = nullptr;
    double turnRate = 0; // of the moving kinds, in multiples of pi per second
    double reach = 0;    // of the moving kinds, in pixels
    // Hazards: who dies by which contact, and whether the hazard stops.
    bool (*kills)(Contact contact) = nullptr;
    HazardBody body = HAZARD_SOLID;
    // Items and the goal.
    void (*collect)(MapObject&) = nullptr;
    // Blocks: who triggers them, what they then do, and whether they stop.
    bool (*triggeredBy)(Contact contact, const Body& actor) = nullptr;
    void (*trigger)(MapObject&, Contact contact, Body& actor) = nullptr;
    bool passesUntilTriggered = false;
    bool triggeredStopsOnlyHeads = false;
    // Drawing.
    bool drawn = true;
    bool blinks = false; // shows the next cell every other quarter second
    Chain chain = {};
    // Walking enemies turn round at it.
    bool turnsEnemies = false;
    // Standing on it carries the player across, up and down, or both.
    bool carriesAcross = false;
    bool carriesUpDown = false;
};

// The row of a kind; every kind from 64 up is plain solid scenery.
const ObjectKindRow& objectKind(uint8_t kind);

inline TouchGroup touchGroupOf(uint8_t kind) {
    return objectKind(kind).group;
}

// The platforms that carry a player standing on them.
inline bool isMovingPlatform(uint8_t kind) {
    const ObjectKindRow& row = objectKind(kind);
    return row.carriesAcross || row.carriesUpDown;
}
