// How this run plays, chosen once by the boot scene from the command line.
#pragma once

#include <cstdint>

enum PlayMode { PLAY_NORMAL = 0, PLAY_DEBUG = 1, PLAY_TEST = 2 };

extern int playMode;
// On while the player may not die (debug and test play, turned over with Q).
extern uint8_t withoutDyingSwitch;
// The start x of a test play.
extern int testPlayStartX;

void resetPlayState();
