// The touch operation: whether a map object stops something meeting it, and,
// with interaction, what the meeting does (by the kind's row).
#pragma once

#include "world/body.h"
#include "world/contact.h"
#include "world/map_object.h"

// Whether the object stops the actor meeting it by the contact; with
// interact, the touch may also collect, break, bump or hurt.
bool touch(MapObject& object, Contact contact, Body& actor, bool interact);
