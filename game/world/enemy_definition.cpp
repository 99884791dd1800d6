#include "world/enemy_definition.h"

#include "platform/blit.h"
#include "platform/decimal.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/sheets.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

// What a missing key reads as; the files never hold it as a real value.
constexpr const char* ABSENT = "FUCK!";
// Large enough for a line of MAX_LINE_FRAMES frame numbers (7 + 3 * 126
// characters), so no line is cut short by the read.
constexpr size_t VALUE_BUFFER_SIZE = 1024;

int clampToInt(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int(value);
}

// "%d,%d": a field that cannot be scanned, and every field after it, reads as 0.
struct IntPair {
    int first = 0;
    int second = 0;
};
IntPair scanPair(std::string_view text) {
    IntPair pair;
    const DecimalRead first = readDecimal(text);
    if (!first.matched) return pair;
    pair.first = first.value;
    if (first.end < text.size() && text[first.end] == ',')
        pair.second = readDecimal(text, first.end + 1).value;
    return pair;
}

// The number in the fixed-width field at [from, from + width), cut at the end of the value.
int scanField(std::string_view value, size_t from, size_t width) {
    if (from >= value.size()) return 0;
    return readDecimal(value.substr(from, width)).value;
}

std::string keyOf(int number) {
    char key[16];
    std::snprintf(key, sizeof key, "%.2d", number);
    return key;
}

bool readValue(const ProfileText& file, const char* section, const std::string& key,
               std::string& value) {
    value = file.readString(section, key.c_str(), ABSENT, VALUE_BUFFER_SIZE);
    return value != ABSENT;
}

void resetEnemyState(Enemy& enemy) {
    enemy.animator.clear();
    enemy.active = 0;
    enemy.knockedOut = 0;
    enemy.hitCount = 0;
    enemy.defeatTime = 0;
}

} // namespace

AnimationLine parseAnimationLine(std::string_view value) {
    AnimationLine line;
    line.delay = scanField(value, 0, 4);
    line.loops = value.size() > 5 && value[5] == 'Y';
    for (size_t at = 7; at < value.size() && int(line.frames.size()) < MAX_LINE_FRAMES; at += 3) {
        const int frame = scanField(value, at, 2);
        // A negative number names no frame and -1 would end the line early.
        if (frame >= 0) line.frames.push_back(frame);
        const size_t after = at + 2;
        if (after >= value.size() || value[after] == ';') break;
    }
    return line;
}

std::string enemyDefinitionPath(int kind) {
    char name[32];
    std::snprintf(name, sizeof name, "e%.2d.dat", kind);
    return gameFolder() + "dat/" + name;
}

bool loadEnemyDefinition(Enemy& enemy, int kind, uint32_t now) {
    resetEnemyState(enemy);
    if (kind < 0 || kind > 255) return false;
    enemy.kind = uint8_t(kind);

    // One read of the file serves every key, as reading it afresh per key
    // would give the same values.
    const ProfileText file(enemyDefinitionPath(kind));
    std::string value;
    if (!readValue(file, "GENERAL", "SIZE", value)) return false;
    const IntPair size = scanPair(value);
    enemy.width = size.first;
    enemy.height = size.second;

    if (!readValue(file, "GENERAL", "YASE", value)) return false;
    enemy.inset = readDecimal(value).value;

    Animator& animator = enemy.animator;
    for (int frame = 0; frame < Animator::MAX_FRAMES; ++frame) {
        if (!readValue(file, "PAT", keyOf(frame), value)) break;
        const IntPair corner = scanPair(value);
        animator.addFrame(corner.first, corner.second,
                          clampToInt(int64_t(corner.first) + enemy.width),
                          clampToInt(int64_t(corner.second) + enemy.height));
    }

    for (int n = 0; n < Animator::MAX_LINES; ++n) {
        if (!readValue(file, "LINE", keyOf(n), value)) break;
        const AnimationLine line = parseAnimationLine(value);
        animator.setLine(n, line.delay, line.loops, line.frames.data(), int(line.frames.size()));
    }

    // The reset left no line chosen; choosing line 0 starts its first frame now.
    animator.line = 0;
    animator.position = 1;
    animator.changedAt = now;
    animator.buildMirror(SHEET_ENEMY, SHEET_ENEMY_MIRROR, FLIP_LEFT_RIGHT);
    enemy.active = 1;
    return true;
}
