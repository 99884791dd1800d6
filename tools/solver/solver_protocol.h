// What the solver's game processes tell the search, and the moves it tries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Frames held with one move.
constexpr int CHUNK_FRAMES = 8;

struct Move {
    const char* name; // as a replay script writes the buttons
    uint8_t buttons;
};

// Where a game process stands after its last move.
struct Standing {
    double x = 0, y = 0, vx = 0, vy = 0;
    int32_t frame = 0;
    uint8_t airborne = 0;
    uint8_t dead = 0;
    uint8_t goal = 0;
    uint8_t pad = 0;
    uint32_t pathLength = 0; // followed by that many move numbers, one byte each
};

const std::vector<Move>& moves();
// The moves as replay script lines, the first move starting at firstFrame.
std::string scriptText(const std::vector<uint8_t>& path, int firstFrame);
