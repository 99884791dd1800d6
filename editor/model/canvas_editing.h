// What the canvas does to the current stage slot: applying the selected
// operation at a cell, picking what lies under a cell, and the seek buttons'
// view positions. No widgets here, only the stage slot.
#pragma once

#include "enemy_definitions.h"
#include "stage_set.h"

#include <QPoint>

#include <cstdint>
#include <optional>

enum Operation { OPERATION_OBJECT = 0, OPERATION_ENEMY = 1, OPERATION_ERASER = 2 };

// The largest view left at which every cell of the canvas, up to the last at
// 288 - 16, still has a stage x: a stage's numbers are 32-bit.
constexpr int32_t MAX_VIEW_LEFT = INT32_MAX - 272;

// What the object selector holds when the canvas asks.
struct Selection {
    int operation = OPERATION_OBJECT;
    int objectKind = 0;
    int enemyKind = -1;  // -1: the enemy list is empty
    int enemyHeight = 0; // height of the selected enemy's definition
    // Every kind's definition, for the heights of enemies already placed.
    const EnemyDefinitions* definitions = nullptr;
};

enum class ApplyResult {
    Applied,       // the set is to be marked modified, even when a full slot took nothing
    KindNotPlaced, // object kind 0: the warning is due
    NoEnemy,       // the enemy list is empty: nothing to place
    OutOfRange,    // the record's position would leave the 32-bit range: nothing changed
};

// The cell of a pointer position in canvas pixels: each coordinate divided by
// 16 with truncation toward zero, times 16.
QPoint cellOf(QPoint canvasPixel);

// The stage x of a canvas x; nothing where it would leave the 32-bit range.
std::optional<int32_t> stageXAt(int canvasX, int32_t viewLeft);

// The view left after panning by delta pixels: from 0 to MAX_VIEW_LEFT.
int32_t pannedViewLeft(int32_t viewLeft, int delta);

// The operation at canvas cell (cellX, cellY); stageX is cellX + view left.
// New enemies stand on the cell's top plus the selected enemy's height; the
// eraser takes the object at the cell and the enemy the cell shows.
ApplyResult applyOperation(StageSlot& slot, int32_t stageX, int32_t cellY,
                           const Selection& selection);

// The enemy slot a cell shows: an enemy placed from that cell, standing on
// its top plus the enemy's own height, whatever enemy is selected (without
// the definitions, the selected enemy's height stands for every kind);
// NO_RECORD when there is none.
int enemyAtCell(const StageSlot& slot, int32_t stageX, int32_t cellY, const Selection& selection);

// What a right click finds: an object at the cell, else the enemy the cell
// shows, else nothing (the eraser).
struct Pick {
    int operation = OPERATION_ERASER;
    int kind = 0;
};
Pick pickAt(const StageSlot& slot, int32_t stageX, int32_t cellY, const Selection& selection);

// The view left of the seek buttons; nothing for an empty slot.
std::optional<int32_t> seekToEndViewLeft(const StageSlot& slot);
std::optional<int32_t> seekToCenterViewLeft(const StageSlot& slot);
