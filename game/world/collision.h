// The collision probes that every moving thing uses to find the map object
// or enemy at its feet, head or sides.
#pragma once

#include "world/body.h"
#include "world/enemy.h"
#include "world/map_object.h"

constexpr int NOTHING_FOUND = -1;

// The first map object (its index in the object list) that passes, skipping
// removed and emerging objects; NOTHING_FOUND when none does.
int groundProbe(Body& actor);  // under the feet, and stops them
int ceilingProbe(Body& actor); // at the head, and stops it
int rightProbe(Body& actor);   // at the right edge, solid or not
int leftProbe(Body& actor);    // at the left edge, solid or not

// The first other touchable enemy (its index in the enemy list) at the
// enemy's right or left edge.
int enemyRightProbe(const Enemy& actor);
int enemyLeftProbe(const Enemy& actor);

// Whether an object takes part in probes and touches.
inline bool probeable(const MapObject& object) {
    return object.kind != 0 && object.emergeOffset <= 0;
}
