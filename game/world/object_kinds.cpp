#include "world/object_kinds.h"

#include "core/frame_clock.h"
#include "core/random.h"
#include "world/map_object.h"

#include <array>

namespace {

struct GroupRow {
    TouchGroup group;
    std::initializer_list<uint8_t> kinds;
};

// clang-format off
const GroupRow GROUP_TABLE[] = {
    {GROUP_HAZARD,   {2, 10, 11, 12, 13, 26, 27, 28, 29, 30, 46}},
    {GROUP_ITEM,     {3, 7, 8, 9, 15, 24, 31, 47, 63}},
    {GROUP_SPRING,   {4}},
    {GROUP_BLOCK,    {5, 17, 18, 21, 33, 35, 36, 37, 40, 41, 44}},
    {GROUP_PASSABLE, {6, 20}},
    {GROUP_ONE_WAY,  {43}},
};
// clang-format on

// Every kind not in the table stops everything.
const std::array<TouchGroup, 256>& groupsByKind() {
    static const std::array<TouchGroup, 256> groups = [] {
        std::array<TouchGroup, 256> table;
        table.fill(GROUP_SOLID);
        for (const GroupRow& row : GROUP_TABLE)
            for (uint8_t kind : row.kinds)
                table[kind] = row.group;
        return table;
    }();
    return groups;
}

void startPlatform(MapObject& o) {
    o.inset = 0;
    o.phase = OBJECT_PI;
}

void startSwinging(MapObject& o) {
    o.phase = (drawRandom() % 628) * 0.01;
}

void startCannon(MapObject& o) {
    o.pivotX = gameClock(); // the time of the last shot
    o.phase = 500 + (drawRandom() % 5000);
}

using StartValues = void (*)(MapObject&);

// clang-format off
const struct {
    std::initializer_list<uint8_t> kinds;
    StartValues start;
} START_TABLE[] = {
    {{KIND_CIRCLING_SLOW, KIND_CIRCLING_FAST, KIND_PLATFORM_SIDEWAYS, KIND_PLATFORM_UPDOWN},
     startPlatform},
    {{KIND_PENDULUM_SHORT, KIND_HAZARD_SIDEWAYS, KIND_HAZARD_UPDOWN, KIND_PENDULUM_LONG,
      KIND_CIRCLING_BALL, KIND_CIRCLING_BALL_LONG},
     startSwinging},
    {{KIND_CANNON_LEFT, KIND_CANNON_RIGHT}, startCannon},
};
// clang-format on

StartValues startValuesOf(uint8_t kind) {
    for (const auto& row : START_TABLE)
        for (uint8_t k : row.kinds)
            if (k == kind) return row.start;
    return nullptr;
}

} // namespace

TouchGroup touchGroupOf(uint8_t kind) {
    return groupsByKind()[kind];
}

MapObject makeMapObject(double x, double y) {
    MapObject object;
    object.x = x;
    object.y = y;
    object.width = 16;
    object.height = 16;
    object.inset = 2;
    return object;
}

void assignKind(MapObject& object, uint8_t kind) {
    object.kind = kind;
    object.pivotX = object.x;
    object.pivotY = object.y;
    object.vx = 0;
    object.vy = 0;
    object.phase = 0;
    if (StartValues start = startValuesOf(kind)) start(object);
}
