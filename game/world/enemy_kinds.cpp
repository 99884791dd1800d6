#include "world/enemy_kinds.h"

#include "world/enemy_behaviours.h"
#include "world/enemy_contacts.h"
#include "world/object_kinds.h"

#include <iterator>

namespace {

// A walker stomped into a shell or turned into one by a spanner.
constexpr EnemyKindRow shelled(uint8_t kind, double speed) {
    return {.kind = kind,
            .startSpeed = speed,
            .behaviour = walker,
            .stomp = stompInto,
            .hit = hitInto,
            .other = hurtsThePlayer,
            .turnsInto = ENEMY_RESTING_SHELL};
}

// Flattened by a stomp, knocked out by a spanner.
constexpr EnemyKindRow flattened(uint8_t kind, double speed, void (*behaviour)(Enemy&),
                                 int stompPoints = 80) {
    return {.kind = kind,
            .startSpeed = speed,
            .behaviour = behaviour,
            .stomp = stompFlattens,
            .hit = hitKnocksOut,
            .other = hurtsThePlayer,
            .stompPoints = stompPoints};
}

// Flies level until a stomp or a spanner takes its wings.
constexpr EnemyKindRow winged(uint8_t kind, uint8_t wingless) {
    return {.kind = kind,
            .startSpeed = -40,
            .behaviour = walker,
            .stomp = stompOffWings,
            .hit = hitOffWings,
            .other = hurtsThePlayer,
            .turnsInto = wingless,
            .gravity = false};
}

// clang-format off
constexpr EnemyKindRow ENEMY_KINDS[] = {
    shelled(ENEMY_WALKER, -20),
    flattened(ENEMY_WALKER_HEAVY, -20, walker),
    {.kind = ENEMY_RESTING_SHELL, .startSpeed = 0, .behaviour = restingShell,
     .stomp = stompInto, .hit = kickShell, .other = kickShell, .turnsInto = ENEMY_WALKER},
    {.kind = ENEMY_SLIDING_SHELL, .startSpeed = -150, .behaviour = slidingShell,
     .stomp = stompInto, .hit = hitInto, .other = hurtsThePlayer,
     .turnsInto = ENEMY_RESTING_SHELL, .othersTurnAtIt = false},
    flattened(ENEMY_WALKER_FAST, -40, walker),
    flattened(ENEMY_JUMPER, -50, jumper, 200),
    {.kind = ENEMY_JUMPER_FAST, .startSpeed = -100, .behaviour = jumper,
     .stomp = stompFlattens, .hit = hitKnocksOut, .other = hurtsThePlayer, .stompPoints = 200,
     .dropped = KIND_FOUR_SPANNERS},
    winged(ENEMY_FLYER_HEAVY, ENEMY_WALKER_HEAVY),
    winged(ENEMY_FLYER, ENEMY_WALKER),
    {.kind = ENEMY_CANNON_SHOT, .startSpeed = -150, .behaviour = keepsItsSpeed,
     .stomp = stompKnocksOut, .hit = hitBreaksApartAtThree, .other = hurtsThePlayer,
     .gravity = false, .shot = true, .othersTurnAtIt = false},
    flattened(ENEMY_CHASER, -50, chaser),
    {.kind = ENEMY_THROWN_SHOT, .behaviour = thrownShot,
     .stomp = hurtsThePlayer, .hit = shrugsOff, .other = hurtsThePlayer, .countsAsMet = false,
     .gravity = false, .walksOffEdges = false, .shot = true, .othersTurnAtIt = false},
    {.kind = ENEMY_THROWER, .start = startThrowing, .behaviour = thrower,
     .stomp = stompFlattens, .hit = hitKnocksOut, .other = hurtsThePlayer},
    {.kind = ENEMY_HOMING_FLYER, .behaviour = homingFlyer,
     .stomp = stompFlattens, .hit = hitKnocksOut, .other = hurtsThePlayer,
     .gravity = false, .alwaysActive = true},
};
// clang-format on

constexpr EnemyKindRow UNKNOWN_KIND = {
    .kind = std::size(ENEMY_KINDS),
    .behaviour = walker,
    .stomp = shrugsOff,
    .hit = shrugsOff,
    .other = shrugsOff,
};

constexpr bool everyKindInItsRow() {
    for (size_t i = 0; i < std::size(ENEMY_KINDS); ++i)
        if (ENEMY_KINDS[i].kind != i) return false;
    return std::size(ENEMY_KINDS) == ENEMY_HOMING_FLYER + 1;
}
static_assert(everyKindInItsRow(), "one row per enemy kind, in the order of the kinds");

} // namespace

const EnemyKindRow& enemyKind(uint8_t kind) {
    return kind < std::size(ENEMY_KINDS) ? ENEMY_KINDS[kind] : UNKNOWN_KIND;
}
