// The per-frame motions of the moving and timed kinds, named in their rows of
// the kinds table. A motion reads its turn rate and reach from the row.
#pragma once

#include "world/object_kinds.h"

void fallingBlock(MapObject& o, const ObjectKindRow& row, double dt);
void circlingPlatform(MapObject& o, const ObjectKindRow& row, double dt);
void pendulum(MapObject& o, const ObjectKindRow& row, double dt);
void sideways(MapObject& o, const ObjectKindRow& row, double dt);
void upAndDown(MapObject& o, const ObjectKindRow& row, double dt);
void circlingBall(MapObject& o, const ObjectKindRow& row, double dt);
void fallingPlatform(MapObject& o, const ObjectKindRow& row, double dt);
void cannon(MapObject& o, const ObjectKindRow& row, double dt);
