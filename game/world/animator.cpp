#include "world/animator.h"

#include "platform/blit.h"
#include "platform/display.h"
#include "platform/sheets.h"

void Animator::clear() {
    frameCount = 0;
    for (auto& line : lines)
        for (auto& entry : line)
            entry = -1;
    for (auto& flag : loopFlags)
        flag = 1;
    line = 0;
    position = 1;
    changedAt = 0;
}

void Animator::addFrame(int left, int top, int right, int bottom) {
    if (frameCount >= MAX_FRAMES) return;
    frames[frameCount++] = {left, top, right, bottom};
}

void Animator::setLine(int n, int delay, bool loops, const int* frameNumbers, int count) {
    if (n < 0 || n >= MAX_LINES) return;
    lines[n][0] = int16_t(delay);
    loopFlags[n] = loops ? 1 : 0;
    for (int i = 0; i < count && i < LINE_ENTRIES - 2; ++i)
        lines[n][i + 1] = int16_t(frameNumbers[i]);
}

void Animator::selectLine(int n, uint32_t now) {
    if (n == line || n < 0 || n >= MAX_LINES) return;
    line = uint8_t(n);
    position = 1;
    changedAt = now;
}

void Animator::step(uint32_t now) {
    if (now - changedAt < uint32_t(int32_t(lines[line][0]))) return;
    ++position;
    changedAt = now;
    if (position >= LINE_ENTRIES || lines[line][position] == -1) {
        if (loopFlags[line])
            position = 1;
        else
            --position;
    }
}

bool Animator::finished() const {
    return position + 1 >= LINE_ENTRIES || lines[line][position + 1] == -1;
}

FrameRect Animator::currentFrame() const {
    const int n = lines[line][position];
    if (n < 0 || n >= frameCount) return {};
    return frames[n];
}

void Animator::buildMirror(int fromSheet, int toSheet, int mode) const {
    setDrawingTarget(toSheet);
    for (int i = 0; i < frameCount && i < 255; ++i) {
        const FrameRect& f = frames[i];
        flippedCellCopy(f.left, f.top, fromSheet, f.left, f.top, f.right, f.bottom, mode, -1);
    }
    resetDrawingTarget();
}
