// The stage set being edited: the file's header values and its 36 stage
// slots, each with fixed tables of object and enemy records. One stage set
// lives for the whole run and every window edits it.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

constexpr int STAGE_SLOTS = 36;
constexpr int OBJECT_SLOTS = 1024;
constexpr int ENEMY_SLOTS = 64;
constexpr int NO_RECORD = -1;

struct PlacedRecord {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t kind = 0;
    bool inUse = false;

    bool operator==(const PlacedRecord&) const = default;
};

struct StageSlot {
    uint8_t background = 0; // 0 day, 1 night
    QString musicName = "def.mid";
    std::array<PlacedRecord, OBJECT_SLOTS> objects{};
    std::array<PlacedRecord, ENEMY_SLOTS> enemies{};

    bool empty() const;
    // Background 0, music "def.mid", every record freed.
    void clear();

    // The record at exactly (x, y); NO_RECORD when there is none.
    int findObject(int32_t x, int32_t y) const;
    int findEnemy(int32_t x, int32_t y) const;
    // A record at the position has its kind replaced; otherwise the lowest
    // free slot takes it. False when every slot is in use.
    bool placeObject(int32_t x, int32_t y, uint8_t kind);
    bool placeEnemy(int32_t x, int32_t y, uint8_t kind);
    void eraseObject(int32_t x, int32_t y);
    void eraseEnemy(int32_t x, int32_t y);
    // Every record in use moves; none is bounded by the stage. A move that
    // would take any record past the 32-bit range moves none of them (false),
    // so that the stage keeps its shape.
    bool moveBy(int32_t dx, int32_t dy);
};

struct StageSet {
    int32_t viewLeft = 0;
    uint8_t currentSlot = 0;
    uint8_t startingLives = 4;
    uint8_t difficulty = 0;
    QString clearMessage = "Congratulations!";
    QString comment = "(No comment)";
    QString author = "(Unknown)";
    std::array<StageSlot, STAGE_SLOTS> stageSlots;

    // Every value to its default, every slot cleared.
    void reset();
    StageSlot& current() { return stageSlots[currentSlot]; }
    const StageSlot& current() const { return stageSlots[currentSlot]; }
};

// "1 - 1" to "9 - 4", with "*" after a slot that holds something.
QString slotLabel(const StageSet& set, int slot);

// The stage set of this run.
StageSet& stageSet();
