// What the player's stomps and touches and the spanners do to an enemy.
#include "world/enemy_contacts.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/sound.h"
#include "world/effects.h"
#include "world/enemy_kinds.h"
#include "world/map_object.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

namespace {

// The player lands on top of the enemy it stomped.
void bounceOff(const Enemy& e) {
    stompBounce();
    player.y = e.y - e.height;
}

// A resting shell touched other than by a stomp slides away from the player.
void kick(Enemy& e, Contact contact) {
    playEffect(SE_PEKO);
    setEnemyKind(e, ENEMY_SLIDING_SHELL);
    if (contact != CONTACT_PROJECTILE)
        e.x = player.x < e.x ? player.x + player.width + 1 : player.x - e.width - 1;
    e.vx = player.x < e.x ? 150 : -150;
}

// One chance in four of spanners, three in sixteen of a small heal.
void drop(const Enemy& e, const EnemyKindRow& row) {
    const int r1 = drawRandom();
    uint8_t item = 0;
    if (r1 % 4 != 0) {
        if (drawRandom() % 4 == 0) item = KIND_SMALL_HEAL;
    } else {
        item = row.dropped;
    }
    if (item == 0) return;
    MapObject dropped = makeMapObject(e.x, e.y);
    assignKind(dropped, item);
    dropped.emergeOffset = 16;
    world.objects.push_back(dropped);
}

// Six explosions over the enemy, one after another within half a second.
void burstApart(const Enemy& e) {
    for (int i = 0; i < 6; ++i) {
        const int rx = drawRandom(), ry = drawRandom();
        const int delay = i == 0 ? 0 : drawRandom() % (100 * i);
        spawnEffect(e.x - 8 + (rx % 48), e.y - e.height - 8 + (ry % 48), 0, 0, EFFECT_EXPLOSION,
                    SE_BREAK, delay);
    }
}

} // namespace

// --- Contacts, named in the kinds' rows ------------------------------------------

void stompInto(Enemy& e, const EnemyKindRow& row, Contact) {
    setEnemyKind(e, row.turnsInto);
    bounceOff(e);
}

void hitInto(Enemy& e, const EnemyKindRow& row, Contact) {
    setEnemyKind(e, row.turnsInto);
}

void kickShell(Enemy& e, const EnemyKindRow&, Contact contact) {
    kick(e, contact);
}

// The flyers lose their wings, for 80 points; stomped, the player bounces.
void stompOffWings(Enemy& e, const EnemyKindRow& row, Contact) {
    award(80, e);
    e.vy = 0;
    stompBounce();
    setEnemyKind(e, row.turnsInto);
}

void hitOffWings(Enemy& e, const EnemyKindRow& row, Contact) {
    award(80, e);
    e.vy = 0;
    setEnemyKind(e, row.turnsInto);
}

void stompKnocksOut(Enemy& e, const EnemyKindRow&, Contact) {
    stompBounce();
    e.vx = 0;
    knockOut(e);
}

// Breaks apart at the third hit.
void hitBreaksApartAtThree(Enemy& e, const EnemyKindRow&, Contact) {
    e.hitCount += 1;
    if (e.hitCount < 3) return;
    e.active = 0;
    burstApart(e);
}

void stompFlattens(Enemy& e, const EnemyKindRow& row, Contact) {
    drop(e, row);
    stompBounce();
    award(row.stompPoints, e);
    e.vx = 0;
    e.vy = 0;
    e.defeatTime = gameClock();
}

void hitKnocksOut(Enemy& e, const EnemyKindRow& row, Contact) {
    drop(e, row);
    knockOut(e);
}

void hurtsThePlayer(Enemy& e, const EnemyKindRow&, Contact) {
    hurtPlayer(e.kind);
}

void shrugsOff(Enemy&, const EnemyKindRow&, Contact) {}

bool enemyContact(Enemy& e, Contact contact) {
    if (!e.touchable() || worldFrozen()) return false;
    const EnemyKindRow& row = enemyKind(e.kind);
    if (contact == CONTACT_FEET && player.vy > 0)
        row.stomp(e, row, contact);
    else if (contact == CONTACT_PROJECTILE)
        row.hit(e, row, contact);
    else
        row.other(e, row, contact);
    return row.countsAsMet;
}
