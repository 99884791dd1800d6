#include "world/collision.h"

#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"

namespace {

// The horizontal overlap of the probes that stand or bump on an object.
bool overlapsAcross(const Body& a, const MapObject& o) {
    return a.x + a.width - a.inset > o.x && a.x + a.inset < o.x + 16;
}

// The vertical overlap of the side probes.
bool overlapsUpDown(const Body& a, const MapObject& o) {
    return o.y - 15 < a.y && o.y > a.y - a.height;
}

template <typename Test> int firstObject(Body& actor, Test test) {
    for (size_t i = 0; i < world.objects.size(); ++i) {
        MapObject& o = world.objects[i];
        if (!probeable(o) || static_cast<const Body*>(&o) == &actor) continue;
        if (test(o)) return int(i);
    }
    return NOTHING_FOUND;
}

// The enemies' own vertical overlap, which leaves a pixel at the top.
bool enemiesOverlapUpDown(const Enemy& a, const Enemy& e) {
    return e.y - e.height + 1 < a.y && a.y - a.height < e.y;
}

template <typename Test> int firstEnemy(const Enemy& actor, Test test) {
    for (size_t i = 0; i < world.enemies.size(); ++i) {
        const Enemy& e = world.enemies[i];
        if (&e == &actor || !e.touchable()) continue;
        if (test(e)) return int(i);
    }
    return NOTHING_FOUND;
}

bool isContactOf(int contact, int a, int b) {
    return contact == a || contact == b;
}

bool touchHazard(MapObject& o, int contact, Body& actor, bool interact) {
    if (&actor == &player && player.hurtTime != 0) return true;
    if (isContactOf(contact, CONTACT_PROJECTILE, CONTACT_SHELL)) return true;
    if (interact) hazardTest(o, contact);
    const bool swinging = o.kind >= KIND_PENDULUM_SHORT && o.kind <= KIND_CIRCLING_BALL;
    const bool moving = swinging || o.kind == KIND_CIRCLING_BALL_LONG;
    if (world.dyingFlag && (o.kind == KIND_SPIKE_BLOCK || moving)) return false;
    return !moving;
}

bool touchItem(MapObject& o, int contact, bool interact) {
    if (interact && !isContactOf(contact, CONTACT_PROJECTILE, CONTACT_SHELL)) collect(o);
    return false;
}

bool touchSpring(MapObject& o, int contact, bool interact) {
    if (isContactOf(contact, CONTACT_PROJECTILE, CONTACT_SHELL)) return true;
    if (interact && contact == CONTACT_FEET && player.vy >= 0 && !world.dyingFlag) {
        fireSpring(o);
        return false;
    }
    return !(contact == CONTACT_FEET && !world.dyingFlag);
}

bool touchBlock(MapObject& o, int contact, Body& actor, bool interact) {
    const uint8_t kind = o.kind;
    if (!interact || !blockTriggered(o, contact, actor))
        return !(kind == KIND_HIDDEN_BLOCK || kind == KIND_TOGGLE_OPEN ||
                 kind == KIND_FRAGILE_BLOCK);
    triggerBlock(o, contact, actor);
    return kind != KIND_FRAGILE_BLOCK || contact == CONTACT_HEAD;
}

bool touchOneWay(int contact, const Body& actor) {
    return isContactOf(contact, CONTACT_FEET, CONTACT_PROJECTILE) && actor.vy >= 0;
}

} // namespace

int groundProbe(Body& a) {
    return firstObject(a, [&a](MapObject& o) {
        return o.y - 16 <= a.y && a.y <= o.y && overlapsAcross(a, o) &&
               touch(o, CONTACT_FEET, a, false);
    });
}

int ceilingProbe(Body& a) {
    return firstObject(a, [&a](MapObject& o) {
        const double top = a.y - a.height;
        return o.y - 16 <= top && top <= o.y && overlapsAcross(a, o) &&
               touch(o, CONTACT_HEAD, a, false);
    });
}

int rightProbe(Body& a) {
    return firstObject(a, [&a](const MapObject& o) {
        const double edge = a.x + a.width - a.inset;
        return o.x <= edge && edge <= o.x + 16 && overlapsUpDown(a, o);
    });
}

int leftProbe(Body& a) {
    return firstObject(a, [&a](const MapObject& o) {
        const double edge = a.x + a.inset;
        return o.x <= edge && edge <= o.x + 16 && overlapsUpDown(a, o);
    });
}

int enemyRightProbe(const Enemy& a) {
    return firstEnemy(a, [&a](const Enemy& e) {
        const double edge = a.x + a.width - a.inset;
        return e.x + e.inset <= edge && edge <= e.x + e.width - e.inset &&
               enemiesOverlapUpDown(a, e);
    });
}

int enemyLeftProbe(const Enemy& a) {
    return firstEnemy(a, [&a](const Enemy& e) {
        const double edge = a.x + a.inset;
        return e.x + e.inset <= edge && edge <= e.x + e.width - e.inset &&
               enemiesOverlapUpDown(a, e);
    });
}

bool touch(MapObject& object, int contact, Body& actor, bool interact) {
    if (worldFrozen()) interact = false;
    switch (touchGroupOf(object.kind)) {
    case GROUP_HAZARD:
        return touchHazard(object, contact, actor, interact);
    case GROUP_ITEM:
        return touchItem(object, contact, interact);
    case GROUP_SPRING:
        return touchSpring(object, contact, interact);
    case GROUP_BLOCK:
        return touchBlock(object, contact, actor, interact);
    case GROUP_PASSABLE:
        return false;
    case GROUP_ONE_WAY:
        return touchOneWay(contact, actor);
    case GROUP_SOLID:
        return true;
    }
    return true;
}
