// The per-frame motion of the moving and timed map objects, by kind, and
// their drawing.
#pragma once

#include "world/map_object.h"

void updateObject(MapObject& object);

// Removed objects and the invisible kinds (the hidden block, the enemy
// barrier) are never drawn.
bool objectDrawn(const MapObject& object);

// Draws the object's cell (and the chain of a swinging kind), after its
// emerge offset has moved on by the frame.
void drawObject(MapObject& object);
