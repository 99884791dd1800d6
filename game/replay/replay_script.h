// Input scripts for replays: which buttons are held in which frames.
//
// One line per span of frames, counted from 0 at the first frame of play:
//
//     # a comment; blank lines are ignored
//     0-59    RIGHT         frames 0 to 59, both included
//     60-75   RIGHT B
//     76      A             a single frame
//     100-120               nothing held (the same as leaving the frames out)
//
// The buttons are the game's: UP DOWN LEFT RIGHT PAUSE A B C (A throws, B
// jumps, C dashes), in any letter case. Spans may overlap; a frame holds
// every button its spans name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplaySpan {
    int first = 0;
    int last = 0;        // included
    uint8_t buttons = 0; // bit n: button index n (input.h)
};

struct ReplayScript {
    std::vector<ReplaySpan> spans;

    // The buttons held in a frame.
    uint8_t buttonsAt(int frame) const;
    // The last frame any span names; -1 for an empty script.
    int lastFrame() const;
};

// Parses a script; on a mistake returns false with "line N: what" in error.
bool parseReplayScript(const std::string& text, ReplayScript& script, std::string& error);
