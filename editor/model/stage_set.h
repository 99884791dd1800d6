// The stage set being edited: the file's header values and its 36 stage
// slots, each with fixed tables of object and enemy records. One stage set
// lives for the whole run and every window edits it.
#pragma once

#include "cp932.h"
#include "formats/stage_file_limits.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

constexpr int STAGE_SLOTS = STAGE_FILE_STAGES;
constexpr int OBJECT_SLOTS = STAGE_FILE_OBJECTS;
constexpr int ENEMY_SLOTS = STAGE_FILE_ENEMIES;
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

// The texts of the file last read as the file held them, so that saving
// writes a text that was not changed back byte for byte, whatever its bytes
// (codes CP932 has twice, bytes that are no character), and a changed text
// keeps the file's code for each character the file had.
struct FileTexts {
    struct Read {
        bool read = false;
        QByteArray bytes;
        QString text; // what bytes read as
    };
    // The comment, the author, the clear message, then each slot's music.
    enum Field { COMMENT, AUTHOR, CLEAR_MESSAGE, FIRST_MUSIC };
    static constexpr int FIELDS = FIRST_MUSIC + STAGE_SLOTS;

    std::array<Read, FIELDS> fields;
    Cp932Forms forms;

    // Takes a line of the file as field's text.
    QString read(int field, const QByteArray& bytes);
    // The bytes to write for the field holding text.
    QByteArray bytesFor(int field, const QString& text) const;
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
    FileTexts fileTexts;

    // Every value to its default, every slot cleared.
    void reset();
    StageSlot& current() { return stageSlots[currentSlot]; }
    const StageSlot& current() const { return stageSlots[currentSlot]; }
};

// "1 - 1" to "9 - 4", with "*" after a slot that holds something.
QString slotLabel(const StageSet& set, int slot);
