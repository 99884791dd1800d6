// What the player's stomps and touches and the spanners do to an enemy.
#include "world/enemy.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/sound.h"
#include "world/effects.h"
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

void hurt(Enemy& e) {
    hurtPlayer(e.kind);
}

// A resting shell touched other than by a stomp slides away from the player.
void kick(Enemy& e, int contact) {
    playEffect(SE_PEKO);
    setEnemyKind(e, ENEMY_SLIDING_SHELL);
    if (contact != CONTACT_PROJECTILE)
        e.x = player.x < e.x ? player.x + player.width + 1 : player.x - e.width - 1;
    e.vx = player.x < e.x ? 150 : -150;
}

// One chance in four of spanners, three in sixteen of a small heal.
void drop(const Enemy& e) {
    const int r1 = drawRandom();
    uint8_t item = 0;
    if (r1 % 4 != 0) {
        if (drawRandom() % 4 == 0) item = KIND_SMALL_HEAL;
    } else {
        item = e.kind == ENEMY_JUMPER_FAST ? KIND_FOUR_SPANNERS : KIND_TWO_SPANNERS;
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

// --- Contacts by kind: the stomp, the spanner's hit, and any other touch ---

void stompWalker(Enemy& e) {
    setEnemyKind(e, ENEMY_RESTING_SHELL);
    bounceOff(e);
}
void hitWalker(Enemy& e, int) {
    setEnemyKind(e, ENEMY_RESTING_SHELL);
}

void stompRestingShell(Enemy& e) {
    setEnemyKind(e, ENEMY_WALKER);
    bounceOff(e);
}
void kickRestingShell(Enemy& e, int contact) {
    kick(e, contact);
}

void stompSlidingShell(Enemy& e) {
    setEnemyKind(e, ENEMY_RESTING_SHELL);
    bounceOff(e);
}
void hitSlidingShell(Enemy& e, int) {
    setEnemyKind(e, ENEMY_RESTING_SHELL);
}

// The flyers lose their wings.
void groundFlyer(Enemy& e, int kind) {
    award(80, e);
    e.vy = 0;
    setEnemyKind(e, kind);
}
void stompHeavyFlyer(Enemy& e) {
    award(80, e);
    e.vy = 0;
    stompBounce();
    setEnemyKind(e, ENEMY_WALKER_HEAVY);
}
void hitHeavyFlyer(Enemy& e, int) {
    groundFlyer(e, ENEMY_WALKER_HEAVY);
}
void stompFlyer(Enemy& e) {
    award(80, e);
    e.vy = 0;
    stompBounce();
    setEnemyKind(e, ENEMY_WALKER);
}
void hitFlyer(Enemy& e, int) {
    groundFlyer(e, ENEMY_WALKER);
}

void stompCannonShot(Enemy& e) {
    stompBounce();
    e.vx = 0;
    knockOut(e);
}
void hitCannonShot(Enemy& e, int) {
    e.hitCount += 1;
    if (e.hitCount < 3) return;
    e.active = 0;
    burstApart(e);
}

void stompFlattens(Enemy& e) {
    drop(e);
    stompBounce();
    award(e.kind == ENEMY_JUMPER || e.kind == ENEMY_JUMPER_FAST ? 200 : 80, e);
    e.vx = 0;
    e.vy = 0;
    e.defeatTime = gameClock();
}
void hitKnocksOut(Enemy& e, int) {
    drop(e);
    knockOut(e);
}

struct ContactRow {
    void (*stomp)(Enemy&);
    void (*hit)(Enemy&, int contact);
    void (*other)(Enemy&, int contact);
};

void hurtBy(Enemy& e, int) {
    hurt(e);
}
void stompHurts(Enemy& e) {
    hurt(e);
}
void nothing(Enemy&, int) {}

// clang-format off
constexpr ContactRow CONTACTS[] = {
    {stompWalker,       hitWalker,       hurtBy},           // 0
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 1
    {stompRestingShell, kickRestingShell, kickRestingShell}, // 2
    {stompSlidingShell, hitSlidingShell, hurtBy},           // 3
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 4
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 5
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 6
    {stompHeavyFlyer,   hitHeavyFlyer,   hurtBy},           // 7
    {stompFlyer,        hitFlyer,        hurtBy},           // 8
    {stompCannonShot,   hitCannonShot,   hurtBy},           // 9
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 10
    {stompHurts,        nothing,         hurtBy},           // 11
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 12
    {stompFlattens,     hitKnocksOut,    hurtBy},           // 13
};
// clang-format on

} // namespace

bool enemyContact(Enemy& e, int contact) {
    if (!e.touchable() || worldFrozen()) return false;
    if (e.kind >= std::size(CONTACTS)) return true;
    const ContactRow& row = CONTACTS[e.kind];
    const bool thrownShot = e.kind == ENEMY_THROWN_SHOT;
    if (contact == CONTACT_FEET && player.vy > 0)
        row.stomp(e);
    else if (contact == CONTACT_PROJECTILE)
        row.hit(e, contact);
    else
        row.other(e, contact);
    // The thrown shots pass through spanners and never count as met.
    return !thrownShot;
}
