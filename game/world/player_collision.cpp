#include "world/player_collision.h"

#include "world/collision.h"
#include "world/enemy.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"

namespace {

// A player stopped sideways keeps a little speed in the direction it had.
void slowAgainstWall() {
    if (player.vx > 0) player.vx = 10;
    if (player.vx < 0) player.vx = -10;
}

bool besideVertically(const MapObject& o) {
    return o.y - 15 < player.y && o.y > player.y - player.height;
}

bool overlapsAcross(const MapObject& o) {
    const int i = player.inset;
    return player.x + player.width - i > o.x && player.x + i < o.x + 16;
}

// Whether the player, where it stands now, overlaps an object other than the
// pusher that would stop it meeting that object by the contact.
bool wedgedInto(const MapObject& pusher, Contact contact) {
    for (MapObject& o : world.objects) {
        if (&o == &pusher || !probeable(o)) continue;
        if (overlapsAcross(o) && besideVertically(o) && touch(o, contact, player, false))
            return true;
    }
    return false;
}

// A moving platform that shoves the player into something solid crushes it,
// rather than leaving it inside the ground, where the side pushes of the
// ground's own cells would carry it off through the floor.
void crushedOrPushed(const MapObject& pusher, double& coordinate, double pushed, Contact contact) {
    const double before = coordinate;
    coordinate = pushed;
    if (!isMovingPlatform(pusher.kind) || !wedgedInto(pusher, contact)) return;
    coordinate = before;
    killPlayer();
}

void keepInsideTheStage() {
    bool stopped = false;
    if (player.x < 0) {
        player.x = 0;
        stopped = true;
    }
    if (player.x + player.width > world.stageRightEdge) {
        player.x = world.stageRightEdge - player.width;
        stopped = true;
    }
    if (stopped) slowAgainstWall();
}

void objectsAtTheSides() {
    const int i = player.inset;
    for (MapObject& o : world.objects) {
        if (!probeable(o)) continue;
        const double right = player.x + player.width - i;
        if (right > o.x && right < o.x + 16 && besideVertically(o) &&
            touch(o, CONTACT_RIGHT, player, true) && o.kind != 0) {
            crushedOrPushed(o, player.x, o.x - player.width + i, CONTACT_LEFT);
            slowAgainstWall();
        }
        const double left = player.x + i;
        if (o.x + 16 > left && o.x < left && besideVertically(o) &&
            touch(o, CONTACT_LEFT, player, true) && o.kind != 0) {
            crushedOrPushed(o, player.x, o.x + 16 - i, CONTACT_RIGHT);
            slowAgainstWall();
        }
    }
}

void enemiesAtTheSides() {
    const int i = player.inset;
    for (Enemy& e : world.enemies) {
        if (!e.touchable()) continue;
        const double right = player.x + player.width - i;
        if (right > e.x && right < e.x + e.width && player.y - 1 > e.y &&
            player.y - player.height + 1 <= e.y - e.height)
            enemyContact(e, CONTACT_RIGHT);
        if (!e.touchable()) continue;
        const double left = player.x + i;
        if (e.x + e.width > left && e.x < left && e.y < player.y - 1 &&
            e.y - e.height >= player.y - player.height + 1)
            enemyContact(e, CONTACT_LEFT);
    }
}

void objectsAboveAndBelow() {
    for (size_t n = 0; n < world.objects.size(); ++n) {
        MapObject& o = world.objects[n];
        if (!probeable(o)) continue;
        if (o.y - 16 < player.y && player.y < o.y && overlapsAcross(o) &&
            touch(o, CONTACT_FEET, player, true)) {
            player.y = o.y - 16;
            if (player.vy >= 0) player.groundObject = int(n);
        }
        const double top = player.y - player.height;
        if (o.y > top && o.y - 16 < top && overlapsAcross(o) &&
            touch(o, CONTACT_HEAD, player, true)) {
            player.vy = 0;
            crushedOrPushed(o, player.y, o.y + player.height + 1, CONTACT_FEET);
        }
    }
}

void enemiesAboveAndBelow() {
    const int i = player.inset;
    for (Enemy& e : world.enemies) {
        if (!e.touchable()) continue;
        const bool across = player.x + player.width - i > e.x && player.x + i < e.x + e.width;
        if (player.y - 1 >= e.y - e.height && player.y - 1 <= e.y && across)
            enemyContact(e, CONTACT_FEET);
        if (!e.touchable()) continue;
        const double top = player.y - player.height + 1;
        if (e.y > top && e.y - e.height < top && across) enemyContact(e, CONTACT_HEAD);
    }
}

} // namespace

void resolvePlayerHorizontally() {
    keepInsideTheStage();
    objectsAtTheSides();
    if (!world.dyingFlag) enemiesAtTheSides();
}

void resolvePlayerVertically() {
    objectsAboveAndBelow();
    if (!world.dyingFlag) enemiesAboveAndBelow();
}
