#include "core/play_state.h"

int playMode = PLAY_NORMAL;
uint8_t withoutDyingSwitch = 0;
int testPlayStartX = 0;

void resetPlayState() {
    playMode = PLAY_NORMAL;
    withoutDyingSwitch = 0;
    testPlayStartX = 0;
}
