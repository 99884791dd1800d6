// A message that blinks every half second of game clock, starting hidden.
#pragma once

#include <cstdint>

struct Blink {
    uint8_t on = 0;
    bool started = false;
    uint32_t toggledAt = 0;

    // Advances the blink and tells whether the message shows this frame.
    bool update();
};
