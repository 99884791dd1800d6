// Enemy definition files "dat/eNN.dat": size, collision inset, frame
// rectangles in enemy.bmp and animation lines of one enemy kind.
#pragma once

#include "world/enemy.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Most frame numbers one animation line keeps: the animator's line holds the
// delay, the frame numbers and at least one end marker.
constexpr int MAX_LINE_FRAMES = Animator::LINE_ENTRIES - 2; // 126

// One LINE value such as "0100,Y,00,01,02;": delay in milliseconds from
// characters 0..3, loop flag from character 5 ('Y' loops), then two-character
// frame numbers from character 7, each followed by ';' (the end) or one
// separator. Reading stops at the end of the value even without ';'.
struct AnimationLine {
    int delay = 0;
    bool loops = false;
    std::vector<int> frames;
};
AnimationLine parseAnimationLine(std::string_view value);

// "dat/e00.dat" .. "dat/e99.dat", "dat/e100.dat" .. "dat/e255.dat" under the game folder.
std::string enemyDefinitionPath(int kind);

// Reads the definition of the kind into the enemy, whose x and y are already
// set: resets its animator and state fields (active, knocked out, hit count,
// defeat time), sets its kind, reads SIZE, YASE, PAT "00".. and LINE
// "00".."15", chooses line 0 as of the game clock time now, mirrors every
// frame from sheet 3 into sheet 5 (left-right) and marks it active. Returns
// false, leaving it inactive with whatever was read so far, when SIZE or YASE
// is missing (a missing file counts as both) or the kind is outside 0..255.
// Start values that depend on the kind (facing, speed, ...) are the caller's.
bool loadEnemyDefinition(Enemy& enemy, int kind, uint32_t now = 0);
