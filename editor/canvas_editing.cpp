#include "canvas_editing.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t CELL_SIZE = 16;
constexpr int32_t NO_OBJECT_X = -9999;
// The rightmost object's cell ends at the canvas's right edge: 288 - 16.
constexpr int32_t END_OFFSET = 272;

ApplyResult placeObject(StageSlot& slot, int32_t x, int32_t y, const Selection& s) {
    if (s.objectKind == 0) return ApplyResult::KindNotPlaced;
    slot.placeObject(x, y, uint8_t(s.objectKind));
    return ApplyResult::Applied;
}

ApplyResult placeEnemy(StageSlot& slot, int32_t x, int32_t y, const Selection& s) {
    if (s.enemyKind < 0) return ApplyResult::NoEnemy;
    slot.placeEnemy(x, y + s.enemyHeight, uint8_t(s.enemyKind));
    return ApplyResult::Applied;
}

ApplyResult erase(StageSlot& slot, int32_t x, int32_t y, const Selection& s) {
    slot.eraseObject(x, y);
    slot.eraseEnemy(x, y + s.enemyHeight);
    return ApplyResult::Applied;
}

using ApplyFunction = ApplyResult (*)(StageSlot&, int32_t, int32_t, const Selection&);
// Indexed by Operation.
constexpr std::array<ApplyFunction, 3> APPLY = {placeObject, placeEnemy, erase};

// The rightmost object's x, from -9999. A slot with enemies only goes by its
// enemies, so that the seek buttons still find its stage.
int32_t rightmostX(const StageSlot& slot) {
    int32_t right = NO_OBJECT_X;
    bool anyObject = false;
    for (const PlacedRecord& r : slot.objects)
        if (r.inUse) right = std::max(right, r.x), anyObject = true;
    if (!anyObject)
        for (const PlacedRecord& r : slot.enemies)
            if (r.inUse) right = std::max(right, r.x);
    return right;
}

} // namespace

QPoint cellOf(QPoint canvasPixel) {
    return {canvasPixel.x() / CELL_SIZE * CELL_SIZE, canvasPixel.y() / CELL_SIZE * CELL_SIZE};
}

ApplyResult applyOperation(StageSlot& slot, int32_t stageX, int32_t cellY,
                           const Selection& selection) {
    if (selection.operation < 0 || selection.operation >= int(APPLY.size()))
        return ApplyResult::NoEnemy;
    return APPLY[size_t(selection.operation)](slot, stageX, cellY, selection);
}

Pick pickAt(const StageSlot& slot, int32_t stageX, int32_t cellY, int enemyHeight) {
    if (const int found = slot.findObject(stageX, cellY); found != NO_RECORD)
        return {OPERATION_OBJECT, slot.objects[size_t(found)].kind};
    if (const int found = slot.findEnemy(stageX, cellY + enemyHeight); found != NO_RECORD)
        return {OPERATION_ENEMY, slot.enemies[size_t(found)].kind};
    return {};
}

// A view left below 0 would let the canvas put records at negative x, which
// the file cannot keep; the seeks stop at 0 as panning does.
std::optional<int32_t> seekToEndViewLeft(const StageSlot& slot) {
    if (slot.empty()) return std::nullopt;
    return std::max(0, rightmostX(slot) - END_OFFSET);
}

std::optional<int32_t> seekToCenterViewLeft(const StageSlot& slot) {
    if (slot.empty()) return std::nullopt;
    int32_t v = (rightmostX(slot) - END_OFFSET) / 2;
    v -= v % CELL_SIZE;
    return std::max(0, v);
}
