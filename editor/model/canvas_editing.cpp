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

// An enemy stands on the cell's top plus its picture's height, which a
// definition file may make as large as it likes.
std::optional<int32_t> enemyY(int32_t cellY, int enemyHeight) {
    const int64_t y = int64_t(cellY) + enemyHeight;
    if (y < INT32_MIN || y > INT32_MAX) return std::nullopt;
    return int32_t(y);
}

ApplyResult placeEnemy(StageSlot& slot, int32_t x, int32_t y, const Selection& s) {
    if (s.enemyKind < 0) return ApplyResult::NoEnemy;
    const std::optional<int32_t> standing = enemyY(y, s.enemyHeight);
    if (!standing) return ApplyResult::OutOfRange;
    slot.placeEnemy(x, *standing, uint8_t(s.enemyKind));
    return ApplyResult::Applied;
}

ApplyResult erase(StageSlot& slot, int32_t x, int32_t y, const Selection& s) {
    slot.eraseObject(x, y);
    if (const int found = enemyAtCell(slot, x, y, s); found != NO_RECORD)
        slot.enemies[size_t(found)] = PlacedRecord{};
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

std::optional<int32_t> stageXAt(int canvasX, int32_t viewLeft) {
    const int64_t x = int64_t(canvasX) + viewLeft;
    if (x < INT32_MIN || x > INT32_MAX) return std::nullopt;
    return int32_t(x);
}

int32_t pannedViewLeft(int32_t viewLeft, int delta) {
    return int32_t(std::clamp<int64_t>(int64_t(viewLeft) + delta, 0, MAX_VIEW_LEFT));
}

ApplyResult applyOperation(StageSlot& slot, int32_t stageX, int32_t cellY,
                           const Selection& selection) {
    if (selection.operation < 0 || selection.operation >= int(APPLY.size()))
        return ApplyResult::NoEnemy;
    return APPLY[size_t(selection.operation)](slot, stageX, cellY, selection);
}

int enemyAtCell(const StageSlot& slot, int32_t stageX, int32_t cellY, const Selection& s) {
    for (size_t i = 0; i < slot.enemies.size(); ++i) {
        const PlacedRecord& r = slot.enemies[i];
        const int height = s.definitions ? s.definitions->of(r.kind).height : s.enemyHeight;
        if (r.inUse && r.x == stageX && int64_t(r.y) - height == cellY) return int(i);
    }
    return NO_RECORD;
}

Pick pickAt(const StageSlot& slot, int32_t stageX, int32_t cellY, const Selection& selection) {
    if (const int found = slot.findObject(stageX, cellY); found != NO_RECORD)
        return {OPERATION_OBJECT, slot.objects[size_t(found)].kind};
    if (const int found = enemyAtCell(slot, stageX, cellY, selection); found != NO_RECORD)
        return {OPERATION_ENEMY, slot.enemies[size_t(found)].kind};
    return {};
}

// A view left below 0 would let the canvas put records at negative x, which
// the file cannot keep; the seeks stop at 0 as panning does. The rightmost x
// is at most INT32_MAX, so neither view left passes MAX_VIEW_LEFT.
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
