// One map object: a 16 by 16 block, item or piece of machinery of the stage.
#pragma once

#include "world/body.h"

#include <cstdint>

struct MapObject : Body {
    int32_t spare = 0;
    uint8_t kind = 0;        // 0: removed, skipped by drawing, probes and updates
    double emergeOffset = 0; // pixels still inside the block it comes out of
    double phase = 0;        // an angle in radians, or a time or delay in milliseconds
    double pivotX = 0;       // centre or origin of the movement
    double pivotY = 0;
};

// A new object with its bottom-left corner at (x, y), 16 by 16 with inset 2,
// not yet given a kind.
MapObject makeMapObject(double x, double y);

// Gives the object a kind: keeps its position as the pivot, zeroes its
// velocity and phase, then applies the kind's own start values.
void assignKind(MapObject& object, uint8_t kind);
