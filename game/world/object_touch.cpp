#include "world/object_touch.h"

#include "world/object_effects.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

namespace {

bool isContactOf(Contact contact, Contact a, Contact b) {
    return contact == a || contact == b;
}

bool thrownOrShell(Contact contact) {
    return isContactOf(contact, CONTACT_PROJECTILE, CONTACT_SHELL);
}

bool touchHazard(const ObjectKindRow& row, Contact contact, Body& actor, bool interact) {
    if (&actor == &player && player.hurtTime != 0) return true;
    if (thrownOrShell(contact)) return true;
    if (interact && row.kills(contact)) killPlayer();
    switch (row.body) {
    case HAZARD_SOLID:
        return true;
    case HAZARD_SOLID_UNTIL_DYING:
        return !world.dyingFlag;
    case HAZARD_PASSES:
        return false;
    }
    return true;
}

bool touchItem(MapObject& o, const ObjectKindRow& row, Contact contact, bool interact) {
    if (interact && !thrownOrShell(contact)) {
        row.collect(o);
        o.kind = KIND_REMOVED;
    }
    return false;
}

bool touchSpring(MapObject& o, Contact contact, bool interact) {
    if (thrownOrShell(contact)) return true;
    if (interact && contact == CONTACT_FEET && player.vy >= 0 && !world.dyingFlag) {
        fireSpring(o);
        return false;
    }
    return !(contact == CONTACT_FEET && !world.dyingFlag);
}

bool touchBlock(MapObject& o, const ObjectKindRow& row, Contact contact, Body& actor,
                bool interact) {
    if (!interact || !row.triggeredBy(contact, actor)) return !row.passesUntilTriggered;
    row.trigger(o, contact, actor);
    return !row.triggeredStopsOnlyHeads || contact == CONTACT_HEAD;
}

bool touchOneWay(Contact contact, const Body& actor) {
    return isContactOf(contact, CONTACT_FEET, CONTACT_PROJECTILE) && actor.vy >= 0;
}

} // namespace

bool touch(MapObject& object, Contact contact, Body& actor, bool interact) {
    if (worldFrozen()) interact = false;
    const ObjectKindRow& row = objectKind(object.kind);
    switch (row.group) {
    case GROUP_HAZARD:
        return touchHazard(row, contact, actor, interact);
    case GROUP_ITEM:
        return touchItem(object, row, contact, interact);
    case GROUP_SPRING:
        return touchSpring(object, contact, interact);
    case GROUP_BLOCK:
        return touchBlock(object, row, contact, actor, interact);
    case GROUP_PASSABLE:
        return false;
    case GROUP_ONE_WAY:
        return touchOneWay(contact, actor);
    case GROUP_SOLID:
        return true;
    }
    return true;
}
