// Frames and animation lines of the player, enemies, projectiles and effects.
#pragma once

#include <cstdint>

struct FrameRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Animator {
    static constexpr int MAX_FRAMES = 128;
    static constexpr int MAX_LINES = 16;
    static constexpr int LINE_ENTRIES = 128; // entry 0 is the delay, then frame numbers, -1 ends

    FrameRect frames[MAX_FRAMES];
    uint8_t frameCount = 0;
    int16_t lines[MAX_LINES][LINE_ENTRIES];
    uint8_t loopFlags[MAX_LINES];
    uint8_t line = 0;
    uint8_t position = 1;
    uint32_t changedAt = 0;

    Animator() { clear(); }

    // No frames, every line empty and looping, line 0 at its first entry.
    void clear();
    void addFrame(int left, int top, int right, int bottom);
    // Sets a line's delay, loop flag and frame numbers.
    void setLine(int n, int delay, bool loops, const int* frameNumbers, int count);

    void selectLine(int n, uint32_t now);
    void step(uint32_t now);
    bool finished() const;
    // The current frame's rectangle; an empty one when the line names no frame.
    FrameRect currentFrame() const;
    // Copies every frame from one sheet to the same place on another, flipped.
    void buildMirror(int fromSheet, int toSheet, int mode) const;
};
