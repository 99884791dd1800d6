#include "stage_set.h"

#include <memory>

namespace {

template <size_t N>
int findRecord(const std::array<PlacedRecord, N>& records, int32_t x, int32_t y) {
    for (size_t i = 0; i < N; ++i)
        if (records[i].inUse && records[i].x == x && records[i].y == y) return int(i);
    return NO_RECORD;
}

template <size_t N>
bool placeRecord(std::array<PlacedRecord, N>& records, int32_t x, int32_t y, uint8_t kind) {
    const int found = findRecord(records, x, y);
    if (found != NO_RECORD) {
        records[size_t(found)].kind = kind;
        return true;
    }
    for (PlacedRecord& record : records) {
        if (record.inUse) continue;
        record = {x, y, kind, true};
        return true;
    }
    return false;
}

template <size_t N> void eraseRecord(std::array<PlacedRecord, N>& records, int32_t x, int32_t y) {
    const int found = findRecord(records, x, y);
    if (found != NO_RECORD) records[size_t(found)] = PlacedRecord{};
}

bool staysInRange(int32_t value, int32_t delta) {
    const int64_t moved = int64_t(value) + delta;
    return moved >= INT32_MIN && moved <= INT32_MAX;
}

template <size_t N>
bool allCanMove(const std::array<PlacedRecord, N>& records, int32_t dx, int32_t dy) {
    for (const PlacedRecord& r : records)
        if (r.inUse && (!staysInRange(r.x, dx) || !staysInRange(r.y, dy))) return false;
    return true;
}

} // namespace

bool StageSlot::empty() const {
    for (const PlacedRecord& r : objects)
        if (r.inUse) return false;
    for (const PlacedRecord& r : enemies)
        if (r.inUse) return false;
    return true;
}

void StageSlot::clear() {
    background = 0;
    musicName = "def.mid";
    objects.fill(PlacedRecord{});
    enemies.fill(PlacedRecord{});
}

int StageSlot::findObject(int32_t x, int32_t y) const {
    return findRecord(objects, x, y);
}

int StageSlot::findEnemy(int32_t x, int32_t y) const {
    return findRecord(enemies, x, y);
}

bool StageSlot::placeObject(int32_t x, int32_t y, uint8_t kind) {
    return placeRecord(objects, x, y, kind);
}

bool StageSlot::placeEnemy(int32_t x, int32_t y, uint8_t kind) {
    return placeRecord(enemies, x, y, kind);
}

void StageSlot::eraseObject(int32_t x, int32_t y) {
    eraseRecord(objects, x, y);
}

void StageSlot::eraseEnemy(int32_t x, int32_t y) {
    eraseRecord(enemies, x, y);
}

bool StageSlot::moveBy(int32_t dx, int32_t dy) {
    if (!allCanMove(objects, dx, dy) || !allCanMove(enemies, dx, dy)) return false;
    for (PlacedRecord& r : objects)
        if (r.inUse) r.x += dx, r.y += dy;
    for (PlacedRecord& r : enemies)
        if (r.inUse) r.x += dx, r.y += dy;
    return true;
}

void StageSet::reset() {
    viewLeft = 0;
    currentSlot = 0;
    startingLives = 4;
    difficulty = 0;
    clearMessage = "Congratulations!";
    comment = "(No comment)";
    author = "(Unknown)";
    for (StageSlot& slot : stageSlots)
        slot.clear();
    fileTexts = FileTexts{};
}

QString FileTexts::read(int field, const QByteArray& bytes) {
    Read& kept = fields[size_t(field)];
    kept = {true, bytes, fromCp932(bytes)};
    collectCp932Forms(bytes, forms);
    return kept.text;
}

QByteArray FileTexts::bytesFor(int field, const QString& text) const {
    const Read& kept = fields[size_t(field)];
    if (kept.read && kept.text == text) return kept.bytes;
    // A line break would split the file's line.
    QByteArray bytes = toCp932(text, forms);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

QString slotLabel(const StageSet& set, int slot) {
    QString label = QString("%1 - %2").arg(slot / 4 + 1).arg(slot % 4 + 1);
    if (!set.stageSlots[size_t(slot)].empty()) label += "*";
    return label;
}
