// The enemy kinds, one row of ENEMY_KINDS each: start speed, behaviour, what a
// stomp, a spanner's hit and any other touch do, and how it moves and leaves.
#pragma once

#include "world/enemy.h"
#include "world/object_kinds.h"

#include <cstdint>

struct EnemyKindRow;
using EnemyContact = void (*)(Enemy&, const EnemyKindRow&, Contact contact);

struct EnemyKindRow {
    uint8_t kind;
    double startSpeed = -20;
    void (*start)(Enemy&, uint32_t now) = nullptr; // further start values
    void (*behaviour)(Enemy&) = nullptr;
    // A stomp (the player's feet coming down), a spanner's hit, any other touch.
    EnemyContact stomp = nullptr;
    EnemyContact hit = nullptr;
    EnemyContact other = nullptr;
    uint8_t turnsInto = 0;               // the kind a stomp or a hit makes of it, where it changes
    int stompPoints = 80;                // when a stomp flattens it
    uint8_t dropped = KIND_TWO_SPANNERS; // the spanners it may leave (or four)
    bool countsAsMet = true;             // false: spanners pass through it
    bool gravity = true;
    bool walksOffEdges = true;
    bool shot = false; // walkers do not turn at it, shells do not knock it out,
                       // and it leaves once off the stage's right or bottom
    bool othersTurnAtIt = true;
    bool alwaysActive = false; // moves however far from the screen, never leaves at the left
};

// The row of a kind; kinds above the last row walk like kind 0 and shrug off
// every contact.
const EnemyKindRow& enemyKind(uint8_t kind);
