// Frame time, game clock and frame rate.
#pragma once

#include <cstdint>

// Seconds the previous pass took, at most 0.1; every scene and the world move by it.
extern double frameTime;
// Passes counted in the last completed second.
extern int frameRate;

// The game clock in milliseconds, stopped in the confirmation scene and during the pause.
uint32_t gameClock();
void advanceGameClock(double milliseconds);
void resetFrameClock(uint32_t passStart);

// Frame-loop step 3 to 5: measures this pass from its start and keeps the rate count.
void measurePass(uint32_t passStart);
