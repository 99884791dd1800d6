#include "core/frame_clock.h"

double frameTime = 0.0;
int frameRate = 0;

namespace {
double gameClockMilliseconds = 0.0;
uint32_t previousPassStart = 0;
int passCounter = 0;
double secondAccumulator = 0.0;
} // namespace

uint32_t gameClock() {
    return uint32_t(uint64_t(gameClockMilliseconds));
}

void advanceGameClock(double milliseconds) {
    gameClockMilliseconds += milliseconds;
}

void resetFrameClock(uint32_t passStart) {
    frameTime = 0.0;
    frameRate = 0;
    gameClockMilliseconds = 0.0;
    previousPassStart = passStart;
    passCounter = 0;
    secondAccumulator = 0.0;
}

void measurePass(uint32_t passStart) {
    frameTime = double(uint32_t(passStart - previousPassStart)) / 1000.0;
    previousPassStart = passStart;
    ++passCounter;
    secondAccumulator -= frameTime; // the rate counts real time, unclamped
    if (secondAccumulator < 0.0) {
        secondAccumulator += 1.0;
        frameRate = passCounter;
        passCounter = 0;
    }
    if (frameTime > 0.1) frameTime = 0.1;
}
