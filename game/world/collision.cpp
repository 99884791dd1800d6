#include "world/collision.h"

#include "world/object_touch.h"
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
