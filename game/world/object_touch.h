// What touching an object does, by its kind: the hazard test, collecting an
// item, reaching the goal, the spring and the triggered blocks.
#pragma once

#include "world/body.h"
#include "world/map_object.h"

// A hazard kills the player when met by the contact this kind kills by.
void hazardTest(const MapObject& hazard, int contact);
// An item (or the goal) taken by the player.
void collect(MapObject& item);
// The spring under the player's feet.
void fireSpring(const MapObject& spring);
// Whether a block is triggered by this contact, and what it then does.
bool blockTriggered(const MapObject& block, int contact, const Body& actor);
void triggerBlock(MapObject& block, int contact, Body& actor);
